#include "device_util.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform.h"
#include "process_state.h"
#include "reg_ctrl.h"
#include "send_request.h"
#include "boundary.h"
#include "status.h"
#include "trace.h"

namespace ovx {
namespace {

constexpr const wchar_t* kGetDeviceList = L"CDeviceUtil::GetDeviceList";
constexpr const wchar_t* kOpenDevice = L"CDeviceUtil::OpenDevice";
constexpr const wchar_t* kCloseDevice = L"CDeviceUtil::CloseDevice";
constexpr const wchar_t* kGetDeviceDescription = L"CDeviceUtil::GetDeviceDescription";
constexpr const wchar_t* kPnPControl = L"CDeviceUtil::PnPControl";
constexpr const wchar_t* kPnPHandling = L"CDeviceUtil::PnPHandling";

std::wstring Truncated(std::wstring text) {
  if (text.size() > kMaxNameChars) text.resize(kMaxNameChars);
  return text;
}

void WriteRecord(DeviceListRecord& record, std::uint32_t slot, const std::wstring& name) {
  std::memset(&record, 0, sizeof record);
  record.SlotNumber = slot;
  const std::size_t n = std::min(name.size(), kMaxNameChars);
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<std::uint32_t>(name[i]);
    record.DeviceName[i] = static_cast<OVX_WCHAR>(c <= 0xFFFF ? c : 0xFFFD);
  }
}

bool IsComma(wchar_t c) { return c == L',' || c == static_cast<wchar_t>(0xFF0C); }

}  // namespace

CDeviceUtil::CDeviceUtil() { ProcessState::Get().ClearDeviceList(); }

void CDeviceUtil::Release() { std::unique_ptr<CDeviceUtil> self(this); }

void CopyName(const std::wstring& from, wchar_t* to) {
  const std::size_t n = std::min(from.size(), kMaxNameChars);
  std::wmemcpy(to, from.data(), n);
  to[n] = L'\0';
}

bool ParseSlotNumber(const std::wstring& location, std::wstring* first, std::uint32_t* slot) {
  // Tokens are the non-empty runs between separators.
  std::vector<std::wstring> tokens;
  std::wstring current;
  for (wchar_t c : location) {
    if (IsComma(c)) {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  if (first != nullptr) *first = tokens.empty() ? std::wstring() : tokens[0];
  if (tokens.size() < 2) return false;
  const std::wstring& second = tokens[1];
  std::size_t i = 0;
  while (i < second.size() && !(second[i] >= L'0' && second[i] <= L'9')) ++i;
  if (i == second.size()) return false;
  std::uint64_t value = 0;
  for (; i < second.size() && second[i] >= L'0' && second[i] <= L'9'; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(second[i] - L'0');
    if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull;  // saturates like the C library's parse
  }
  *slot = static_cast<std::uint32_t>(value);
  return true;
}

int CDeviceUtil::GetDeviceDescription(IInterfaceSet& set, const wchar_t* path, wchar_t* description,
                                      std::uint32_t* slot, std::uint32_t* error) {
  TraceInfo(kGetDeviceDescription, L"++");
  *error = status::kInvalidParameter;
  if (path == nullptr || description == nullptr || slot == nullptr) return 0;

  const std::unique_ptr<IDeviceInfo> device = set.OpenDevice(path);
  if (!device) {
    *error = set.LastError();
    TraceInfo(kGetDeviceDescription, L"--");
    return 0;
  }
  std::wstring text;
  // The error of the last read that failed, caught before any trace line or
  // clean-up can overwrite it.
  if (device->ReadProperty(DeviceProperty::FriendlyName, &text) != 0) {
    if (*error = device->ReadProperty(DeviceProperty::DeviceDesc, &text); *error != 0) {
      TraceInfo(kGetDeviceDescription, L"--");
      return 0;
    }
  }
  *error = 0;
  CopyName(text, description);

  std::wstring location;
  if (device->ReadProperty(DeviceProperty::LocationInformation, &location) == 0) {
    TraceInfo(kGetDeviceDescription, L"%s", location);
    std::wstring first;
    std::uint32_t number = 0;
    const bool found = ParseSlotNumber(location, &first, &number);
    TraceInfo(kGetDeviceDescription, L"%s", first);
    if (found) {
      *slot = number;
      TraceInfo(kGetDeviceDescription, L"PCI slot number is: %d", number);
    }
  }
  TraceInfo(kGetDeviceDescription, L"--");
  return 1;
}

std::uint32_t CDeviceUtil::GetDeviceList(DeviceListRecord* pList) {
  return Guarded([&]() -> std::uint32_t {
    TraceInfo(kGetDeviceList, L"++");
    if (pList == nullptr) {
      TraceError(kGetDeviceList, L"Invalid Parameter");
      return status::kInvalidParameter;
    }
    const std::unique_ptr<IInterfaceSet> set = platform::Setup().PresentInterfaces();
    if (!set) {
      TraceError(kGetDeviceList, L"-- No HDEVINFO available for this GUID");
      return status::kInvalidParameter;
    }
    for (std::uint32_t i = 0;; ++i) {
      InterfaceEnum found = set->Enumerate(i);
      switch (found.kind) {
        case InterfaceEnum::Kind::NoMore:
          TraceInfo(kGetDeviceList, L"-- Status = 0x%08X", 0u);
          return status::kSuccess;
        case InterfaceEnum::Kind::DetailAllocFailed:
          TraceError(kGetDeviceList, L"-- NVALID_HANDLE_VALUE");
          return status::kInvalidParameter;
        case InterfaceEnum::Kind::DetailFailed:
          TraceError(kGetDeviceList, L"-- INVALID_HANDLE_VALUE ErrCode = %d", found.error);
          return status::kInvalidParameter;
        case InterfaceEnum::Kind::Found:
          break;
      }
      const std::wstring path = Truncated(std::move(found.path));
      TraceInfo(kGetDeviceList, L"Symbolic link is %s", path);

      wchar_t description[kMaxNameChars + 1] = {};
      std::uint32_t slot = 0;
      std::uint32_t error = 0;
      if (GetDeviceDescription(*set, path.c_str(), description, &slot, &error) == 0) {
        TraceError(kGetDeviceList, L"-- Failed to GetDeviceDescription 0x%08X", error);
        return status::kInvalidParameter;
      }
      const std::wstring name = Truncated(FormatWideString(L"%s %d", {description, i}));
      ProcessState::Get().AppendDevice({name, path});
      TraceInfo(kGetDeviceList, L"DevicePath[%d] is %s", i, path);
      TraceInfo(kGetDeviceList, L"DeviceName[%d] is %s", i, name);
      WriteRecord(pList[i], slot, name);
    }
  });
}

std::uint32_t CDeviceUtil::OpenDevice(const wchar_t* pDeviceName) {
  return Guarded([&]() -> std::uint32_t {
    TraceInfo(kOpenDevice, L"++");
    ProcessState& state = ProcessState::Get();
    std::uint32_t result = status::kSuccess;
    const std::optional<DeviceMatch> match = state.FindDevice(pDeviceName);
    if (!match) {
      TraceError(kOpenDevice, L"DeviceName is not found in the list");
      result = status::kBadDevice;
    } else {
      TraceInfo(kOpenDevice, L"DeviceName is %s", pDeviceName);
      TraceInfo(kOpenDevice, L"DevicePath is %s", match->path);
      state.deviceIndex.store(match->index);
      OpenResult opened = platform::Transport().Open(match->path);
      const bool usable = opened.error == 0 && opened.handle;
      // The process-wide handle is closed by CloseDevice, whichever object calls it.
      state.deviceHandle.store(usable ? opened.handle.release() : 0, std::memory_order_release);
      if (!usable) {
        TraceError(kOpenDevice, L"Failed to CreateFile");
        result = opened.error != 0 ? opened.error : status::kInvalidHandle;
      }
    }
    TraceInfo(kOpenDevice, L"-- Status = 0x%08X", result);
    return result;
  });
}

void CDeviceUtil::CloseDevice() {
  TraceInfo(kCloseDevice, L"++");
  const DeviceOwner device(ProcessState::Get().deviceHandle.exchange(0, std::memory_order_acq_rel));
  TraceInfo(kCloseDevice, L"--");
}

std::int32_t CDeviceUtil::SendIoControl(std::uint32_t nCode, void* pIn, std::uint32_t nInSize, void* pOut,
                                        std::uint32_t nOutSize, std::uint32_t* pBytesReturned,
                                        std::uint32_t* pStatus, std::uint32_t nTimeOut) {
  // Not through Guarded: the bytes travel with the status, and a request
  // that never completed moved none.
  RequestResult r;
  try {
    r = SendRequest(nCode, pIn, nInSize, pOut, nOutSize, nTimeOut);
  } catch (...) {
    r = RequestResult{status::kNotEnoughMemory, 0};
  }
  if (pBytesReturned != nullptr) *pBytesReturned = r.bytes;
  if (pStatus != nullptr) *pStatus = r.status;
  return r.status == 0 ? 1 : 0;
}

std::int32_t CDeviceUtil::GetDeviceIndex() { return ProcessState::Get().deviceIndex.load(); }

std::uint32_t CDeviceUtil::PnPControl() {
  std::vector<std::wstring> hardwareIds;
  std::uint32_t result = CRegCtrl::SearchDeviceID(hardwareIds);
  if (result != 0) {
    TraceError(kPnPControl, L"SearchDeviceID failed with 0x%08X", result);
    return result;
  }
  for (const std::wstring& key : hardwareIds) {
    TraceInfo(kPnPControl, L"TargetDeviceKey = %s", key);
    const std::wstring targetId = L"PCI\\" + key;
    TraceInfo(kPnPControl, L"szTargetDeviceID = %s", targetId);
    const std::wstring enumKey = L"SYSTEM\\CurrentControlSet\\Enum\\" + targetId;
    TraceInfo(kPnPControl, L"szRegEnumKey = %s", enumKey);

    InstanceTable instances;
    result = CRegCtrl::MakeSubKeyList(enumKey, instances);
    if (result != 0 && result != status::kNoMoreItems) {
      TraceInfo(kPnPControl, L"Find target usb subkey failed with 0x%08X", result);
      return result;
    }
    for (const auto& [name, path] : instances) {
      const std::wstring parameters = path + L"\\Device Parameters";
      TraceInfo(kPnPControl, L"strRegKeyDevParam = %s", parameters);
      std::uint32_t flag = 0;
      result = CRegCtrl::ReadRegData(parameters, L"RestartFlag", &flag, sizeof flag);
      if (result != 0) {
        TraceInfo(kPnPControl, L"Read ResetFlag failed with 0x%08X", result);
        if (result == status::kFileNotFound) result = 0;
        continue;
      }
      TraceInfo(kPnPControl, L"ResetFlag value = %d", flag);
      if (flag != 1) continue;
      const std::wstring deviceId = targetId + L"\\" + name;
      TraceInfo(kPnPControl, L"deviceId = %s", deviceId);
      CloseDevice();
      result = PnPHandling(deviceId);
      if (result != 0) TraceInfo(kPnPControl, L"PnPHandling failed with 0x%08X", result);
    }
  }
  return result;
}

std::uint32_t CDeviceUtil::PnPHandling(const std::wstring& deviceInstanceId) {
  TraceInfo(kPnPHandling, L"++");
  IDeviceSetup& setup = platform::Setup();
  DevNode node = 0;
  std::uint32_t result = setup.LocateDevNode(deviceInstanceId, &node);
  if (result != 0) {
    TraceInfo(kPnPHandling, L"Get Target Device's Handle failed with 0x%08X", result);
  } else if ((result = setup.DisableDevNode(node)) != 0) {
    TraceInfo(kPnPHandling, L"Disable Target Device failed with 0x%08X", result);
  } else if ((result = setup.EnableDevNode(node)) != 0) {
    TraceInfo(kPnPHandling, L"Enable Target Device failed with 0x%08X", result);
  }
  TraceInfo(kPnPHandling, L"--");
  return result;
}

}  // namespace ovx
