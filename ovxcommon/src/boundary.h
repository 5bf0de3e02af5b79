// What a client sees of a failure inside the library: a status, never an
// exception. Every interface operation runs its body through Guarded.
#pragma once

#include <cstdint>

#include "status.h"

namespace ovx {

// An exception can only come from the standard library running out of
// memory or of threads; both are ERROR_NOT_ENOUGH_MEMORY to the client.
template <class Body>
std::uint32_t Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return status::kNotEnoughMemory;
  }
}

}  // namespace ovx
