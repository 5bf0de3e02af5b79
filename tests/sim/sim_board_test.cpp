// Board semantics of the simulated capture board: the nine functions on a
// closed and an open device, the plane, injected statuses and the call record.
#include <cstring>
#include <string>

#include "sim_test_support.h"

namespace {

using simtest::SimTest;

class SimBoardTest : public SimTest {};

TEST_F(SimBoardTest, DefaultBoardAnswersWithFittingValues) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_NE(device_, 0u);

  OvxFirmwareInfo firmware{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_FIRMWARE, &firmware), 0);
  EXPECT_EQ(firmware.version_no & 0xF00000FFu, 0x10000000u);  // major 1, revision 0

  OvxApiVersion api{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_API, &api), 0);
  EXPECT_EQ(api.version_no >> 28, 1u);

  OvxWatchdogInfo wdt{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &wdt), 0);
  EXPECT_EQ(wdt.state, 1u);
  EXPECT_EQ(wdt.interval, 2000u);
  EXPECT_EQ(wdt.err_count, 5u);
  EXPECT_EQ(wdt.ovx_count, 0u);
  EXPECT_EQ(wdt.ovx_err, 0u);

  OvxEventSize output{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &output), 0);
  EXPECT_EQ(output.size.x, 3840);
  EXPECT_EQ(output.size.y, 2560);

  // No source until the scenario's arrival.
  OvxEventSize input{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input), 0);
  EXPECT_EQ(input.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
  EXPECT_EQ(input.size.x, 0);
  EXPECT_EQ(input.size.y, 0);
}

TEST_F(SimBoardTest, ClosedDeviceRefusesEveryCall) {
  OvxEventSize record{7, {8, 9}};
  const OvxTime time{40};
  const OvxPlaneEnable enable{1};
  EXPECT_EQ(Ovx_DevClose(&device_), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &record), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_DevSetProp(&device_, OVX_DEV_PROP_TIME, &time), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, simtest::CallbackRecorder::Callback),
            OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_DevWdtInit(&device_, 2000, 5), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_VpCreate(&device_, &plane_, OVX_VP_TYPE, OVX_VP_FLAGS), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &enable), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(Ovx_VpDrawAll(&device_), OVXSIM_STATUS_NOT_OPEN);
  EXPECT_EQ(record.event, 7u);  // a failed read leaves the record alone
  EXPECT_EQ(record.size.x, 8);
  EXPECT_EQ(State().callback_set, 0);
}

TEST_F(SimBoardTest, OpenCloseLifecycle) {
  EXPECT_EQ(Ovx_DevOpen(&device_, 1), OVXSIM_STATUS_BAD_ARGUMENT);  // reserved must be 0
  EXPECT_EQ(State().opened, 0);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_EQ(State().opened, 1);

  OvxDevice second = 0;
  EXPECT_EQ(Ovx_DevOpen(&second, 0), OVXSIM_STATUS_WRONG_STATE);
  EXPECT_EQ(second, 0u);

  OvxDevice stale = device_ + 1;
  EXPECT_EQ(Ovx_DevClose(&stale), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(State().opened, 1);

  ASSERT_EQ(Ovx_DevClose(&device_), 0);
  EXPECT_EQ(State().opened, 0);
  EXPECT_EQ(Ovx_DevClose(&device_), OVXSIM_STATUS_NOT_OPEN);

  // Reopening works and gives a fresh handle.
  OvxDevice again = 0;
  ASSERT_EQ(Ovx_DevOpen(&again, 0), 0);
  EXPECT_NE(again, 0u);
}

TEST_F(SimBoardTest, NullPointersFailWithoutCrashing) {
  EXPECT_EQ(Ovx_DevOpen(nullptr, 0), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_DevClose(nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  OpenWithPlane();
  EXPECT_EQ(Ovx_DevGetProp(nullptr, OVX_DEV_PROP_INPUT, nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_DevSetProp(&device_, OVX_DEV_PROP_TIME, nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_DevSetCb(nullptr, OVX_CALLBACK_ID, nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_DevWdtInit(nullptr, 2000, 5), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, nullptr, OVX_VP_PROP_ENABLE, nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpDrawAll(nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  // The record keeps nothing it could not read.
  const OvxSimCall call = LastCall();
  EXPECT_STREQ(call.function, "Ovx_VpDrawAll");
  EXPECT_EQ(call.device_slot, nullptr);
}

TEST_F(SimBoardTest, UnknownPropertyIdsAreRefused) {
  OpenWithPlane();
  uint32_t words[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Ovx_DevGetProp(&device_, 5, words), OVXSIM_STATUS_BAD_PROPERTY);
  EXPECT_EQ(Ovx_DevGetProp(&device_, 0, words), OVXSIM_STATUS_BAD_PROPERTY);
  EXPECT_EQ(Ovx_DevGetProp(&device_, -1, words), OVXSIM_STATUS_BAD_PROPERTY);
  EXPECT_EQ(Ovx_DevSetProp(&device_, OVX_DEV_PROP_INPUT, words), OVXSIM_STATUS_BAD_PROPERTY);  // read-only
  EXPECT_EQ(Ovx_DevSetCb(&device_, 5, nullptr), OVXSIM_STATUS_BAD_PROPERTY);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, 4, words), OVXSIM_STATUS_BAD_PROPERTY);
  EXPECT_EQ(words[0], 1u);
  EXPECT_EQ(words[7], 8u);
}

TEST_F(SimBoardTest, AudioDelayIsReadAndWritten) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxTime time{-1};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_TIME, &time), 0);
  EXPECT_EQ(time.time, 0);
  const OvxTime wanted{120};
  ASSERT_EQ(Ovx_DevSetProp(&device_, OVX_DEV_PROP_TIME, &wanted), 0);
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_TIME, &time), 0);
  EXPECT_EQ(time.time, 120);
  EXPECT_EQ(State().audio_delay, 120);
  const OvxTime negative{-5};
  EXPECT_EQ(Ovx_DevSetProp(&device_, OVX_DEV_PROP_TIME, &negative), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(State().audio_delay, 120);
}

TEST_F(SimBoardTest, WatchdogInitArmsWithTheLimit) {
  OvxWatchdogInfo tired{3, 100, 2, 17, 9};
  OvxSim_SetWatchdog(&tired);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  ASSERT_EQ(Ovx_DevWdtInit(&device_, 1500, OVX_WDT_ERROR_LIMIT), 0);
  const OvxWatchdogInfo wdt = State().watchdog;
  EXPECT_EQ(wdt.state, 1u);
  EXPECT_EQ(wdt.interval, 1500u);
  EXPECT_EQ(wdt.err_count, 5u);
  EXPECT_EQ(wdt.ovx_err, 0u);
  EXPECT_EQ(wdt.ovx_count, 17u);
  EXPECT_EQ(Ovx_DevWdtInit(&device_, 0, 5), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_DevWdtInit(&device_, 2000, 0), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(State().watchdog.interval, 1500u);
}

TEST_F(SimBoardTest, PlaneNeedsCreateAndValidArguments) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  const OvxPlaneEnable on{1};
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &on), OVXSIM_STATUS_WRONG_STATE);
  EXPECT_EQ(Ovx_VpDrawAll(&device_), OVXSIM_STATUS_WRONG_STATE);
  EXPECT_EQ(Ovx_VpCreate(&device_, &plane_, 1, 0), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpCreate(&device_, &plane_, OVX_VP_TYPE, 1), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(State().plane_created, 0);
  ASSERT_EQ(Ovx_VpCreate(&device_, &plane_, OVX_VP_TYPE, OVX_VP_FLAGS), 0);
  EXPECT_NE(plane_, 0u);
  EXPECT_EQ(State().plane_created, 1);
  OvxPlane other = 0;
  EXPECT_EQ(Ovx_VpCreate(&device_, &other, OVX_VP_TYPE, OVX_VP_FLAGS), OVXSIM_STATUS_WRONG_STATE);

  const OvxPlaneEnable two{2};
  const OvxPlaneAngle crooked{45};
  const OvxPlaneIndex index1{1};
  const OvxPlanePlacement negative{{0, 0}, {-1, 10}};
  const OvxPlaneParts outside{{3840, 2160}, {3000, 0}, {1000, 100}};
  const OvxPlaneParts empty_crop{{3840, 2160}, {0, 0}, {0, 100}};
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &two), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ANGLE, &crooked), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_INDEX, &index1), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &negative), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PARTS_CROP, &outside), OVXSIM_STATUS_BAD_ARGUMENT);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PARTS_CROP, &empty_crop),
            OVXSIM_STATUS_BAD_ARGUMENT);
  OvxPlane wrong = plane_ + 1;
  EXPECT_EQ(Ovx_VpSetProp(&device_, &wrong, OVX_VP_PROP_ENABLE, &on), OVXSIM_STATUS_BAD_ARGUMENT);
  const OvxSimState s = State();
  EXPECT_EQ(s.plane_enable, 0);
  EXPECT_EQ(s.plane_angle, 0);
  EXPECT_EQ(s.plane_parts_id, 0);

  // Closing drops the plane; the next open needs a new one.
  ASSERT_EQ(Ovx_DevClose(&device_), 0);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_EQ(State().plane_created, 0);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &on), OVXSIM_STATUS_WRONG_STATE);
}

TEST_F(SimBoardTest, PlanePropertiesTakeEffectWithDrawAll) {
  OpenWithPlane();
  const OvxPlaneIndex index{0};
  const OvxPlaneAngle angle{270};
  const OvxPlanePlacement placement{{0, 0}, {1440, 2560}};
  const OvxPlaneParts whole{{3840, 2160}, {0, 0}, {0, 0}};
  const OvxPlaneParts crop{{3840, 2160}, {960, 540}, {1920, 1080}};
  const OvxPlaneEnable on{1};
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_INDEX, &index), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ANGLE, &angle), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &placement), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PARTS_WHOLE, &whole), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &on), 0);

  OvxSimState s = State();
  EXPECT_EQ(s.plane_enable, 1);
  EXPECT_EQ(s.plane_angle, 270);
  EXPECT_EQ(s.plane_placement.size.x, 1440);
  EXPECT_EQ(s.plane_placement.size.y, 2560);
  EXPECT_EQ(s.plane_parts_id, OVX_VP_PROP_PARTS_WHOLE);
  EXPECT_EQ(s.draw_count, 0u);
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.enable, 0);  // nothing shows before Ovx_VpDrawAll

  ASSERT_EQ(Ovx_VpDrawAll(&device_), 0);
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.enable, 1);
  EXPECT_EQ(shown.angle, 270);
  EXPECT_EQ(shown.placement.size.y, 2560);
  EXPECT_EQ(State().draw_count, 1u);

  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PARTS_CROP, &crop), 0);
  s = State();
  EXPECT_EQ(s.plane_parts_id, OVX_VP_PROP_PARTS_CROP);
  EXPECT_EQ(s.plane_parts.top.x, 960);
  EXPECT_EQ(s.plane_parts.size.y, 1080);
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.parts_id, OVX_VP_PROP_PARTS_WHOLE);
  ASSERT_EQ(Ovx_VpDrawAll(&device_), 0);
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.parts_id, OVX_VP_PROP_PARTS_CROP);
  EXPECT_EQ(State().draw_count, 2u);
}

TEST_F(SimBoardTest, ControlSettersChangeWhatTheBoardReports) {
  const OvxFirmwareInfo old_firmware{0x0FFFFFFFu, 1, 2, 3, 4, 5, 6, 7};
  OvxSim_SetFirmware(&old_firmware);
  OvxSim_SetApiVersion(0x20000001u);
  const OvxEventSize panel{0, {2560, 1600}};
  OvxSim_SetOutput(&panel);
  const OvxEventSize input{OVX_EVENT_INPUT_PRESENT, {3840, 2160}};
  OvxSim_SetInput(&input);
  OvxSim_SetFirmware(nullptr);  // ignored
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);

  OvxFirmwareInfo firmware{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_FIRMWARE, &firmware), 0);
  EXPECT_EQ(firmware.version_no, 0x0FFFFFFFu);
  EXPECT_EQ(firmware.firminfo_7, 7u);
  OvxApiVersion api{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_API, &api), 0);
  EXPECT_EQ(api.version_no, 0x20000001u);
  OvxEventSize record{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &record), 0);
  EXPECT_EQ(record.size.x, 2560);
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &record), 0);
  EXPECT_EQ(record.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));
  EXPECT_EQ(record.size.y, 2160);
}

TEST_F(SimBoardTest, InjectedStatusReplacesTheCallAndLeavesTheRecord) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_INPUT, -77, 1, 0);
  OvxEventSize input{0xAB, {11, 22}};
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input), -77);
  EXPECT_EQ(input.event, 0xABu);
  EXPECT_EQ(input.size.x, 11);
  EXPECT_EQ(input.size.y, 22);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input), -77);  // count 0: for good

  // Other property ids are not touched by the filter.
  OvxWatchdogInfo wdt{};
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &wdt), 0);

  // Status 0 clears it.
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_INPUT, 0, 1, 0);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input), 0);
  EXPECT_EQ(input.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
}

TEST_F(SimBoardTest, InjectionWindowFromAndCount) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  // Calls 3 and 4 from now fail.
  OvxSim_InjectStatus("Ovx_DevWdtInit", -1, 9, 3, 2);
  int32_t results[6];
  for (int32_t& r : results) {
    r = Ovx_DevWdtInit(&device_, 2000, 5);
  }
  EXPECT_EQ(results[0], 0);
  EXPECT_EQ(results[1], 0);
  EXPECT_EQ(results[2], 9);
  EXPECT_EQ(results[3], 9);
  EXPECT_EQ(results[4], 0);
  EXPECT_EQ(results[5], 0);
}

TEST_F(SimBoardTest, InjectionCountsOnlyMatchingCalls) {
  OpenWithPlane();
  // The second property-2 call fails, whatever other properties are set between.
  OvxSim_InjectStatus("Ovx_VpSetProp", OVX_VP_PROP_PLACEMENT, -8, 2, 1);
  const OvxPlanePlacement placement{{1, 1}, {100, 100}};
  const OvxPlaneAngle angle{90};
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ANGLE, &angle), 0);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &placement), 0);
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ANGLE, &angle), 0);
  const OvxPlanePlacement moved{{5, 5}, {200, 200}};
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &moved), -8);
  EXPECT_EQ(State().plane_placement.size.x, 100);  // a failed set stores nothing
  EXPECT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &moved), 0);
  EXPECT_EQ(State().plane_placement.size.x, 200);
}

TEST_F(SimBoardTest, InjectionOnOpenAndCloseLeavesTheDeviceAsItWas) {
  OvxSim_InjectStatus("Ovx_DevOpen", -1, -5, 1, 1);
  EXPECT_EQ(Ovx_DevOpen(&device_, 0), -5);
  EXPECT_EQ(State().opened, 0);
  EXPECT_EQ(device_, 0u);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxSim_InjectStatus("Ovx_DevClose", -1, -6, 1, 1);
  EXPECT_EQ(Ovx_DevClose(&device_), -6);
  EXPECT_EQ(State().opened, 1);
  EXPECT_EQ(Ovx_DevClose(&device_), 0);
}

TEST_F(SimBoardTest, NewestInjectionWinsAndWildcardClearRemovesAll) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxEventSize record{};
  OvxSim_InjectStatus("Ovx_DevGetProp", -1, -1000, 1, 0);
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_OUTPUT, -2000, 1, 0);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &record), -2000);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &record), -1000);
  // Clearing the property filter leaves the wildcard rule.
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_OUTPUT, 0, 1, 0);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &record), -1000);
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_OUTPUT, -2000, 1, 0);
  OvxSim_InjectStatus("Ovx_DevGetProp", -1, 0, 1, 0);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &record), 0);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &record), 0);
}

TEST_F(SimBoardTest, BadInjectionRequestsAreIgnored) {
  testing::internal::CaptureStderr();
  OvxSim_InjectStatus("Ovx_NoSuchFunction", -1, -1, 1, 0);
  OvxSim_InjectStatus(nullptr, -1, -1, 1, 0);
  OvxSim_InjectStatus("Ovx_DevOpen", 3, -1, 1, 0);  // DevOpen has no property id
  OvxSim_SetCallDelay("ovx_devopen", 10);           // names are case-sensitive
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("unknown function 'Ovx_NoSuchFunction'"), std::string::npos) << err;
  EXPECT_NE(err.find("unknown function '(null)'"), std::string::npos) << err;
  EXPECT_NE(err.find("Ovx_DevOpen takes no property id"), std::string::npos) << err;
  EXPECT_NE(err.find("unknown function 'ovx_devopen'"), std::string::npos) << err;
  EXPECT_EQ(Ovx_DevOpen(&device_, 0), 0);
}

TEST_F(SimBoardTest, ResetClearsInjectionsAndState) {
  OvxSim_InjectStatus("Ovx_DevOpen", -1, -5, 1, 0);
  const OvxWatchdogInfo dead{0, 0, 0, 0, 0};
  OvxSim_SetWatchdog(&dead);
  OvxSim_Reset();
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_EQ(State().watchdog.err_count, 5u);
  EXPECT_EQ(OvxSim_CallCount(), 1u);
  OvxSim_Reset();
  EXPECT_EQ(State().opened, 0);
  EXPECT_EQ(OvxSim_CallCount(), 0u);
  EXPECT_EQ(OvxSim_ClockMs(), 0u);
}

TEST_F(SimBoardTest, CallRecordHoldsArgumentsStatusThreadAndSlots) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  ASSERT_EQ(Ovx_VpCreate(&device_, &plane_, OVX_VP_TYPE, OVX_VP_FLAGS), 0);
  OvxEventSize input{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &input), 0);
  const OvxPlaneParts crop{{3840, 2160}, {10, 20}, {30, 40}};
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PARTS_CROP, &crop), 0);
  ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, nullptr), 0);
  EXPECT_EQ(Ovx_DevWdtInit(&device_, -3, 5), OVXSIM_STATUS_BAD_ARGUMENT);
  ASSERT_EQ(OvxSim_CallCount(), 6u);

  OvxSimCall c{};
  ASSERT_EQ(OvxSim_GetCall(0, &c), 1);
  EXPECT_EQ(c.sequence, 1u);
  EXPECT_STREQ(c.function, "Ovx_DevOpen");
  EXPECT_EQ(c.property_id, -1);
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.device_slot, static_cast<const void*>(&device_));
  EXPECT_EQ(c.plane_slot, nullptr);
  EXPECT_EQ(c.thread_id, OvxSim_CurrentThreadId());
  ASSERT_GE(c.arg_count, 1u);
  EXPECT_EQ(c.args[0], 0);

  ASSERT_EQ(OvxSim_GetCall(1, &c), 1);
  EXPECT_STREQ(c.function, "Ovx_VpCreate");
  EXPECT_EQ(c.plane_slot, static_cast<const void*>(&plane_));
  ASSERT_GE(c.arg_count, 2u);
  EXPECT_EQ(c.args[0], OVX_VP_TYPE);
  EXPECT_EQ(c.args[1], OVX_VP_FLAGS);

  ASSERT_EQ(OvxSim_GetCall(2, &c), 1);
  EXPECT_STREQ(c.function, "Ovx_DevGetProp");
  EXPECT_EQ(c.property_id, OVX_DEV_PROP_OUTPUT);
  ASSERT_EQ(c.arg_count, 3u);  // the record as returned
  EXPECT_EQ(c.args[1], 3840);
  EXPECT_EQ(c.args[2], 2560);

  ASSERT_EQ(OvxSim_GetCall(3, &c), 1);
  EXPECT_STREQ(c.function, "Ovx_VpSetProp");
  EXPECT_EQ(c.property_id, OVX_VP_PROP_PARTS_CROP);
  ASSERT_EQ(c.arg_count, 6u);
  const int32_t expected[6] = {3840, 2160, 10, 20, 30, 40};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(c.args[i], expected[i]) << i;
  }

  ASSERT_EQ(OvxSim_GetCall(4, &c), 1);
  EXPECT_STREQ(c.function, "Ovx_DevSetCb");
  EXPECT_EQ(c.property_id, OVX_CALLBACK_ID);
  ASSERT_EQ(c.arg_count, 2u);
  EXPECT_EQ(c.args[0], 0);
  EXPECT_EQ(c.args[1], 0);

  ASSERT_EQ(OvxSim_GetCall(5, &c), 1);
  EXPECT_STREQ(c.function, "Ovx_DevWdtInit");
  EXPECT_EQ(c.status, OVXSIM_STATUS_BAD_ARGUMENT);
  ASSERT_EQ(c.arg_count, 2u);
  EXPECT_EQ(c.args[0], -3);
  EXPECT_EQ(c.args[1], 5);
  EXPECT_EQ(c.sequence, 6u);

  EXPECT_EQ(OvxSim_GetCall(6, &c), 0);
  EXPECT_EQ(OvxSim_GetCall(0, nullptr), 0);
}

TEST_F(SimBoardTest, FailedGetPropRecordsTheUnchangedRecord) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_INPUT, -4, 1, 1);
  OvxEventSize input{0x10, {640, 480}};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input), -4);
  const OvxSimCall c = LastCall();
  EXPECT_EQ(c.status, -4);
  ASSERT_EQ(c.arg_count, 3u);
  EXPECT_EQ(c.args[0], 0x10);
  EXPECT_EQ(c.args[1], 640);
  EXPECT_EQ(c.args[2], 480);
}

TEST_F(SimBoardTest, CallsCanBeFormattedAndCleared) {
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxTime time{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_TIME, &time), 0);
  char text[256];
  ASSERT_EQ(OvxSim_FormatCall(1, text, sizeof text), 1);
  const std::string line = text;
  EXPECT_EQ(line.rfind("#2 thread ", 0), 0u) << line;
  EXPECT_NE(line.find("Ovx_DevGetProp(device "), std::string::npos) << line;
  EXPECT_NE(line.find(", id 7) -> 0 [0]"), std::string::npos) << line;

  char tiny[6];
  ASSERT_EQ(OvxSim_FormatCall(1, tiny, sizeof tiny), 1);
  EXPECT_STREQ(tiny, "#2 th");
  EXPECT_EQ(OvxSim_FormatCall(5, text, sizeof text), 0);
  EXPECT_STREQ(text, "");

  OvxSim_ClearCalls();
  EXPECT_EQ(OvxSim_CallCount(), 0u);
  ASSERT_EQ(Ovx_DevClose(&device_), 0);
  OvxSimCall c{};
  ASSERT_EQ(OvxSim_GetCall(0, &c), 1);
  EXPECT_EQ(c.sequence, 3u);  // numbering goes on over a clear
}

}  // namespace
