#include "device/overlay/banner_layout.h"

#include "device/pictures/device_bitmap.h"

namespace glimmora::device::overlay {

std::wstring PictureDisplayName(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

std::wstring LoadingBannerText(const std::wstring& path) {
    const std::wstring name = PictureDisplayName(path);
    return name.empty() ? std::wstring() : L"Loading " + name + L"...";
}

BannerSize BannerSizeForText(std::int32_t cx, std::int32_t cy) {
    return {cx + cy + 4, 4 - static_cast<std::int32_t>(cy * -1.5)};
}

Rect BannerPlacement(std::uint8_t orientation, const Rect& client, std::int32_t width,
                     std::int32_t height) {
    if (orientation == kRotateLeft)
        return {client.left, client.bottom - height, client.left + width, client.bottom};
    if (orientation == kRotateRight)
        return {client.right - width, client.top, client.right, client.top + height};
    return {0, 0, width, height};
}

Rect CalendarClientRect(const Rect& client, std::int32_t width, std::int32_t height,
                        std::int32_t margin) {
    const std::int32_t right = client.right - margin;
    const std::int32_t bottom = client.bottom - margin;
    return {right - width, bottom - height, right, bottom};
}

}  // namespace glimmora::device::overlay
