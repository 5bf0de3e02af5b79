#include "capture/reporting/api_log_format.h"

#include <cstdio>
#include <cstring>

namespace capture {
namespace {

std::string Printf(const char* format, auto... values) {
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, format, values...);
  if (n < 0) return {};
  return std::string(buffer,
                     static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n) : sizeof buffer - 1);
}

std::string Slot(const void* p) { return "0x" + PointerText(p); }

template <class T>
T Read(const void* record) {
  T value{};
  if (record != nullptr) std::memcpy(&value, record, sizeof value);
  return value;
}

}  // namespace

std::string PointerText(const void* pointer) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 0xF];
  return text;
}

std::string TimeStampText(const LocalTime& t) {
  return Printf("%04d/%02d/%02d,%02d:%02d:%02d.%d,", t.year, t.month, t.day, t.hour, t.minute, t.second,
                t.millisecond);
}

std::string StatusText(int32_t status, const char* function) {
  return std::to_string(status) + "," + (function != nullptr ? function : "") + ",";
}

std::string DevOpenArgs(const OvxDevice* device, int32_t reserved) {
  return Slot(device) + "," + std::to_string(reserved);
}

std::string DevCloseArgs(const OvxDevice* device) { return Slot(device); }

std::string DevPropArgs(const OvxDevice* device, int32_t id, const void* record) {
  std::string text = Slot(device) + "," + std::to_string(id);
  switch (id) {
    case OVX_DEV_PROP_FIRMWARE: {
      const auto f = Read<OvxFirmwareInfo>(record);
      return text +
             Printf(
                 ",firminfo_1:%d firminfo_2:%d firminfo_3:%d firminfo_4:%d firminfo_5:%d firminfo_6:%d "
                 "firminfo_7:%d version_no:0x%x",
                 static_cast<int>(f.firminfo_1), static_cast<int>(f.firminfo_2),
                 static_cast<int>(f.firminfo_3), static_cast<int>(f.firminfo_4),
                 static_cast<int>(f.firminfo_5), static_cast<int>(f.firminfo_6),
                 static_cast<int>(f.firminfo_7), static_cast<unsigned>(f.version_no));
    }
    case OVX_DEV_PROP_API:
      return text + Printf(",version_no:0x%x", static_cast<unsigned>(Read<OvxApiVersion>(record).version_no));
    case OVX_DEV_PROP_WATCHDOG: {
      const auto w = Read<OvxWatchdogInfo>(record);
      return text + Printf(",state:%d interval:%d err_count:%d ovx_count:%d ovx_err:%d",
                           static_cast<int>(w.state), static_cast<int>(w.interval),
                           static_cast<int>(w.err_count), static_cast<int>(w.ovx_count),
                           static_cast<int>(w.ovx_err));
    }
    case OVX_DEV_PROP_OUTPUT:
    case OVX_DEV_PROP_INPUT: {
      const auto e = Read<OvxEventSize>(record);
      return text +
             Printf(",event:0x%x size.x:%d size.y:%d", static_cast<unsigned>(e.event), e.size.x, e.size.y);
    }
    case OVX_DEV_PROP_TIME:
      return text + Printf(",time:%d", Read<OvxTime>(record).time);
    default:
      return text;
  }
}

std::string DevSetCbArgs(const OvxDevice* device, int32_t id, OvxEventCallback callback) {
  return Slot(device) + "," + std::to_string(id) + "," +
         Slot(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(callback)));
}

std::string DevWdtInitArgs(const OvxDevice* device, int32_t interval, int32_t limit) {
  return Slot(device) + "," + std::to_string(interval) + "," + std::to_string(limit);
}

std::string VpCreateArgs(const OvxDevice* device, const OvxPlane* plane, int32_t type, int32_t flags) {
  return Slot(device) + "," + Slot(plane) + "," + std::to_string(type) + "," + std::to_string(flags);
}

std::string VpSetPropArgs(const OvxDevice* device, const OvxPlane* plane, int32_t id, const void* record) {
  std::string text = Slot(device) + "," + Slot(plane) + "," + std::to_string(id);
  switch (id) {
    case OVX_VP_PROP_INDEX:
      return text + Printf(",index:%d", Read<OvxPlaneIndex>(record).index);
    case OVX_VP_PROP_ANGLE:
      return text + Printf(",angle:%d", Read<OvxPlaneAngle>(record).angle);
    case OVX_VP_PROP_PLACEMENT: {
      const auto p = Read<OvxPlanePlacement>(record);
      return text + Printf(",top.x:%d top.y:%d size.x:%d size.y:%d", p.top.x, p.top.y, p.size.x, p.size.y);
    }
    case OVX_VP_PROP_PARTS_WHOLE:
    case OVX_VP_PROP_PARTS_CROP: {
      const auto p = Read<OvxPlaneParts>(record);
      return text + Printf(",parts.x:%d parts.y:%d top.x:%d top.y:%d size.x:%d size.y:%d", p.parts.x,
                           p.parts.y, p.top.x, p.top.y, p.size.x, p.size.y);
    }
    case OVX_VP_PROP_ENABLE:
      return text + Printf(",enb:%d", Read<OvxPlaneEnable>(record).enable);
    default:
      return text;
  }
}

std::string CallbackArgs(const OvxEventSize& record) {
  return Printf("event:0x%08x size.x:%d size.y:%d", static_cast<unsigned>(record.event), record.size.x,
                record.size.y);
}

std::string ApiLogLine(const LocalTime& time, int32_t status, const char* function, const std::string& args) {
  return TimeStampText(time) + StatusText(status, function) + args + "\n";
}

}  // namespace capture
