#pragma once
// Synthetic captures for the overlap tests: 24-bit bottom-up images that
// start all key-coloured.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "overlap/captured_image.h"
#include "overlap/screen_capture.h"

namespace overlap {

class TestImage {
 public:
  TestImage(int32_t width, int32_t height)
      : width_(width),
        height_(height),
        stride_(static_cast<size_t>(Stride24(width))),
        bytes_(stride_ * static_cast<size_t>(height), 0xEE) {
    for (int32_t row = 0; row < height; ++row) {
      for (int32_t x = 0; x < width; ++x) SetScan(x, row, 0, 3, 0);
    }
  }
  // Row in memory order: row 0 is the bottom row of the picture.
  void SetScan(int32_t x, int32_t row, uint8_t red, uint8_t green, uint8_t blue) {
    uint8_t* pixel = bytes_.data() + static_cast<size_t>(row) * stride_ + static_cast<size_t>(x) * 3;
    pixel[0] = blue;
    pixel[1] = green;
    pixel[2] = red;
  }
  void MarkScan(int32_t x, int32_t row) { SetScan(x, row, 255, 0, 0); }
  // Picture coordinates: y 0 is the top row.
  void MarkPicture(int32_t x, int32_t y) { MarkScan(x, height_ - 1 - y); }

  ImageView View() const { return ImageView{bytes_.data(), width_, height_, stride_, 24}; }
  int32_t Height() const { return height_; }

 private:
  int32_t width_;
  int32_t height_;
  size_t stride_;
  std::vector<uint8_t> bytes_;
};

// Lets a test hold the detector's worker inside its comparison.
class Gate {
 public:
  void Open() {
    std::lock_guard<std::mutex> guard(lock_);
    open_ = true;
    changed_.notify_all();
  }
  void WaitOpen() {
    std::unique_lock<std::mutex> guard(lock_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(guard, [this] { return open_; });
  }
  // Until a worker waits at the gate (bounded).
  bool WaitForWaiter() {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::seconds(10), [this] { return waiting_ > 0; });
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool open_ = false;
  int waiting_ = 0;
};

class FakeScreen final : public ScreenCapture {
 public:
  class GatedCapture final : public CapturedImage {
   public:
    GatedCapture(TestImage image, Gate* gate, std::shared_ptr<int> freed)
        : image_(std::move(image)), gate_(gate), freed_(std::move(freed)) {}
    ~GatedCapture() override { ++*freed_; }
    ImageView View() const override {
      if (gate_ != nullptr) gate_->WaitOpen();
      return image_.View();
    }

   private:
    TestImage image_;
    Gate* gate_;
    std::shared_ptr<int> freed_;
  };

  std::unique_ptr<CapturedImage> Capture(const PixelRect& area) override {
    ++captures;
    lastArea = area;
    if (!next) return nullptr;
    return std::make_unique<GatedCapture>(*next, gate, freed);
  }

  std::unique_ptr<TestImage> next;  // what the screen shows; null gives no image
  Gate* gate = nullptr;
  int captures = 0;
  PixelRect lastArea;
  std::shared_ptr<int> freed = std::make_shared<int>(0);
};

}  // namespace overlap
