// The first input byte of the picture targets chooses how the picture is shown, so that one
// corpus covers every screen and setting; the rest of the input is the file.
#pragma once

#include <cstdint>

namespace glimmora::fuzz {

struct Screen {
    std::int32_t width, height;
};

// Handheld screens of both shapes and sizes, a square one (neither side limits), and a
// one-pixel one (every picture shrinks to a line or a point).
inline constexpr Screen kScreens[] = {{240, 320}, {320, 240}, {480, 640}, {640, 480},
                                      {240, 240}, {1, 1},     {800, 480}, {320, 320}};

struct PictureSettings {
    Screen screen;
    std::uint8_t orientation;  // 0 Normal, 1 Auto (Left), 2 Auto (Right), 3 Left, 4 Right
    bool fitToScreen;
};

inline PictureSettings SettingsFrom(std::uint8_t choice) {
    return {kScreens[choice & 7], static_cast<std::uint8_t>((choice >> 3) % 5),
            (choice & 0x80) != 0};
}

}  // namespace glimmora::fuzz
