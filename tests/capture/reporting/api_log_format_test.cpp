#include "capture/reporting/api_log_format.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace capture {
namespace {

// Slot addresses as the log prints them.
const auto* const kDevice = reinterpret_cast<const OvxDevice*>(uintptr_t{0x12FF80});
const auto* const kPlane = reinterpret_cast<const OvxPlane*>(uintptr_t{0xABCDEF0123});
constexpr const char* kDev = "0x000000000012FF80";
constexpr const char* kPln = "0x000000ABCDEF0123";

TEST(ApiLogFormat, PointerHasSixteenUpperCaseDigits) {
  EXPECT_EQ(PointerText(nullptr), "0000000000000000");
  EXPECT_EQ(PointerText(reinterpret_cast<const void*>(uintptr_t{0xdeadbeef})), "00000000DEADBEEF");
#ifdef _WIN32
  // The same text as the system C runtime's own pointer conversion.
  int local = 0;
  char buffer[64] = {};
  _snprintf(buffer, sizeof buffer - 1, "%p", static_cast<void*>(&local));
  EXPECT_EQ(PointerText(&local), buffer);
#endif
}

TEST(ApiLogFormat, TimeStampAndStatusFields) {
  EXPECT_EQ(TimeStampText({2026, 1, 2, 3, 4, 5, 7}), "2026/01/02,03:04:05.7,");
  EXPECT_EQ(TimeStampText({2026, 12, 31, 23, 59, 59, 999}), "2026/12/31,23:59:59.999,");
  EXPECT_EQ(StatusText(-5, "Ovx_DevOpen"), "-5,Ovx_DevOpen,");
  EXPECT_EQ(ApiLogLine({2026, 12, 7, 9, 5, 3, 42}, 0, "Ovx_DevClose", DevCloseArgs(kDevice)),
            std::string("2026/12/07,09:05:03.42,0,Ovx_DevClose,") + kDev + "\n");
}

TEST(ApiLogFormat, DeviceCalls) {
  EXPECT_EQ(DevOpenArgs(kDevice, 0), std::string(kDev) + ",0");
  EXPECT_EQ(DevCloseArgs(kDevice), kDev);
  EXPECT_EQ(DevWdtInitArgs(kDevice, 2000, 5), std::string(kDev) + ",2000,5");
  EXPECT_EQ(DevSetCbArgs(kDevice, 6, nullptr), std::string(kDev) + ",6,0x0000000000000000");
  const auto callback = reinterpret_cast<OvxEventCallback>(uintptr_t{0x401560});
  EXPECT_EQ(DevSetCbArgs(kDevice, 6, callback), std::string(kDev) + ",6,0x0000000000401560");
}

TEST(ApiLogFormat, DevicePropertyRecords) {
  const OvxFirmwareInfo firmware{0x1A12FF00, 1, 2, 3, 4, 5, 6, 0xFFFFFFFF};
  EXPECT_EQ(DevPropArgs(kDevice, 1, &firmware),
            std::string(kDev) +
                ",1,firminfo_1:1 firminfo_2:2 firminfo_3:3 firminfo_4:4 firminfo_5:5 firminfo_6:6 "
                "firminfo_7:-1 version_no:0x1a12ff00");
  const OvxApiVersion api{0x10010000};
  EXPECT_EQ(DevPropArgs(kDevice, 2, &api), std::string(kDev) + ",2,version_no:0x10010000");
  const OvxWatchdogInfo watchdog{1, 2000, 5, 17, 4};
  EXPECT_EQ(DevPropArgs(kDevice, 3, &watchdog),
            std::string(kDev) + ",3,state:1 interval:2000 err_count:5 ovx_count:17 ovx_err:4");
  const OvxEventSize output{0, {3840, 2560}};
  EXPECT_EQ(DevPropArgs(kDevice, 4, &output), std::string(kDev) + ",4,event:0x0 size.x:3840 size.y:2560");
  const OvxEventSize input{0x12, {1920, 1080}};
  EXPECT_EQ(DevPropArgs(kDevice, 6, &input), std::string(kDev) + ",6,event:0x12 size.x:1920 size.y:1080");
  const OvxTime time{20};
  EXPECT_EQ(DevPropArgs(kDevice, 7, &time), std::string(kDev) + ",7,time:20");
  EXPECT_EQ(DevPropArgs(kDevice, 9, &time), std::string(kDev) + ",9");
  EXPECT_EQ(DevPropArgs(kDevice, 7, nullptr), std::string(kDev) + ",7,time:0");
}

TEST(ApiLogFormat, PlaneCalls) {
  EXPECT_EQ(VpCreateArgs(kDevice, kPlane, 2, 0), std::string(kDev) + "," + kPln + ",2,0");
  const OvxPlaneIndex index{0};
  EXPECT_EQ(VpSetPropArgs(kDevice, kPlane, 11, &index), std::string(kDev) + "," + kPln + ",11,index:0");
  const OvxPlaneAngle angle{270};
  EXPECT_EQ(VpSetPropArgs(kDevice, kPlane, 10, &angle), std::string(kDev) + "," + kPln + ",10,angle:270");
  const OvxPlanePlacement placement{{0, -4}, {1440, 2560}};
  EXPECT_EQ(VpSetPropArgs(kDevice, kPlane, 2, &placement),
            std::string(kDev) + "," + kPln + ",2,top.x:0 top.y:-4 size.x:1440 size.y:2560");
  const OvxPlaneParts parts{{3840, 2160}, {960, 540}, {1920, 1080}};
  EXPECT_EQ(VpSetPropArgs(kDevice, kPlane, 5, &parts),
            std::string(kDev) + "," + kPln +
                ",5,parts.x:3840 parts.y:2160 top.x:960 top.y:540 size.x:1920 size.y:1080");
  EXPECT_EQ(VpSetPropArgs(kDevice, kPlane, 3, &parts),
            std::string(kDev) + "," + kPln +
                ",3,parts.x:3840 parts.y:2160 top.x:960 top.y:540 size.x:1920 size.y:1080");
  const OvxPlaneEnable enable{1};
  EXPECT_EQ(VpSetPropArgs(kDevice, kPlane, 1, &enable), std::string(kDev) + "," + kPln + ",1,enb:1");
}

TEST(ApiLogFormat, CallbackRecordPadsTheEventWord) {
  EXPECT_EQ(CallbackArgs({0x02, {1920, 1080}}), "event:0x00000002 size.x:1920 size.y:1080");
  EXPECT_EQ(CallbackArgs({0xFFFFFFFF, {0, 0}}), "event:0xffffffff size.x:0 size.y:0");
  EXPECT_STREQ(kCallbackArrived, "Callback arrived.");
}

}  // namespace
}  // namespace capture
