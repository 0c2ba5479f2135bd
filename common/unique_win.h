// Move-only owners for kernel handles, searches, registry keys and loaded modules, and the
// UniqueAny template every owner header builds on (GDI objects and DCs: unique_gdi_win.h;
// windows, icons, menus and image lists: unique_user_win.h).
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

// The closers run in destructors, where a failure can be neither reported nor undone: each
// makes its call and lets the result go.
namespace detail {
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFindHandle(HANDLE h) { ::FindClose(h); }
inline void CloseRegistryKey(HKEY k) { ::RegCloseKey(k); }
inline void UnloadModule(HMODULE m) { ::FreeLibrary(m); }
}  // namespace detail

// Kernel objects whose "none" is NULL (events, threads, mutexes, processes).
using UniqueHandle = UniqueAny<HANDLE, detail::CloseKernelHandle>;
// Files and searches use INVALID_HANDLE_VALUE as "none".
using UniqueFile = UniqueAny<HANDLE, detail::CloseKernelHandle, -1>;
using UniqueFind = UniqueAny<HANDLE, detail::CloseFindHandle, -1>;
using UniqueHkey = UniqueAny<HKEY, detail::CloseRegistryKey>;
// A module reference from LoadLibrary or GetModuleHandleEx, given back by FreeLibrary.
using UniqueModule = UniqueAny<HMODULE, detail::UnloadModule>;

}  // namespace glimmora
