// The requests of the handheld link and the numbers both sides agree on. Every request body
// starts with its 16-bit operation; every reply repeats it with kReplyBit set, followed by a
// 32-bit Win32 error code (0 for success) and the operation's own fields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glimmora::remote {

constexpr uint32_t kHelloMagic = 0x524D4C47;  // "GLMR" in the byte order it is sent
constexpr uint32_t kProtocolVersion = 1;
constexpr uint16_t kReplyBit = 0x8000;

enum class Op : uint16_t {
    kHello = 1,
    kCreateFile = 2,
    kWriteFile = 3,
    kReadFile = 4,
    kCloseHandle = 5,
    kCreateDirectory = 6,
    kDeleteFile = 7,
    kRegOpenKey = 8,
    kRegCreateKey = 9,
    kRegSetValue = 10,
    kRegQueryValue = 11,
    kRegCloseKey = 12,
    kSpecialFolder = 13,
    kTempPath = 14,
    kSystemMetrics = 15,
    kCreateProcess = 16,
};

// Win32 error codes, spelled out here so the portable code needs no Windows headers.
namespace err {
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kInvalidData = 13;
constexpr uint32_t kNotSupported = 50;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kFilenameTooLong = 206;
constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kMoreData = 234;
constexpr uint32_t kNotConnected = 2250;
constexpr uint32_t kTimeout = 1460;
}  // namespace err

// Registry values larger than this are refused; it bounds what the agent reads on request.
constexpr uint32_t kMaxRegistryValue = 1u << 20;
// The predefined registry roots, as the caller passes them in an HKEY.
constexpr uint32_t kHkeyClassesRoot = 0x80000000u;
constexpr uint32_t kHkeyCurrentUser = 0x80000001u;
constexpr uint32_t kHkeyLocalMachine = 0x80000002u;
constexpr uint32_t kHkeyUsers = 0x80000003u;

// A pairing secret shorter than this is refused by both sides as too easy to guess.
constexpr std::size_t kMinSecretLength = 16;
constexpr std::size_t kMaxSecretLength = 256;

}  // namespace glimmora::remote
