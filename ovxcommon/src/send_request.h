// One I/O control request on the process-wide device handle: its own event
// and overlapped record, a time limit, cancellation and the wait for the
// request to really end.
#pragma once

#include <cstdint>
#include <mutex>

#include "transport_seam.h"

namespace ovx {

// Lets another thread end a request that waits without limit (a reader
// blocked in its message request). Once cancelled, no new request is sent.
class IoCancelSlot {
 public:
  void Cancel();
  bool Cancelled() const;

 private:
  friend class CancelRegistration;
  mutable std::mutex mutex_;
  IIoOperation* op_ = nullptr;
  bool issued_ = false;
  bool cancelled_ = false;
};

struct RequestResult {
  std::uint32_t status = 0;
  std::uint32_t bytes = 0;
};

RequestResult SendRequest(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                          std::uint32_t outSize, std::uint32_t timeoutMs, IoCancelSlot* cancel = nullptr);

}  // namespace ovx
