#pragma once
// A session on a freshly reset simulated board, with the fake services in
// place and their event log empty.
#include <gtest/gtest.h>

#include "capture/session/input_manager.h"
#include "fake_services.h"
#include "ovxcapture_sim.h"

namespace capture::testing {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
    session = InputManager::Create(0);
    ASSERT_NE(session, nullptr);
    fakes.eventLog.texts.clear();
  }
  void TearDown() override { InputManager::Destroy(); }

  FakeServices fakes;
  InputManager* session = nullptr;
};

}  // namespace capture::testing
