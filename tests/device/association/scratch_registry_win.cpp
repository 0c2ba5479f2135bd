#include "scratch_registry_win.h"

#include <atomic>
#include <stdexcept>

#include "device/settings/registry_win.h"
#include "handoff/registry_names.h"

namespace glimmora::test {

namespace {

UniqueHkey MustCreate(HKEY root, const std::wstring& path) {
    UniqueHkey key = device::CreateRegistryKey(root, path);
    if (!key) throw std::runtime_error("cannot create a scratch registry key");
    return key;
}

}  // namespace

ScratchRegistry::ScratchRegistry() {
    static std::atomic<unsigned> counter{0};
    path_ = L"Software\\GlimmoraTests\\" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    device::DeleteRegistryTree(HKEY_CURRENT_USER, path_.c_str());
    classes_ = MustCreate(HKEY_CURRENT_USER, path_ + L"\\Classes");
    currentUser_ = MustCreate(HKEY_CURRENT_USER, path_ + L"\\User");
    localMachine_ = MustCreate(HKEY_CURRENT_USER, path_ + L"\\Machine");
}

ScratchRegistry::~ScratchRegistry() {
    classes_.reset();
    currentUser_.reset();
    localMachine_.reset();
    device::DeleteRegistryTree(HKEY_CURRENT_USER, path_.c_str());
}

device::SettingsKey ScratchRegistry::settings() const {
    return device::SettingsKey{currentUser(), handoff::kDeviceAppKey};
}

device::association::AssociationPlaces ScratchRegistry::places() const {
    return device::association::AssociationPlaces{classes(), settings()};
}

void ScratchRegistry::SetText(HKEY root, const std::wstring& path, const wchar_t* name,
                              const std::wstring& text, DWORD type) {
    UniqueHkey key = MustCreate(root, path);
    device::WriteTextValue(key.get(), name, text, type);
}

void ScratchRegistry::SetDword(HKEY root, const std::wstring& path, const wchar_t* name,
                               DWORD value) {
    UniqueHkey key = MustCreate(root, path);
    device::WriteDwordValue(key.get(), name, value);
}

std::optional<std::wstring> ScratchRegistry::Text(HKEY root, const std::wstring& path,
                                                  const wchar_t* name) const {
    UniqueHkey key = device::OpenRegistryKey(root, path);
    if (!key) return std::nullopt;
    auto value = device::ReadTextValue(key.get(), name);
    if (!value) return std::nullopt;
    return value->text;
}

std::optional<DWORD> ScratchRegistry::Dword(HKEY root, const std::wstring& path,
                                            const wchar_t* name) const {
    UniqueHkey key = device::OpenRegistryKey(root, path);
    if (!key) return std::nullopt;
    return device::ReadDwordValue(key.get(), name);
}

std::optional<DWORD> ScratchRegistry::Type(HKEY root, const std::wstring& path,
                                           const wchar_t* name) const {
    UniqueHkey key = device::OpenRegistryKey(root, path);
    if (!key) return std::nullopt;
    DWORD type = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return type;
}

bool ScratchRegistry::KeyExists(HKEY root, const std::wstring& path) const {
    return static_cast<bool>(device::OpenRegistryKey(root, path));
}

void ScratchRegistry::SetJpegClass(const std::wstring& className, const std::wstring& command,
                                   const std::wstring& icon) {
    SetText(classes(), L".jpg", nullptr, className);
    SetText(classes(), className + L"\\Shell\\Open\\Command", nullptr, command);
    SetText(classes(), className + L"\\DefaultIcon", nullptr, icon);
}

}  // namespace glimmora::test
