#include "send_request.h"

#include "platform.h"
#include "process_state.h"
#include "status.h"

namespace ovx {

void IoCancelSlot::Cancel() {
  std::lock_guard lock(mutex_);
  cancelled_ = true;
  if (op_ != nullptr && issued_) op_->CancelFromOtherThread();
}

bool IoCancelSlot::Cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

// Publishes the sender's operation in the slot for the time of one request.
class CancelRegistration {
 public:
  CancelRegistration(IoCancelSlot* slot, IIoOperation* op) : slot_(slot) {
    if (slot_ == nullptr) return;
    std::lock_guard lock(slot_->mutex_);
    refused_ = slot_->cancelled_;
    if (!refused_) slot_->op_ = op;
  }
  ~CancelRegistration() {
    if (slot_ == nullptr || refused_) return;
    std::lock_guard lock(slot_->mutex_);
    slot_->op_ = nullptr;
    slot_->issued_ = false;
  }
  CancelRegistration(const CancelRegistration&) = delete;
  CancelRegistration& operator=(const CancelRegistration&) = delete;

  bool refused() const { return refused_; }

  // After the request went pending: a cancel that came while it was being
  // issued could not reach it, so it is carried out here.
  void Issued(IIoOperation* op) {
    if (slot_ == nullptr) return;
    std::lock_guard lock(slot_->mutex_);
    slot_->issued_ = true;
    if (slot_->cancelled_) op->Cancel();
  }

 private:
  IoCancelSlot* slot_;
  bool refused_ = false;
};

RequestResult SendRequest(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                          std::uint32_t outSize, std::uint32_t timeoutMs, IoCancelSlot* cancel) {
  const DeviceHandle handle = ProcessState::Get().deviceHandle.load(std::memory_order_acquire);
  if (handle == 0) return {status::kInvalidHandle, 0};

  std::unique_ptr<IIoOperation> op;
  if (const std::uint32_t error = platform::Transport().NewOperation(handle, &op); error != 0 || !op)
    return {error != 0 ? error : status::kNotEnoughMemory, 0};

  CancelRegistration registration(cancel, op.get());
  if (registration.refused()) return {status::kOperationAborted, 0};

  const IoIssue issue = op->Issue(code, in, inSize, out, outSize);
  if (issue.kind == IoIssue::Kind::Completed) return {status::kSuccess, issue.bytes};
  if (issue.kind == IoIssue::Kind::Failed && issue.error != status::kIoPending) return {issue.error, 0};

  registration.Issued(op.get());
  if (!op->Wait(timeoutMs)) {
    op->Cancel();
    op->Wait(status::kInfinite);
    return {status::kTimeout, 0};
  }
  const IoCompletion done = op->Collect();
  return {done.status, done.bytes};
}

}  // namespace ovx
