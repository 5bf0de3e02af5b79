#pragma once
// Fakes of the frame's ports that record what the frame asked for.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/frame_controller.h"
#include "app/frame_ports.h"
#include "app/screen_views.h"
#include "app/tablet_mode.h"

namespace app_test {

struct FakeSession : app::DeviceSession {
  int32_t firmware = 0;
  int32_t driver = 0;
  bool createPlaneOk = true;
  bool initWatchdogOk = true;
  bool registerOk = true;
  bool watchdogOk = true;
  bool suspendOk = true;
  bool delayOk = true;
  bool opened = true;
  int32_t status = 0;  // next QueryInputStatus result
  int32_t width = 0;
  int32_t height = 0;
  bool registered = false;
  bool pending = false;
  bool notifications = true;
  int32_t savedInterval = 1500;
  int32_t savedTime = 33;
  std::vector<std::string> calls;
  std::vector<int32_t> watchdogIntervals;
  int32_t planeWidth = -1, planeHeight = -1, planeAudioDelay = -1;
  uint32_t planeInterval = 0;

  capture::VersionCheckResult CheckFirmwareVersion() override {
    calls.push_back("firmware");
    return static_cast<capture::VersionCheckResult>(firmware);
  }
  capture::VersionCheckResult CheckDriverVersion() override {
    calls.push_back("driver");
    return static_cast<capture::VersionCheckResult>(driver);
  }
  bool CreatePlane(int32_t w, int32_t h, uint32_t interval, int32_t delay) override {
    calls.push_back("plane");
    planeWidth = w;
    planeHeight = h;
    planeInterval = interval;
    planeAudioDelay = delay;
    return createPlaneOk;
  }
  bool InitWatchdog(int32_t ms) override {
    calls.push_back("watchdog");
    watchdogIntervals.push_back(ms);
    return initWatchdogOk;
  }
  bool IsCallbackRegistered() const override { return registered; }
  bool RegisterCallback() override {
    calls.push_back("callback");
    if (registerOk) registered = true;
    return registerOk;
  }
  capture::SignalStatus QueryInputStatus(int32_t& w, int32_t& h) override {
    calls.push_back("query");
    pending = false;
    if (status != capture::kSignalReadError) {
      w = width;
      h = height;
    }
    return static_cast<capture::SignalStatus>(status);
  }
  bool CheckWatchdog() override {
    calls.push_back("check");
    return watchdogOk;
  }
  bool Suspend() override {
    calls.push_back("suspend");
    registered = false;
    return suspendOk;
  }
  bool SetDelayTime(int32_t ms) override {
    calls.push_back("delay " + std::to_string(ms));
    return delayOk;
  }
  int32_t SavedWatchdogInterval() const override { return savedInterval; }
  int32_t SavedTime() const override { return savedTime; }
  bool IsOpened() const override { return opened; }
  bool EventPending() const override { return pending; }
  void SetNotificationsEnabled(bool enabled) override { notifications = enabled; }

  // The board reports a source of this size from now on.
  void Signal(int32_t w, int32_t h) {
    status = 2;
    width = w;
    height = h;
  }
};

struct FakePlane : app::PlaneOutput {
  std::vector<std::string> requests;
  app::PlaneGeometry last{};
  void ShowAt(const app::PlaneGeometry& g) override {
    last = g;
    requests.push_back("show");
  }
  void Hide() override { requests.push_back("hide"); }
  void Audio(bool on) override { requests.push_back(on ? "audio 1" : "audio 0"); }
  void WholeInput() override { requests.push_back("whole"); }
  void Crop(int32_t x, int32_t y, int32_t w, int32_t h) override {
    requests.push_back("crop " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
                       std::to_string(h));
  }
};

struct FakeTimers : app::FrameTimers {
  std::map<uint32_t, uint32_t> running;  // id -> period
  std::vector<std::string> log;
  void Start(uint32_t id, uint32_t ms) override {
    running[id] = ms;
    log.push_back("start " + std::to_string(id));
  }
  void Kill(uint32_t id) override { running.erase(id); }
  bool IsRunning(uint32_t id) const override { return running.count(id) != 0; }
  uint64_t NowMs() const override { return now; }
  uint64_t now = 1000000;
};

// The frame's window and its splitter.
struct FakeWindow : app::FrameWindow, app::ScreenViews {
  std::vector<app::ScreenKind> switches;
  std::vector<views::DisplayLayout> relayouts;
  app::Rect area{100, 50, 1060, 590};
  app::DisplayState display{1920, 1280, 0, {0, 0, 1920, 1280}, {0, 0, 1920, 1240}};
  bool probeOk = true;
  bool minimised = false;
  bool closed = false;
  int keepAwake = 0;
  std::vector<std::pair<int32_t, int32_t>> fits;
  int32_t lastBar = 0;
  // The window's style notices go back to the frame, as the platform's do.
  app::FrameController* frame = nullptr;
  bool popup = false;
  std::vector<std::string> modes;
  // Check state of each kind's display view (the play view and the
  // Overlapped view are watched; Waiting waits for its one check).
  uint32_t playCheckState = 1;
  bool paused = false;
  uint32_t overlapAnswer = 0;
  int overlapChecks = 0;
  std::vector<bool> planeShown;

  void SwitchTo(app::ScreenKind kind) override { switches.push_back(kind); }
  app::ScreenKind Shown() const { return switches.empty() ? app::ScreenKind::None : switches.back(); }
  uint32_t CheckState() const override {
    if (paused) return 0;
    switch (Shown()) {
      case app::ScreenKind::Play:
      case app::ScreenKind::PlayBarHidden:
        return playCheckState;
      case app::ScreenKind::Overlapped:
        return 1;
      case app::ScreenKind::Waiting:
        return 2;
      default:
        return 0;
    }
  }
  void PauseChecks() override { paused = true; }
  void ResumeChecks() override { paused = false; }
  uint32_t CheckOverlap() override {
    ++overlapChecks;
    return overlapAnswer;
  }
  void SetPlaneShown(bool shown) override { planeShown.push_back(shown); }
  void SetPopup(bool on) {
    const bool old = popup;
    popup = on;
    if (frame != nullptr) frame->OnStyleChanged(old, on);
  }
  void EnterFullScreen() override {
    modes.push_back("full");
    SetPopup(true);
  }
  void LeaveFullScreen() override {
    modes.push_back("normal");
    SetPopup(false);
  }
  void MinimiseToForeground() override {
    modes.push_back("minimise");
    minimised = true;
  }
  app::Rect DisplayArea() const override { return area; }
  void Relayout(const views::DisplayLayout& layout) override { relayouts.push_back(layout); }
  bool ProbeDisplay(app::DisplayState& d) override {
    if (probeOk) d = display;
    return probeOk;
  }
  bool IsMinimised() const override { return minimised; }
  bool FitToInput(int32_t w, int32_t h, int32_t bar) override {
    fits.emplace_back(w, h);
    lastBar = bar;
    return true;
  }
  void Close() override { closed = true; }
  void KeepAwake() override { ++keepAwake; }
};

struct FakeTablet : app::TabletModeSource {
  bool ok = true;
  int32_t mode = 1;
  int loads = 0;
  bool Load(int32_t& m) override {
    ++loads;
    if (ok) m = mode;
    return ok;
  }
};

}  // namespace app_test
