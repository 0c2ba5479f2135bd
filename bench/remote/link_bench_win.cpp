// Times one picture's trip to the handheld: 1 MB written through rapi.dll to a real agent on
// loopback, alone and as the desktop does it per picture (link, create, write, close,
// launch-free unlink). Prints medians and the ratio to the 0.2 s a 1 MB file may take.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "remote/rapi/rapi_api_win.h"
#include "tests/remote/agent_fixture_win.h"

using namespace glimmora::rapi;
using glimmora::remote::testing::AgentProcess;

namespace {

constexpr int kRounds = 20;
constexpr DWORD kBytes = 1024 * 1024;
constexpr double kTargetSeconds = 0.2;

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    std::wstring dir = glimmora::remote::testing::MakeTempDir(L"bench");
    const std::string secret = "bench-secret-0123456789abcdef";
    AgentProcess agent;
    if (!agent.Start(dir, secret)) {
        std::fprintf(stderr, "remote_link_bench: the agent did not start\n%s", agent.Log().c_str());
        return 1;
    }
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_PORT", std::to_wstring(agent.port()).c_str());
    ::SetEnvironmentVariableW(L"GLIMMORA_RAPI_SECRET",
                              std::wstring(secret.begin(), secret.end()).c_str());

    glimmora::UniqueModule rapi(::LoadLibraryA("rapi.dll"));
    if (!rapi) return 1;
    auto InitEx = LookUp<PfnCeRapiInitEx>(rapi.get(), "CeRapiInitEx");
    auto Uninit = LookUp<PfnCeRapiUninit>(rapi.get(), "CeRapiUninit");
    auto CreateFile = LookUp<PfnCeCreateFile>(rapi.get(), "CeCreateFile");
    auto WriteFile = LookUp<PfnCeWriteFile>(rapi.get(), "CeWriteFile");
    auto CloseHandle = LookUp<PfnCeCloseHandle>(rapi.get(), "CeCloseHandle");

    std::vector<uint8_t> picture(kBytes);
    for (DWORD i = 0; i < kBytes; ++i) picture[i] = static_cast<uint8_t>(i * 2654435761u >> 24);

    std::vector<double> write_only, whole_picture;
    int failures = 0;
    for (int round = 0; round < kRounds; ++round) {
        double t0 = Now();
        RapiInit init{sizeof(RapiInit), nullptr, E_FAIL};
        if (FAILED(InitEx(&init)) ||
            ::WaitForSingleObject(init.heRapiInit, 5000) != WAIT_OBJECT_0 ||
            init.hrRapiInit != S_OK) {
            ++failures;
            Uninit();
            continue;
        }
        HANDLE f = CreateFile(L"\\My Documents\\Glimmora_001.jpg", GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        double t1 = Now();
        DWORD written = 0;
        BOOL ok =
            f != INVALID_HANDLE_VALUE && WriteFile(f, picture.data(), kBytes, &written, nullptr);
        double t2 = Now();
        CloseHandle(f);
        Uninit();
        double t3 = Now();
        if (!ok || written != kBytes) {
            ++failures;
            continue;
        }
        write_only.push_back(t2 - t1);
        whole_picture.push_back(t3 - t0);
    }
    agent.Kill();
    glimmora::remote::testing::RemoveTree(dir);
    if (write_only.empty()) {
        std::fprintf(stderr, "remote_link_bench: no round succeeded\n");
        return 1;
    }
    double w = Median(write_only), p = Median(whole_picture);
    std::printf("1 MB over the handheld link, %d rounds (%d failed), medians:\n", kRounds,
                failures);
    std::printf("  CeWriteFile of 1 MB        %8.2f ms  %8.1f MB/s\n", w * 1000, 1.0 / w);
    std::printf("  link+create+write+unlink   %8.2f ms\n", p * 1000);
    std::printf("  ratio to the 0.2 s target  %8.3f (write)  %8.3f (whole picture)  %s\n",
                w / kTargetSeconds, p / kTargetSeconds,
                p < kTargetSeconds ? "within target" : "OVER TARGET");
    return failures == 0 ? 0 : 1;
}
