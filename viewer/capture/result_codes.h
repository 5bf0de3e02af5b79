#pragma once
// Result codes the session hands to the frame, which keeps them in its
// screen conditions and compares them as 32-bit words.

#include <cstdint>

namespace capture {

// Signal status of the input.
enum SignalStatus : int32_t {
  kSignalNone = 0,
  kSignalUnusable = 1,
  kSignalPresent = 2,
  kSignalReadError = 3,  // the last status query failed
};

// Results of the version checks.
enum VersionCheckResult : int32_t {
  kVersionFits = 0,
  kVersionNewer = 1,
  kVersionOlder = 2,
  kVersionApiError = -1,  // firmware unreadable, driver version unreadable
  kVersionNotFound = -2,  // driver not found (also "not checked yet")
};

}  // namespace capture
