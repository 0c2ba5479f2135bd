// Tandrel.dll as the installer sees it: exactly the four hooks by their plain names, each
// returning 0, acting on the hives it is given. The hives are redirected to scratch keys.
#include <gtest/gtest.h>

#include "device/settings/registry_win.h"
#include "scratch_registry_win.h"
#include "setup/setup_hooks.h"

namespace {

using glimmora::UniqueModule;

const std::wstring kAppKey = L"Software\\Kestrova\\Glimmora";

class TandrelDllTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, reg.currentUser()), ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_LOCAL_MACHINE, reg.localMachine()), ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CLASSES_ROOT, reg.classes()), ERROR_SUCCESS);
        dll.reset(::LoadLibraryW(TANDREL_DLL));
        ASSERT_TRUE(dll) << "cannot load " << TANDREL_DLL;
    }
    void TearDown() override {
        dll.reset();
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    }
    template <typename Hook>
    Hook Get(const char* name) {
        return reinterpret_cast<Hook>(reinterpret_cast<void*>(::GetProcAddress(dll.get(), name)));
    }

    // Created before the hives are redirected, so its keys live in the real user hive.
    glimmora::test::ScratchRegistry reg;
    UniqueModule dll;
};

TEST_F(TandrelDllTest, ExportsExactlyTheFourHooksUndecorated) {
    auto base = reinterpret_cast<const BYTE*>(dll.get());
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        found.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"Install_Exit", "Install_Init", "Uninstall_Exit",
                                               "Uninstall_Init"}));
    EXPECT_EQ(exports->NumberOfFunctions, 4u);
}

TEST_F(TandrelDllTest, InstallAndRemovalThroughTheHooks) {
    auto installInit = Get<InstallInitHook>("Install_Init");
    auto installExit = Get<InstallExitHook>("Install_Exit");
    auto uninstallInit = Get<UninstallInitHook>("Uninstall_Init");
    auto uninstallExit = Get<UninstallExitHook>("Uninstall_Exit");
    ASSERT_TRUE(installInit && installExit && uninstallInit && uninstallExit);

    const wchar_t* dir = L"\\Program Files\\Glimmora";
    EXPECT_EQ(installInit(nullptr, TRUE, FALSE, dir), 0);
    // Failure counts are not looked at.
    EXPECT_EQ(installExit(nullptr, dir, 1, 2, 3, 4, 5), 0);
    EXPECT_EQ(reg.Text(reg.localMachine(), kAppKey, L"InstalledDirPath"), dir);

    reg.SetJpegClass(L"jpegfile", L"\"\\Program Files\\Glimmora\\Glimmora.exe\" %1", L"g,0");
    reg.SetText(reg.currentUser(), kAppKey, L"Old_ShellOpenCommand", L"pimg.exe \"%1\"");
    reg.SetText(reg.currentUser(), kAppKey, L"Old_DefaultIcon", L"pimg.exe,-101");
    EXPECT_EQ(uninstallInit(nullptr, dir), 0);
    EXPECT_EQ(uninstallExit(nullptr), 0);
    EXPECT_EQ(reg.Text(reg.classes(), L"jpegfile\\Shell\\Open\\Command", nullptr),
              L"pimg.exe \"%1\"");
    EXPECT_EQ(reg.Text(reg.classes(), L"jpegfile\\DefaultIcon", nullptr), L"pimg.exe,-101");
    EXPECT_FALSE(reg.KeyExists(reg.currentUser(), kAppKey));
    EXPECT_FALSE(reg.KeyExists(reg.localMachine(), kAppKey));
    EXPECT_TRUE(reg.KeyExists(reg.localMachine(), L"Software\\Kestrova"));
}

TEST_F(TandrelDllTest, HooksReturnZeroWhenThereIsNothingToDo) {
    EXPECT_EQ(Get<UninstallInitHook>("Uninstall_Init")(nullptr, L"\\Program Files\\Glimmora"), 0);
    EXPECT_EQ(Get<InstallExitHook>("Install_Exit")(nullptr, nullptr, 0, 0, 0, 0, 0), 0);
    EXPECT_FALSE(reg.KeyExists(reg.localMachine(), kAppKey));
}

}  // namespace
