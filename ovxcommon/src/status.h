// The status codes the library produces itself (Windows system error codes).
#pragma once

#include <cstdint>

namespace ovx::status {

inline constexpr std::uint32_t kSuccess = 0;
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kInvalidData = 13;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kBusy = 170;
inline constexpr std::uint32_t kNoMoreItems = 259;
inline constexpr std::uint32_t kOperationAborted = 995;
inline constexpr std::uint32_t kIoPending = 997;
inline constexpr std::uint32_t kBadDevice = 1200;
inline constexpr std::uint32_t kTimeout = 1460;

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

}  // namespace ovx::status
