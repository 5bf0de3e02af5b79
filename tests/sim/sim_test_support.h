// Helpers shared by the simulated board's tests.
#ifndef TESTS_SIM_SIM_TEST_SUPPORT_H
#define TESTS_SIM_SIM_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "ovxcapture_sim.h"

namespace simtest {

inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void UnsetEnv(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  unsetenv(name);
#endif
}

// A file under the test's temporary folder, removed with the object.
class TempFile {
 public:
  TempFile(const std::string& name, const std::string& contents) : path_(testing::TempDir() + name) {
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (f != nullptr) {
      std::fwrite(contents.data(), 1, contents.size(), f);
      std::fclose(f);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// What the board delivered to the test's callback.
struct Delivery {
  OvxEventSize record;
  uint64_t thread_id;
};

class CallbackRecorder {
 public:
  static CallbackRecorder& Get() {
    static CallbackRecorder recorder;
    return recorder;
  }
  static void Callback(OvxEventSize* record) { Get().Add(*record); }

  void Add(const OvxEventSize& record) {
    std::lock_guard lock(mutex_);
    deliveries_.push_back({record, OvxSim_CurrentThreadId()});
    changed_.notify_all();
  }
  std::vector<Delivery> Deliveries() {
    std::lock_guard lock(mutex_);
    return deliveries_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    deliveries_.clear();
  }
  // Bounded wait for an "eventually" condition.
  bool WaitForCount(std::size_t n) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return deliveries_.size() >= n; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Delivery> deliveries_;
};

// Every test starts and ends on a board at power-on with a manual clock.
class SimTest : public testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
    CallbackRecorder::Get().Clear();
  }
  void TearDown() override { OvxSim_Reset(); }

  OvxSimState State() {
    OvxSimState s{};
    OvxSim_GetState(&s);
    return s;
  }
  OvxSimCall LastCall() {
    OvxSimCall call{};
    const uint32_t n = OvxSim_CallCount();
    EXPECT_GT(n, 0u);
    if (n > 0) {
      EXPECT_EQ(OvxSim_GetCall(n - 1, &call), 1);
    }
    return call;
  }
  // Opens the device and creates the plane as the viewer does.
  void OpenWithPlane() {
    ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
    ASSERT_EQ(Ovx_VpCreate(&device_, &plane_, OVX_VP_TYPE, OVX_VP_FLAGS), 0);
  }

  OvxDevice device_ = 0;
  OvxPlane plane_ = 0;
};

}  // namespace simtest

#endif
