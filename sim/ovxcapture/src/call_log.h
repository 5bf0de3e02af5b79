// The record of API calls, oldest first, bounded so that a board left
// running for hours keeps the newest calls only.
#ifndef OVXSIM_CALL_LOG_H
#define OVXSIM_CALL_LOG_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "functions.h"
#include "ovxcapture_sim.h"

namespace ovxsim {

class CallLog {
 public:
  static constexpr std::size_t kCapacity = 100000;

  // Fills in the sequence number; the oldest call goes when full.
  void Add(OvxSimCall call);
  // Clear keeps the numbering going; Restart begins again at 1.
  void Clear() { calls_.clear(); }
  void Restart() {
    calls_.clear();
    next_sequence_ = 1;
  }
  std::size_t Size() const { return calls_.size(); }
  const OvxSimCall* At(std::size_t index) const { return index < calls_.size() ? &calls_[index] : nullptr; }

 private:
  std::deque<OvxSimCall> calls_;
  uint64_t next_sequence_ = 1;
};

// A call as filled by the board before it is logged.
OvxSimCall MakeCall(Function function, int32_t property_id, const void* device_slot, const void* plane_slot,
                    uint64_t thread_id);
void AppendArg(OvxSimCall& call, int32_t value);
void AppendArgs(OvxSimCall& call, const void* record, std::size_t words);
void AppendPointerArg(OvxSimCall& call, const void* pointer);

// One line, e.g. "#7 thread 2 Ovx_DevGetProp(device 0x..., id 6) -> 0 [2 1920 1080]".
std::string FormatCall(const OvxSimCall& call);

}  // namespace ovxsim

#endif
