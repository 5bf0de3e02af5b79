// The state that every object of a process shares.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "transport_seam.h"

namespace ovx {

struct DeviceEntry {
  std::wstring name;  // description, blank, enumeration index
  std::wstring path;  // interface path
};

struct DeviceMatch {
  std::int32_t index;
  std::wstring path;
};

class ProcessState {
 public:
  static ProcessState& Get();

  static constexpr std::uint32_t kDefaultDmaTimeoutMs = 5000;

  std::atomic<DeviceHandle> deviceHandle{0};
  std::atomic<std::int32_t> deviceIndex{0};
  std::atomic<std::uint32_t> traceMask{0};
  std::atomic<std::uint32_t> dmaTimeoutMs{kDefaultDmaTimeoutMs};

  void ClearDeviceList();
  void AppendDevice(DeviceEntry entry);
  std::optional<DeviceMatch> FindDevice(const wchar_t* name) const;
  std::size_t DeviceCount() const;

  // Back to the state of a fresh load (tests only: no device, no list).
  void ResetForTesting();

 private:
  mutable std::mutex listMutex_;
  std::vector<DeviceEntry> list_;
};

}  // namespace ovx
