// The system's error codes that the file layer produces, and their mapping from errno.
#pragma once

#include <cstdint>

namespace winfs {

inline constexpr std::uint32_t kErrSuccess = 0;
inline constexpr std::uint32_t kErrInvalidFunction = 1;
inline constexpr std::uint32_t kErrFileNotFound = 2;
inline constexpr std::uint32_t kErrPathNotFound = 3;
inline constexpr std::uint32_t kErrTooManyOpenFiles = 4;
inline constexpr std::uint32_t kErrAccessDenied = 5;
inline constexpr std::uint32_t kErrInvalidHandle = 6;
inline constexpr std::uint32_t kErrNotEnoughMemory = 8;
inline constexpr std::uint32_t kErrNotSameDevice = 17;
inline constexpr std::uint32_t kErrNoMoreFiles = 18;
inline constexpr std::uint32_t kErrWriteProtect = 19;
inline constexpr std::uint32_t kErrGenFailure = 31;
inline constexpr std::uint32_t kErrSharingViolation = 32;
inline constexpr std::uint32_t kErrNotSupported = 50;
inline constexpr std::uint32_t kErrBadNetPath = 53;
inline constexpr std::uint32_t kErrFileExists = 80;
inline constexpr std::uint32_t kErrInvalidParameter = 87;
inline constexpr std::uint32_t kErrDiskFull = 112;
inline constexpr std::uint32_t kErrInvalidName = 123;
inline constexpr std::uint32_t kErrDirNotEmpty = 145;
inline constexpr std::uint32_t kErrAlreadyExists = 183;
inline constexpr std::uint32_t kErrFilenameExcedRange = 206;
inline constexpr std::uint32_t kErrFileTooLarge = 223;
inline constexpr std::uint32_t kErrDirectory = 267;
inline constexpr std::uint32_t kErrIoDevice = 1117;
inline constexpr std::uint32_t kErrCantResolveFilename = 1921;

// What a missing item (ENOENT) means for the call that failed: the named item itself is absent
// (2), or a directory on the way to it is (3).
enum class Missing { kItem, kPath };

// The system's code for an errno; ENOENT depends on what was missing.
std::uint32_t FromErrno(int err, Missing missing = Missing::kItem);

}  // namespace winfs
