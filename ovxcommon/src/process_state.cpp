#include "process_state.h"

#include <cwchar>

#include "no_destructor.h"

namespace ovx {

ProcessState& ProcessState::Get() {
  static NoDestructor<ProcessState> state;
  return state.get();
}

void ProcessState::ClearDeviceList() {
  std::lock_guard lock(listMutex_);
  list_.clear();
}

void ProcessState::AppendDevice(DeviceEntry entry) {
  std::lock_guard lock(listMutex_);
  list_.push_back(std::move(entry));
}

std::optional<DeviceMatch> ProcessState::FindDevice(const wchar_t* name) const {
  if (name == nullptr) return std::nullopt;
  std::lock_guard lock(listMutex_);
  for (std::size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].name == name) return DeviceMatch{static_cast<std::int32_t>(i), list_[i].path};
  }
  return std::nullopt;
}

std::size_t ProcessState::DeviceCount() const {
  std::lock_guard lock(listMutex_);
  return list_.size();
}

void ProcessState::ResetForTesting() {
  ClearDeviceList();
  deviceHandle = 0;
  deviceIndex = 0;
  traceMask = 0;
  dmaTimeoutMs = kDefaultDmaTimeoutMs;
}

}  // namespace ovx
