// The viewer's device start sequence from open to the first plane update,
// against the simulated board: natively with a fake driver installation,
// under Wine through the prefix's real one.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "../versions/fake_device_install.h"
#include "capture/session/input_manager.h"
#include "fake_services.h"
#include "ovxcapture_sim.h"

namespace capture {
namespace {

std::vector<std::string> CallsOf(uint64_t thread, bool sameThread) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < OvxSim_CallCount(); ++i) {
    OvxSimCall c{};
    OvxSim_GetCall(i, &c);
    if ((c.thread_id == thread) != sameThread) continue;
    std::string name = c.function;
    if (c.property_id >= 0) name += ":" + std::to_string(c.property_id);
    names.push_back(name + (c.status != 0 ? "=" + std::to_string(c.status) : ""));
  }
  return names;
}

class StartSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
#ifndef _WIN32
    installation.AddDevice(L"{4d36e96c-e325-11ce-bfc1-08002be10318}\\0000",
                           {{L"MatchingDeviceId", testing::Sz(L"PCI\\VEN_7E21&DEV_0B58")},
                            {L"DriverVersion", testing::Sz(L"1.0.2.0")}});
#endif
  }
  void TearDown() override { InputManager::Destroy(); }

  testing::FakeServices fakes;
#ifndef _WIN32
  testing::FakeDeviceInstallation installation;
  ScopedDeviceInstallation useFake{installation};
#endif
};

TEST_F(StartSequence, FromOpenToTheFirstPlaneUpdate) {
  const uint64_t me = OvxSim_CurrentThreadId();
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->CheckFirmwareVersion(), 0);
  EXPECT_EQ(session->CheckDriverVersion(), 0);
  ASSERT_TRUE(session->CreatePlane({3840, 2560, 0}, 16, 20));
  ASSERT_TRUE(session->InitWatchdog(2000));
  ASSERT_FALSE(session->IsCallbackRegistered());
  ASSERT_TRUE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  InputSize size;
  EXPECT_EQ(session->QueryInputStatus(size), kSignalUnusable);  // the source is not there yet

  EXPECT_EQ(CallsOf(me, true),
            (std::vector<std::string>{"Ovx_DevOpen", "Ovx_DevGetProp:3", "Ovx_DevGetProp:1", "Ovx_VpCreate",
                                      "Ovx_DevGetProp:4", "Ovx_DevSetProp:7", "Ovx_VpSetProp:11",
                                      "Ovx_DevWdtInit", "Ovx_DevSetCb:6", "Ovx_DevGetProp:6"}));
  EXPECT_TRUE(fakes.eventLog.Texts().empty());

  // The forced first request tells the board everything once, hidden.
  for (int i = 0; i < 2000; ++i) {
    OvxSimState state{};
    OvxSim_GetState(&state);
    if (state.draw_count >= 1) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(CallsOf(me, false),
            (std::vector<std::string>{"Ovx_VpSetProp:10", "Ovx_VpSetProp:2", "Ovx_VpSetProp:3",
                                      "Ovx_VpSetProp:1", "Ovx_VpDrawAll"}));
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.enable, 0);
  EXPECT_EQ(shown.parts_id, OVX_VP_PROP_PARTS_WHOLE);

  // The HDMI source arrives: the callback raises the flag the frame polls.
  eventPending.store(0);
  ASSERT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1920, 1080), 1);
  EXPECT_EQ(eventPending.load(), 1u);
  EXPECT_TRUE(session->CheckWatchdog());
  EXPECT_EQ(session->QueryInputStatus(size), kSignalPresent);
  EXPECT_EQ(size.width, 1920);
  EXPECT_EQ(size.height, 1080);
}

TEST_F(StartSequence, AFailedStepIsReportedAndStopsTheStart) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  OvxSim_InjectStatus("Ovx_VpCreate", -1, -4, 1, 1);
  EXPECT_FALSE(session->CreatePlane({3840, 2560, 0}, 16, 20));
  EXPECT_EQ(fakes.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_VpCreate(-4)"});
}

}  // namespace
}  // namespace capture
