#include "desktop/session/device_folder.h"

#include "handoff/picture_files.h"

namespace glimmora::desktop::session {

std::wstring ChooseDeviceFolder(const std::wstring& configured, bool keepPictures,
                                DeviceFolderSource& handheld) {
    if (!configured.empty()) {
        std::wstring folder = configured;
        if (folder.back() == L'\\') folder.pop_back();
        if (!folder.empty()) handheld.CreateFolder(folder);
        return folder;
    }
    if (std::optional<std::wstring> personal = handheld.PersonalFolder()) {
        std::wstring folder = *personal;
        if (keepPictures) {
            folder += handoff::kKeptPicturesFolder;
            handheld.CreateFolder(folder);
        }
        return folder;
    }
    return handheld.TempFolder().value_or(std::wstring());
}

int ScreenSideOrDefault(int reported, int fallback) { return reported < 1 ? fallback : reported; }

}  // namespace glimmora::desktop::session
