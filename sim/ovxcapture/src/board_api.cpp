// The nine API functions of the simulated board.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "board.h"
#include "process_exit.h"
#include "scenario_file.h"

namespace ovxsim {

namespace {

constexpr OvxDevice kDeviceHandleBase = 0x7E210B5800000000ull;
constexpr OvxPlane kPlaneHandleBase = 0x0B580000u;

std::size_t DeviceRecordWords(int32_t id) {
  switch (id) {
    case OVX_DEV_PROP_FIRMWARE:
      return sizeof(OvxFirmwareInfo) / 4;
    case OVX_DEV_PROP_API:
      return sizeof(OvxApiVersion) / 4;
    case OVX_DEV_PROP_WATCHDOG:
      return sizeof(OvxWatchdogInfo) / 4;
    case OVX_DEV_PROP_OUTPUT:
    case OVX_DEV_PROP_INPUT:
      return sizeof(OvxEventSize) / 4;
    case OVX_DEV_PROP_TIME:
      return sizeof(OvxTime) / 4;
    default:
      return 0;
  }
}

std::size_t PlaneRecordWords(int32_t id) {
  switch (id) {
    case OVX_VP_PROP_ENABLE:
      return sizeof(OvxPlaneEnable) / 4;
    case OVX_VP_PROP_PLACEMENT:
      return sizeof(OvxPlanePlacement) / 4;
    case OVX_VP_PROP_PARTS_WHOLE:
    case OVX_VP_PROP_PARTS_CROP:
      return sizeof(OvxPlaneParts) / 4;
    case OVX_VP_PROP_ANGLE:
      return sizeof(OvxPlaneAngle) / 4;
    case OVX_VP_PROP_INDEX:
      return sizeof(OvxPlaneIndex) / 4;
    default:
      return 0;
  }
}

bool ValidCrop(const OvxPlaneParts& p) {
  const auto fits = [](int32_t top, int32_t size, int32_t parts) {
    return top >= 0 && size > 0 && int64_t{top} + size <= parts;
  };
  return p.parts.x > 0 && p.parts.y > 0 && fits(p.top.x, p.size.x, p.parts.x) &&
         fits(p.top.y, p.size.y, p.parts.y);
}

}  // namespace

int32_t Board::DevOpen(OvxDevice* device, int32_t reserved) {
  Delay(Function::DevOpen);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevOpen, -1, device, nullptr, CurrentThreadNumber());
  AppendArg(call, reserved);
  int32_t status = Injected(Function::DevOpen, -1);
  if (status == 0) {
    if (device == nullptr || reserved != 0) {
      status = OVXSIM_STATUS_BAD_ARGUMENT;
    } else if (opened_) {
      status = OVXSIM_STATUS_WRONG_STATE;
    } else {
      opened_ = true;
      handle_ = kDeviceHandleBase + ++open_count_;
      *device = handle_;
      if (!timeline_started_) {
        timeline_started_ = true;
        timeline_start_ms_ = NowLocked();
      }
      EnsureThreadLocked();
      AppendArg(call, static_cast<int32_t>(static_cast<uint32_t>(handle_)));
      AppendArg(call, static_cast<int32_t>(static_cast<uint32_t>(handle_ >> 32)));
      ProcessDueLocked();  // actions at 0 ms happen with the open
    }
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::DevClose(OvxDevice* device) {
  Delay(Function::DevClose);
  std::vector<std::thread> stopped;
  int32_t status = 0;
  {
    std::lock_guard lock(mutex_);
    ProcessDueLocked();
    OvxSimCall call = MakeCall(Function::DevClose, -1, device, nullptr, CurrentThreadNumber());
    status = Injected(Function::DevClose, -1);
    if (status == 0) {
      status = CheckDeviceLocked(device);
    }
    if (status == 0) {
      // The board drops the plane and the callback with the device.
      opened_ = false;
      plane_created_ = false;
      callback_ = nullptr;
      *device = 0;
      stopped = StopThreadsLocked();
      WriteStateLocked();
    }
    call.status = status;
    Record(call);
  }
  for (std::thread& t : stopped) {
    t.join();
  }
  return status;
}

int32_t Board::DevGetProp(OvxDevice* device, int32_t id, void* record) {
  Delay(Function::DevGetProp);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevGetProp, id, device, nullptr, CurrentThreadNumber());
  int32_t status = Injected(Function::DevGetProp, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && DeviceRecordWords(id) == 0) {
    status = OVXSIM_STATUS_BAD_PROPERTY;
  }
  if (status == 0 && record == nullptr) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0) {
    switch (id) {
      case OVX_DEV_PROP_FIRMWARE:
        *static_cast<OvxFirmwareInfo*>(record) = firmware_;
        break;
      case OVX_DEV_PROP_API:
        static_cast<OvxApiVersion*>(record)->version_no = api_version_;
        break;
      case OVX_DEV_PROP_WATCHDOG:
        *static_cast<OvxWatchdogInfo*>(record) = watchdog_;
        break;
      case OVX_DEV_PROP_OUTPUT:
        *static_cast<OvxEventSize*>(record) = output_;
        break;
      case OVX_DEV_PROP_INPUT:
        *static_cast<OvxEventSize*>(record) = input_;
        break;
      case OVX_DEV_PROP_TIME:
        static_cast<OvxTime*>(record)->time = audio_delay_;
        break;
      default:
        break;
    }
  }
  // The record as the caller holds it after the call: unchanged on failure.
  AppendArgs(call, record, DeviceRecordWords(id));
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::DevSetProp(OvxDevice* device, int32_t id, const void* record) {
  Delay(Function::DevSetProp);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevSetProp, id, device, nullptr, CurrentThreadNumber());
  if (id == OVX_DEV_PROP_TIME) {
    AppendArgs(call, record, DeviceRecordWords(id));
  }
  int32_t status = Injected(Function::DevSetProp, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && id != OVX_DEV_PROP_TIME) {
    status = OVXSIM_STATUS_BAD_PROPERTY;  // the others are read-only
  }
  if (status == 0) {
    const auto* time = static_cast<const OvxTime*>(record);
    if (time == nullptr || time->time < 0) {
      status = OVXSIM_STATUS_BAD_ARGUMENT;
    } else {
      audio_delay_ = time->time;
    }
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::DevSetCb(OvxDevice* device, int32_t id, OvxEventCallback callback) {
  Delay(Function::DevSetCb);
  std::unique_lock lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevSetCb, id, device, nullptr, CurrentThreadNumber());
  AppendPointerArg(call, reinterpret_cast<const void*>(callback));
  int32_t status = Injected(Function::DevSetCb, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && id != OVX_CALLBACK_ID) {
    status = OVXSIM_STATUS_BAD_PROPERTY;
  }
  if (status == 0) {
    callback_ = callback;
  }
  call.status = status;
  Record(call);
  if (status == 0 && !on_event_thread) {
    // Once this returns, no callback of the old function is still running.
    changed_.wait(lock, [this] { return in_callback_ == 0; });
  }
  return status;
}

int32_t Board::DevWdtInit(OvxDevice* device, int32_t interval_ms, int32_t error_limit) {
  Delay(Function::DevWdtInit);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevWdtInit, -1, device, nullptr, CurrentThreadNumber());
  AppendArg(call, interval_ms);
  AppendArg(call, error_limit);
  int32_t status = Injected(Function::DevWdtInit, -1);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && (interval_ms <= 0 || error_limit <= 0)) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0) {
    watchdog_.state = 1;
    watchdog_.interval = static_cast<uint32_t>(interval_ms);
    watchdog_.err_count = static_cast<uint32_t>(error_limit);
    watchdog_.ovx_err = 0;
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::VpCreate(OvxDevice* device, OvxPlane* plane, int32_t type, int32_t flags) {
  Delay(Function::VpCreate);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::VpCreate, -1, device, plane, CurrentThreadNumber());
  AppendArg(call, type);
  AppendArg(call, flags);
  int32_t status = Injected(Function::VpCreate, -1);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && (plane == nullptr || type != OVX_VP_TYPE || flags != OVX_VP_FLAGS)) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0 && plane_created_) {
    status = OVXSIM_STATUS_WRONG_STATE;
  }
  if (status == 0) {
    plane_created_ = true;
    plane_handle_ = kPlaneHandleBase + ++plane_count_;
    *plane = plane_handle_;
    pending_ = OvxSimPlane{};
    committed_ = OvxSimPlane{};
    AppendArg(call, static_cast<int32_t>(plane_handle_));
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::VpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record) {
  Delay(Function::VpSetProp);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::VpSetProp, id, device, plane, CurrentThreadNumber());
  AppendArgs(call, record, PlaneRecordWords(id));
  int32_t status = Injected(Function::VpSetProp, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0) {
    status = CheckPlaneLocked(plane);
  }
  if (status == 0 && PlaneRecordWords(id) == 0) {
    status = OVXSIM_STATUS_BAD_PROPERTY;
  }
  if (status == 0 && record == nullptr) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0) {
    bool valid = true;
    OvxSimPlane next = pending_;
    switch (id) {
      case OVX_VP_PROP_ENABLE: {
        const int32_t enable = static_cast<const OvxPlaneEnable*>(record)->enable;
        valid = enable == 0 || enable == 1;
        next.enable = enable;
        break;
      }
      case OVX_VP_PROP_PLACEMENT: {
        const auto& placement = *static_cast<const OvxPlanePlacement*>(record);
        valid = placement.size.x >= 0 && placement.size.y >= 0;
        next.placement = placement;
        break;
      }
      case OVX_VP_PROP_PARTS_WHOLE:
      case OVX_VP_PROP_PARTS_CROP: {
        const auto& parts = *static_cast<const OvxPlaneParts*>(record);
        // The whole picture ignores top and size; a crop must lie on the grid.
        valid = id == OVX_VP_PROP_PARTS_WHOLE ? parts.parts.x > 0 && parts.parts.y > 0 : ValidCrop(parts);
        next.parts_id = id;
        next.parts = parts;
        break;
      }
      case OVX_VP_PROP_ANGLE: {
        const int32_t angle = static_cast<const OvxPlaneAngle*>(record)->angle;
        valid = angle == 0 || angle == 90 || angle == 180 || angle == 270;
        next.angle = angle;
        break;
      }
      case OVX_VP_PROP_INDEX:
        valid = static_cast<const OvxPlaneIndex*>(record)->index == 0;
        break;
      default:
        break;
    }
    if (valid) {
      pending_ = next;
    } else {
      status = OVXSIM_STATUS_BAD_ARGUMENT;
    }
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::VpDrawAll(OvxDevice* device) {
  Delay(Function::VpDrawAll);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::VpDrawAll, -1, device, nullptr, CurrentThreadNumber());
  int32_t status = Injected(Function::VpDrawAll, -1);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && !plane_created_) {
    status = OVXSIM_STATUS_WRONG_STATE;
  }
  if (status == 0) {
    committed_ = pending_;
    ++draw_count_;
    if (committed_.enable == 1) injections_.PlaneShown();
    WriteStateLocked();
  }
  call.status = status;
  Record(call);
  return status;
}

}  // namespace ovxsim
