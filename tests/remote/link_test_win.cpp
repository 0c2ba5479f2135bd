// The stand-in rapi.dll against a real agent on loopback: each call's effect on the handheld,
// pairing, broken and quiet links, and hostile input.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "remote/net/socket_win.h"
#include "remote/protocol/link_numbers.h"
#include "remote/protocol/wire.h"
#include "remote/rapi/rapi_api_win.h"
#include "tests/remote/agent_fixture_win.h"

namespace glimmora::remote::testing {
namespace {

using namespace glimmora::rapi;

const std::string kSecret = "f00dfacecafe0123456789abcdef0042";

// The fifteen calls the desktop uses, looked up by name as the desktop does, plus the extras.
struct Api {
    UniqueModule module;
    PfnCeRapiInitEx InitEx = nullptr;
    PfnCeRapiUninit Uninit = nullptr;
    PfnCeCreateFile CreateFile = nullptr;
    PfnCeWriteFile WriteFile = nullptr;
    PfnCeCloseHandle CloseHandle = nullptr;
    PfnCeCreateDirectory CreateDirectory = nullptr;
    PfnCeDeleteFile DeleteFile = nullptr;
    PfnCeRegOpenKeyEx RegOpenKeyEx = nullptr;
    PfnCeRegSetValueEx RegSetValueEx = nullptr;
    PfnCeRegQueryValueEx RegQueryValueEx = nullptr;
    PfnCeRegCloseKey RegCloseKey = nullptr;
    PfnCeGetSpecialFolderPath GetSpecialFolderPath = nullptr;
    PfnCeGetTempPath GetTempPath = nullptr;
    PfnCeGetSystemMetrics GetSystemMetrics = nullptr;
    PfnCeCreateProcess CreateProcess = nullptr;
    PfnCeRapiGetError RapiGetError = nullptr;

    bool Load() {
        module.reset(
            ::LoadLibraryA("rapi.dll"));  // beside the test program, as beside the desktop's
        if (!module) return false;
        auto get = [&](auto& fn, const char* name) {
            fn = LookUp<std::remove_reference_t<decltype(fn)>>(module.get(), name);
            return fn != nullptr;
        };
        return get(InitEx, "CeRapiInitEx") && get(Uninit, "CeRapiUninit") &&
               get(CreateFile, "CeCreateFile") && get(WriteFile, "CeWriteFile") &&
               get(CloseHandle, "CeCloseHandle") && get(CreateDirectory, "CeCreateDirectory") &&
               get(DeleteFile, "CeDeleteFile") && get(RegOpenKeyEx, "CeRegOpenKeyEx") &&
               get(RegSetValueEx, "CeRegSetValueEx") && get(RegQueryValueEx, "CeRegQueryValueEx") &&
               get(RegCloseKey, "CeRegCloseKey") &&
               get(GetSpecialFolderPath, "CeGetSpecialFolderPath") &&
               get(GetTempPath, "CeGetTempPath") && get(GetSystemMetrics, "CeGetSystemMetrics") &&
               get(CreateProcess, "CeCreateProcess") && get(RapiGetError, "CeRapiGetError");
    }
};

Api& TheApi() {
    static Api api;
    return api;
}

class LinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(api.module || api.Load()) << "rapi.dll or one of its entry points is missing";
        dir = MakeTempDir(L"link");
        ASSERT_FALSE(dir.empty());
        ASSERT_TRUE(agent.Start(dir, kSecret, 0, AgentArgs())) << agent.Log();
        PointAt(agent.port(), kSecret);
    }
    void TearDown() override {
        api.Uninit();
        agent.Kill();
        RemoveTree(dir);
    }
    virtual std::wstring AgentArgs() { return L""; }

    static void PointAt(unsigned short port, const std::string& secret) {
        ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_PORT", std::to_wstring(port).c_str());
        ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_SECRET",
                                  std::wstring(secret.begin(), secret.end()).c_str());
    }

    // What the desktop does: start the link and wait up to 5000 ms for its outcome.
    HRESULT Connect(DWORD* waited_ms = nullptr) {
        RapiInit init{sizeof(RapiInit), nullptr, E_FAIL};
        DWORD start = ::GetTickCount();
        HRESULT hr = api.InitEx(&init);
        if (FAILED(hr)) return hr;
        DWORD w = ::WaitForSingleObject(init.heRapiInit, 5000);
        if (waited_ms) *waited_ms = ::GetTickCount() - start;
        return w == WAIT_OBJECT_0 ? init.hrRapiInit : HRESULT_FROM_WIN32(WAIT_TIMEOUT);
    }

    std::wstring Host(const std::wstring& device_path) const { return agent.root() + device_path; }

    HANDLE CreateForWrite(const wchar_t* path) {
        return api.CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    }

    Api& api = TheApi();
    AgentProcess agent;
    std::wstring dir;
};

std::vector<uint8_t> Pattern(std::size_t n, unsigned seed) {
    std::vector<uint8_t> v(n);
    std::mt19937 rng(seed);
    for (auto& b : v) b = static_cast<uint8_t>(rng());
    return v;
}

TEST_F(LinkTest, CallsWithoutALinkFailAtOnce) {
    ::SetLastError(0);
    EXPECT_EQ(CreateForWrite(L"\\My Documents\\x.jpg"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_CONNECTED));
    HKEY key = nullptr;
    EXPECT_EQ(api.RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, 0, &key), ERROR_NOT_CONNECTED);
    EXPECT_EQ(api.GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(api.Uninit(), E_FAIL);
}

TEST_F(LinkTest, FileBytesLandOnTheHandheldDisk) {
    ASSERT_EQ(Connect(), S_OK);
    std::vector<uint8_t> picture = Pattern(300 * 1024 + 17, 1);
    HANDLE f = CreateForWrite(L"\\My Documents\\Glimmora_001.jpg");
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << ::GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(
        api.WriteFile(f, picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr));
    EXPECT_EQ(written, picture.size());
    ASSERT_TRUE(api.CloseHandle(f));
    EXPECT_EQ(ReadHostFile(Host(L"\\My Documents\\Glimmora_001.jpg")), picture);

    // CREATE_ALWAYS replaces the previous picture rather than writing over its start.
    std::vector<uint8_t> smaller = Pattern(1000, 2);
    f = CreateForWrite(L"\\My Documents\\Glimmora_001.jpg");
    ASSERT_TRUE(api.WriteFile(f, smaller.data(), 1000, &written, nullptr));
    ASSERT_TRUE(api.CloseHandle(f));
    EXPECT_EQ(ReadHostFile(Host(L"\\My Documents\\Glimmora_001.jpg")), smaller);

    EXPECT_FALSE(api.WriteFile(f, smaller.data(), 1, &written, nullptr));  // closed
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(api.CloseHandle(f));

    EXPECT_EQ(CreateForWrite(L"\\No Such Folder\\x.jpg"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(CreateForWrite(L"\\..\\escaped.jpg"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(::GetFileAttributesW((dir + L"\\escaped.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The agent reads its storage card from a file in its folder, before every write.
class FullCardTest : public LinkTest {
  protected:
    std::wstring AgentArgs() override {
        WriteHostFile(dir + L"\\card", "free 1000\n");
        return L"--card-file \"" + dir + L"\\card\"";
    }
};

TEST_F(FullCardTest, AWriteBeyondTheFreeRoomStopsPartWayAsDiskFull) {
    ASSERT_EQ(Connect(), S_OK);
    std::vector<uint8_t> picture = Pattern(30000, 4);
    HANDLE f = CreateForWrite(L"\\My Documents\\Glimmora_001.jpg");
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_FALSE(
        api.WriteFile(f, picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(written, 1000u);
    ASSERT_TRUE(api.CloseHandle(f));
    EXPECT_EQ(ReadHostFile(Host(L"\\My Documents\\Glimmora_001.jpg")),
              std::vector<uint8_t>(picture.begin(), picture.begin() + 1000));

    // Room again (the card file gone): the next write is whole.
    ::DeleteFileW((dir + L"\\card").c_str());
    f = CreateForWrite(L"\\My Documents\\Glimmora_001.jpg");
    EXPECT_TRUE(
        api.WriteFile(f, picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr));
    EXPECT_EQ(written, picture.size());
    ASSERT_TRUE(api.CloseHandle(f));
}

TEST_F(LinkTest, DirectoriesAreCreatedAndFilesDeleted) {
    ASSERT_EQ(Connect(), S_OK);
    ASSERT_TRUE(api.CreateDirectory(L"\\My Documents\\Glimmora", nullptr));
    DWORD attributes = ::GetFileAttributesW(Host(L"\\My Documents\\Glimmora").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(api.CreateDirectory(L"\\My Documents\\Glimmora", nullptr));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    ASSERT_TRUE(WriteHostFile(Host(L"\\My Documents\\Glimmora\\old.jpg"), "x"));
    EXPECT_TRUE(api.DeleteFile(L"\\My Documents\\Glimmora\\old.jpg"));
    EXPECT_EQ(::GetFileAttributesW(Host(L"\\My Documents\\Glimmora\\old.jpg").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(api.DeleteFile(L"\\My Documents\\Glimmora\\old.jpg"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

class RegistryTest : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
        HKEY k = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &k, nullptr),
                  0);
        ::RegCloseKey(k);
    }
    void TearDown() override {
        LinkTest::TearDown();
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    }
    static constexpr const wchar_t* kKey = L"Software\\GlimmoraRemoteLinkTest";
};

TEST_F(RegistryTest, ValuesAreWrittenAndReadBackWithTypeAndSize) {
    ASSERT_EQ(Connect(), S_OK);
    HKEY key = nullptr;
    ASSERT_EQ(api.RegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, 0, &key), ERROR_SUCCESS);
    DWORD one = 1;
    ASSERT_EQ(api.RegSetValueEx(key, L"RAPI_StopSlideshow", 0, REG_DWORD,
                                reinterpret_cast<BYTE*>(&one), 4),
              0);
    const wchar_t folder[] = L"\\Program Files\\Glimmora";
    ASSERT_EQ(api.RegSetValueEx(key, L"InstalledDirPath", 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(folder), sizeof folder),
              0);

    // Seen by the handheld's own registry.
    DWORD type = 0, value = 0, size = 4;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kKey, L"RAPI_StopSlideshow", RRF_RT_ANY, &type,
                             &value, &size),
              0);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 1u);

    wchar_t text[260] = {};
    size = sizeof text;
    ASSERT_EQ(api.RegQueryValueEx(key, L"InstalledDirPath", nullptr, &type,
                                  reinterpret_cast<BYTE*>(text), &size),
              0);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof folder);
    EXPECT_STREQ(text, folder);

    value = 0;
    size = 4;
    ASSERT_EQ(api.RegQueryValueEx(key, L"RAPI_StopSlideshow", nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value), &size),
              0);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(size, 4u);

    wchar_t small[4] = {L'k', L'e', L'e', L'p'};
    size = sizeof small;
    EXPECT_EQ(api.RegQueryValueEx(key, L"InstalledDirPath", nullptr, &type,
                                  reinterpret_cast<BYTE*>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof folder);
    size = 0;
    EXPECT_EQ(api.RegQueryValueEx(key, L"InstalledDirPath", nullptr, nullptr, nullptr, &size), 0);
    EXPECT_EQ(size, sizeof folder);

    size = 4;
    EXPECT_EQ(api.RegQueryValueEx(key, L"NoSuchValue", nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(api.RegCloseKey(key), 0);
    EXPECT_EQ(api.RegCloseKey(key), ERROR_INVALID_HANDLE);

    HKEY missing = nullptr;
    EXPECT_EQ(api.RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"Software\\GlimmoraNoSuchKey", 0, 0, &missing),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(LinkTest, FoldersAndScreenAreTheHandhelds) {
    ASSERT_EQ(Connect(), S_OK);
    wchar_t buffer[MAX_PATH] = {};
    EXPECT_EQ(api.GetSpecialFolderPath(5, MAX_PATH, buffer), 13u);
    EXPECT_STREQ(buffer, L"\\My Documents");
    EXPECT_EQ(api.GetTempPath(MAX_PATH, buffer), 6u);
    EXPECT_STREQ(buffer, L"\\Temp\\");
    // The agent shares this test's screen, so its metrics must be this screen's.
    EXPECT_EQ(api.GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(api.GetSystemMetrics(SM_CYSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(api.GetSystemMetrics(SM_CXSCREEN), 0);
}

TEST_F(LinkTest, ProcessStartsInTheHandheldWithItsArguments) {
    ASSERT_TRUE(::CopyFileW((BinDir() + L"\\remote_test_child.exe").c_str(),
                            Host(L"\\Program Files\\child.exe").c_str(), FALSE));
    ASSERT_EQ(Connect(), S_OK);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(api.CreateProcess(L"\\Program Files\\child.exe",
                                  L"\\My Documents\\Glimmora_001.jpg /65 /del", nullptr, nullptr,
                                  FALSE, 0, nullptr, nullptr, nullptr, &pi))
        << ::GetLastError();
    EXPECT_NE(pi.dwProcessId, 0u);
    std::vector<uint8_t> report;
    for (int i = 0; i < 200 && report.empty(); ++i) {
        ::Sleep(50);
        report = ReadHostFile(Host(L"\\child-ran.txt"));
    }
    ASSERT_FALSE(report.empty()) << "the program did not run in the handheld";
    std::wstring text(reinterpret_cast<const wchar_t*>(report.data()), report.size() / 2);
    EXPECT_NE(text.find(L"args=\\My Documents\\Glimmora_001.jpg /65 /del\n"), std::wstring::npos)
        << std::string(text.begin(), text.end());
    EXPECT_TRUE(api.CloseHandle(pi.hProcess));
    EXPECT_TRUE(api.CloseHandle(pi.hThread));

    EXPECT_FALSE(api.CreateProcess(L"\\Program Files\\missing.exe", L"", nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, nullptr, &pi));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(LinkTest, WrongOrMissingSecretIsRefusedAndTheAgentServesOn) {
    PointAt(agent.port(), "not-the-secret-0123456789");
    EXPECT_EQ(Connect(), E_ACCESSDENIED);
    EXPECT_EQ(api.GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(api.Uninit(), S_OK);

    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_SECRET", nullptr);
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_SECRET_FILE", (dir + L"\\no-such-secret").c_str());
    EXPECT_EQ(Connect(), E_ACCESSDENIED);
    EXPECT_EQ(api.Uninit(), S_OK);

    // The secret from a file works like the variable.
    ASSERT_TRUE(WriteHostFile(dir + L"\\desktop.secret", kSecret + "\r\n"));
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_SECRET_FILE", (dir + L"\\desktop.secret").c_str());
    EXPECT_EQ(Connect(), S_OK);
    EXPECT_GT(api.GetSystemMetrics(SM_CXSCREEN), 0);
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_SECRET_FILE", nullptr);
    EXPECT_NE(agent.Log().find("wrong pairing secret"), std::string::npos);
}

// The agent acts for whoever holds the secret, which crosses the link in clear text: neither
// end uses an address other than loopback.
TEST_F(LinkTest, BothEndsStayOnLoopback) {
    for (const wchar_t* address : {L"0.0.0.0", L"10.1.2.3"}) {
        std::wstring other = MakeTempDir(L"bind");
        ASSERT_FALSE(other.empty());
        AgentProcess outward;
        EXPECT_FALSE(outward.Start(other, kSecret, 0, std::wstring(L"--bind ") + address));
        EXPECT_NE(outward.Log().find("not a loopback address"), std::string::npos) << outward.Log();
        outward.Kill();
        RemoveTree(other);
    }
    // 0.0.0.0 would reach this machine's agent; the secret must not be sent there all the same.
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_HOST", L"0.0.0.0");
    EXPECT_EQ(Connect(), E_INVALIDARG);
    EXPECT_EQ(api.Uninit(), S_OK);
    EXPECT_EQ(agent.Log().find("link from"), std::string::npos) << agent.Log();
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_HOST", L"127.0.0.1");
    EXPECT_EQ(Connect(), S_OK);
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_HOST", nullptr);
}

TEST_F(LinkTest, LinkAttemptsAreOneAtATimeAndReconnectFreely) {
    ASSERT_EQ(Connect(), S_OK);
    RapiInit second{sizeof(RapiInit), nullptr, E_FAIL};
    EXPECT_EQ(api.InitEx(&second), kAlreadyInitialized);
    RapiInit wrong_size{8, nullptr, E_FAIL};
    EXPECT_EQ(api.InitEx(&wrong_size), E_INVALIDARG);
    EXPECT_EQ(api.Uninit(), S_OK);
    // The desktop opens a link per picture.
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(Connect(), S_OK) << "link " << i;
        wchar_t buffer[MAX_PATH];
        ASSERT_EQ(api.GetTempPath(MAX_PATH, buffer), 6u);
        ASSERT_EQ(api.Uninit(), S_OK);
    }
}

TEST_F(LinkTest, HandlesLeftOpenAreClosedWhenTheLinkEnds) {
    ASSERT_EQ(Connect(), S_OK);
    HANDLE f = CreateForWrite(L"\\My Documents\\left-open.jpg");
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ASSERT_EQ(api.Uninit(), S_OK);
    // Opened without sharing by the agent: only once it is closed can anyone open it again.
    bool reopened = false;
    for (int i = 0; i < 60 && !reopened; ++i) {
        UniqueFile again(::CreateFileW(Host(L"\\My Documents\\left-open.jpg").c_str(),
                                       GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        reopened = static_cast<bool>(again);
        if (!reopened) ::Sleep(50);
    }
    EXPECT_TRUE(reopened);
}

TEST_F(LinkTest, NoHandheldListeningFailsWithinTheWait) {
    unsigned short port = agent.port();
    agent.Kill();
    PointAt(port, kSecret);
    DWORD waited = 0;
    HRESULT hr = Connect(&waited);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_NE(hr, HRESULT_FROM_WIN32(WAIT_TIMEOUT)) << "the event was never signalled";
    EXPECT_LT(waited, 5000u);
}

// A handheld that accepts the connection but never answers: the outcome still arrives
// within the desktop's 5 s wait, and nothing blocks for longer.
TEST_F(LinkTest, AHandheldThatNeverAnswersFailsWithinTheWait) {
    WinsockSession winsock;
    UniqueSocket silent(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = ::inet_addr("127.0.0.1");
    ASSERT_EQ(::bind(silent.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(silent.get(), 1), 0);  // connections complete in the backlog, unserved
    int len = sizeof addr;
    ::getsockname(silent.get(), reinterpret_cast<sockaddr*>(&addr), &len);
    PointAt(ntohs(addr.sin_port), kSecret);
    DWORD waited = 0;
    EXPECT_EQ(Connect(&waited), HRESULT_FROM_WIN32(WSAETIMEDOUT));
    EXPECT_LT(waited, 5000u);
    EXPECT_EQ(api.Uninit(), S_OK);
}

// The agent takes its time over large requests here, so a kill lands in the middle of one.
class SlowLinkTest : public LinkTest {
  protected:
    std::wstring AgentArgs() override { return L"--receive-delay-ms 40"; }
};

TEST_F(SlowLinkTest, AgentKilledMidWriteFailsTheCallsAndANewAgentServes) {
    ASSERT_EQ(Connect(), S_OK);
    HANDLE f = CreateForWrite(L"\\My Documents\\Glimmora_001.jpg");
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> picture = Pattern(2 * 1024 * 1024, 3);
    std::atomic<bool> done{false};
    BOOL ok = TRUE;
    DWORD written = 0, error = 0;
    std::thread writer([&] {
        ok =
            api.WriteFile(f, picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr);
        error = ::GetLastError();
        done = true;
    });
    ::Sleep(300);
    ASSERT_FALSE(done) << "the write finished before the agent could be killed";
    DWORD killed_at = ::GetTickCount();
    unsigned short port = agent.port();
    agent.Kill();
    while (!done && ::GetTickCount() - killed_at < 10000) ::Sleep(10);
    DWORD took = ::GetTickCount() - killed_at;
    writer.join();
    EXPECT_FALSE(ok);
    EXPECT_NE(error, 0u);
    EXPECT_LT(written, picture.size());
    EXPECT_LT(took, 5000u);

    DWORD start = ::GetTickCount();
    EXPECT_FALSE(api.CloseHandle(f));
    EXPECT_FALSE(api.DeleteFile(L"\\My Documents\\Glimmora_001.jpg"));
    EXPECT_LT(::GetTickCount() - start, 1000u) << "calls on a broken link must fail at once";
    EXPECT_TRUE(FAILED(api.RapiGetError()));
    EXPECT_EQ(api.Uninit(), S_OK);

    // A new agent on the same port takes the next link.
    ASSERT_TRUE(agent.Start(dir, kSecret, port)) << agent.Log();
    ASSERT_EQ(Connect(), S_OK);
    EXPECT_TRUE(api.DeleteFile(L"\\My Documents\\Glimmora_001.jpg"));
}

TEST_F(SlowLinkTest, UninitFromAnotherThreadEndsACallInProgress) {
    ASSERT_EQ(Connect(), S_OK);
    HANDLE f = CreateForWrite(L"\\My Documents\\Glimmora_001.jpg");
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> picture = Pattern(2 * 1024 * 1024, 4);
    BOOL ok = TRUE;
    std::thread writer([&] {
        DWORD written = 0;
        ok =
            api.WriteFile(f, picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr);
    });
    ::Sleep(200);
    DWORD start = ::GetTickCount();
    EXPECT_EQ(api.Uninit(), S_OK);  // the desktop's stop request
    writer.join();
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(agent.Alive());
    ASSERT_EQ(Connect(), S_OK);
    EXPECT_GT(api.GetSystemMetrics(SM_CYSCREEN), 0);
}

// A raw peer for the hostile-input tests.
class RawPeer {
  public:
    bool Open(unsigned short port) {
        socket_ = FramedSocket();
        UniqueSocket s;
        if (ConnectWithin("127.0.0.1", port, Deadline(3000), nullptr, &s) != 0) return false;
        socket_ = FramedSocket(std::move(s));
        return true;
    }
    bool SendRaw(const std::vector<uint8_t>& bytes) {
        return ::send(socket_.get(), reinterpret_cast<const char*>(bytes.data()),
                      static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size());
    }
    uint32_t Exchange(const std::vector<uint8_t>& body, std::vector<uint8_t>* reply,
                      DWORD ms = 3000) {
        if (uint32_t e = socket_.Send(body, Deadline(ms), nullptr)) return e;
        return socket_.Receive(reply, Deadline(ms), nullptr);
    }
    bool Pair() {
        std::vector<uint8_t> reply;
        auto hello = Writer()
                         .U16(1)
                         .U32(kHelloMagic)
                         .U32(kProtocolVersion)
                         .Blob(reinterpret_cast<const uint8_t*>(kSecret.data()), kSecret.size())
                         .Take();
        return Exchange(hello, &reply) == 0 && reply.size() == 6 && reply[2] == 0;
    }
    void EndSending() { ::shutdown(socket_.get(), SD_SEND); }
    void Close() { socket_.Close(); }
    // True once the agent has closed its end.
    bool ClosedWithin(DWORD ms) {
        std::vector<uint8_t> body;
        uint32_t e = socket_.Receive(&body, Deadline(ms), nullptr);
        return e != 0 && e != WSAETIMEDOUT;
    }

  private:
    FramedSocket socket_;
};

TEST_F(LinkTest, QuietLinksAreDropped) {
    WinsockSession winsock;
    RawPeer stranger;
    ASSERT_TRUE(stranger.Open(agent.port()));
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(stranger.ClosedWithin(4000));  // never paired: dropped after 1 s
    EXPECT_LT(::GetTickCount() - start, 3500u);

    ASSERT_EQ(Connect(), S_OK);
    ::Sleep(3800);  // longer than the agent's 3 s idle limit
    EXPECT_EQ(api.GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(api.Uninit(), S_OK);
    ASSERT_EQ(Connect(), S_OK);
    EXPECT_GT(api.GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_NE(agent.Log().find("link dropped"), std::string::npos);
}

// 10,000 hostile frames: random operations and fields, truncations, lies about lengths, and
// garbage before pairing. The agent must answer or hang up, stay up, and still serve.
TEST_F(LinkTest, TenThousandHostileFramesLeaveTheAgentServing) {
    WinsockSession winsock;
    std::mt19937 rng(2024);
    RawPeer peer;
    ASSERT_TRUE(peer.Open(agent.port()));
    ASSERT_TRUE(peer.Pair());
    int answered = 0, hung_up = 0;
    // Only read-only operations get random fields; mutating ones only arrive cut short, which
    // must be refused before anything is done on the handheld.
    const uint16_t read_only[] = {4, 5, 11, 12, 13, 14, 15, 0, 17, 999, 0x8003};
    const std::vector<std::vector<uint8_t>> mutating = {
        Writer()
            .U16(2)
            .Str(u"\\fuzz.bin")
            .U32(GENERIC_WRITE)
            .U32(0)
            .U32(CREATE_ALWAYS)
            .U32(0x80)
            .Take(),
        Writer().U16(6).Str(u"\\fuzzdir").Take(),
        Writer()
            .U16(10)
            .U32(kHkeyCurrentUser)
            .Str(u"fuzz")
            .U32(4)
            .Blob(std::vector<uint8_t>(4, 1))
            .Take(),
        Writer().U16(16).U8(1).Str(u"\\fuzz.exe").U8(0).Str(u"").Take(),
    };
    for (int i = 0; i < 10000; ++i) {
        std::vector<uint8_t> body;
        int kind = static_cast<int>(rng() % 10);
        if (kind < 6) {
            Writer w;
            w.U16(read_only[rng() % (sizeof read_only / sizeof read_only[0])]);
            std::size_t extra = rng() % 24;
            for (std::size_t j = 0; j < extra; ++j)
                w.U8(static_cast<uint8_t>(rng() % 3 == 0 ? 0xff : rng()));
            body = w.Take();
        } else if (kind < 9) {
            const auto& valid = mutating[rng() % mutating.size()];
            body.assign(valid.begin(), valid.begin() + (rng() % (valid.size() - 1)));
        } else {
            // A frame header that lies: longer than allowed, or longer than what follows.
            std::vector<uint8_t> raw = {0xff, 0xff, 0xff, 0x7f, 1, 2, 3};
            if (rng() % 2) raw = {0x10, 0, 0, 0, 5, 0};
            ASSERT_TRUE(peer.SendRaw(raw));
            if (raw[0] == 0x10) peer.EndSending();  // then the peer hangs up mid-frame
            EXPECT_TRUE(peer.ClosedWithin(5000)) << "frame " << i;
            ++hung_up;
            ASSERT_TRUE(peer.Open(agent.port())) << "agent stopped accepting at frame " << i;
            ASSERT_TRUE(peer.Pair());
            continue;
        }
        std::vector<uint8_t> reply;
        uint32_t e = peer.Exchange(body, &reply);
        if (e == 0) {
            ASSERT_GE(reply.size(), 6u);
            ++answered;
        } else {
            ++hung_up;
            ASSERT_TRUE(peer.Open(agent.port())) << "agent stopped accepting at frame " << i;
            ASSERT_TRUE(peer.Pair());
        }
    }
    // A stranger may not make the agent hold a large frame before pairing.
    peer.Close();  // the agent serves one link at a time
    {
        auto refusals = [&] {
            std::string log = agent.Log();
            std::size_t n = 0;
            for (std::size_t at = log.find("frame longer than allowed"); at != std::string::npos;
                 at = log.find("frame longer than allowed", at + 1)) {
                ++n;
            }
            return n;
        };
        std::size_t before = refusals();
        RawPeer stranger;
        ASSERT_TRUE(stranger.Open(agent.port()));
        ASSERT_TRUE(stranger.SendRaw({0x00, 0x10, 0x00, 0x00}));  // announces 4 KiB
        EXPECT_TRUE(stranger.ClosedWithin(3000));
        // Refused for its size, not merely dropped when the greeting time ran out.
        EXPECT_EQ(refusals(), before + 1);
    }
    // And strangers who never pair.
    for (int i = 0; i < 200; ++i) {
        RawPeer stranger;
        ASSERT_TRUE(stranger.Open(agent.port()));
        std::vector<uint8_t> junk(rng() % 40);
        for (auto& b : junk) b = static_cast<uint8_t>(rng());
        std::vector<uint8_t> reply;
        stranger.Exchange(junk, &reply, 2000);
        EXPECT_TRUE(reply.empty() || reply[2] != 0 || reply[3] != 0 || reply[4] != 0 ||
                    reply[5] != 0);
    }
    EXPECT_GT(answered, 5000);
    EXPECT_TRUE(agent.Alive());
    EXPECT_EQ(::GetFileAttributesW(Host(L"\\fuzz.bin").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(Host(L"\\fuzzdir").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(Connect(), S_OK);
    wchar_t buffer[MAX_PATH];
    EXPECT_EQ(api.GetSpecialFolderPath(5, MAX_PATH, buffer), 13u);
}

}  // namespace
}  // namespace glimmora::remote::testing
