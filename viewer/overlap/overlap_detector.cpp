#include "overlap/overlap_detector.h"

#include <system_error>

#include "overlap/overlap_compare.h"

namespace overlap {

COverlapDetector& COverlapDetector::Instance() {
  static COverlapDetector detector(PlatformScreenCapture());
  return detector;
}

COverlapDetector::COverlapDetector(ScreenCapture& capture) : capture_(capture) {}

COverlapDetector::~COverlapDetector() { JoinWorker(); }

bool COverlapDetector::TryMarkBusy(uint32_t busy) {
  std::lock_guard<std::mutex> guard(lock_);
  if (busy_ == busy) return false;
  busy_ = busy;
  return true;
}

void COverlapDetector::ClearBusy() {
  std::lock_guard<std::mutex> guard(lock_);
  busy_ = 0;
}

void COverlapDetector::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

uint32_t COverlapDetector::StartCheck(const PixelRect& captureArea, const PixelRect& exclusion,
                                      bool asynchronous) {
  JoinWorker();
  // Taken before the new worker can overwrite it.
  const uint32_t previous = result_.load();
  std::unique_ptr<CapturedImage> image;
  if (CaptureAreaUsable(captureArea)) image = capture_.Capture(captureArea);
  if (!image) {
    ClearBusy();
    return previous;
  }
  try {
    worker_ = std::thread(&COverlapDetector::Compare, this, std::move(image), exclusion);
  } catch (const std::system_error&) {
    ClearBusy();  // the image went with the thread that never started
    return previous;
  }
  if (asynchronous) return previous;
  JoinWorker();
  return result_.load();
}

uint32_t COverlapDetector::Result() const { return result_.load(); }

void COverlapDetector::Compare(std::unique_ptr<CapturedImage> image, PixelRect exclusion) {
  const ImageView view = image->View();
  // Only whole 24-bit images are compared; anything else keeps the result.
  if (view.bits != nullptr && view.bitsPerPixel == 24 && view.width > 0 && view.height > 0 &&
      view.stride >= static_cast<size_t>(view.width) * 3) {
    result_.store(CompareWithKeyColour(view, exclusion));
  }
  image.reset();
  ClearBusy();
}

}  // namespace overlap
