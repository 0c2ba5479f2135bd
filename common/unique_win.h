// Move-only owners for Win32 handles, DCs, GDI objects and registry keys.
// One owner type per close function; copies are deleted so a handle has exactly one owner.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace glimmora {

// Owns a value of type T that is released by Close(value) unless it equals the "none" value
// given by InvalidBits (an integer, because a pointer such as INVALID_HANDLE_VALUE cannot be a
// template argument).
template <typename T, auto Close, std::intptr_t InvalidBits = 0>
class UniqueAny {
    static T MakeInvalid() {
        if constexpr (std::is_pointer_v<T>) {
            return reinterpret_cast<T>(InvalidBits);
        } else {
            return static_cast<T>(InvalidBits);
        }
    }
    inline static const T Invalid = MakeInvalid();

public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    ~UniqueAny() { reset(); }

    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid; }

    // For out-parameters of creating calls: releases what is held, then lends the slot.
    T* put() {
        reset();
        return &value_;
    }
    T release() { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) {
        T old = std::exchange(value_, value);
        if (old != Invalid) Close(old);
    }

private:
    T value_ = Invalid;
};

namespace detail {
inline void CloseHandleChecked(HANDLE h) { ::CloseHandle(h); }
inline void FindCloseChecked(HANDLE h) { ::FindClose(h); }
inline void RegCloseKeyChecked(HKEY k) { ::RegCloseKey(k); }
inline void DeleteDCChecked(HDC dc) { ::DeleteDC(dc); }
inline void DeleteObjectChecked(HGDIOBJ o) { ::DeleteObject(o); }
inline void FreeLibraryChecked(HMODULE m) { ::FreeLibrary(m); }
inline void DestroyWindowChecked(HWND w) { ::DestroyWindow(w); }
}  // namespace detail

// Kernel objects whose "none" is NULL (events, threads, mutexes, processes).
using UniqueHandle = UniqueAny<HANDLE, detail::CloseHandleChecked>;
// Files and searches use INVALID_HANDLE_VALUE as "none".
using UniqueFile = UniqueAny<HANDLE, detail::CloseHandleChecked, -1>;
using UniqueFind = UniqueAny<HANDLE, detail::FindCloseChecked, -1>;
using UniqueHkey = UniqueAny<HKEY, detail::RegCloseKeyChecked>;
using UniqueMemoryDC = UniqueAny<HDC, detail::DeleteDCChecked>;
using UniqueGdiObject = UniqueAny<HGDIOBJ, detail::DeleteObjectChecked>;
using UniqueBitmap = UniqueAny<HBITMAP, detail::DeleteObjectChecked>;
using UniqueModule = UniqueAny<HMODULE, detail::FreeLibraryChecked>;
using UniqueWindow = UniqueAny<HWND, detail::DestroyWindowChecked>;

// A DC from GetDC that remembers its window, for ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintDC() { ::EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectObjectScope() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace glimmora
