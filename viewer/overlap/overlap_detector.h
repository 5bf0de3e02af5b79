#pragma once
// Whether anything covers a screen area: the area is captured on the calling
// thread and compared with the key colour on a worker of the detector's own.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "overlap/captured_image.h"
#include "overlap/pixel_rect.h"
#include "overlap/screen_capture.h"

namespace overlap {

class COverlapDetector {
 public:
  // The process-wide detector on the platform's screen; never destroyed
  // before the end of the process.
  static COverlapDetector& Instance();

  explicit COverlapDetector(ScreenCapture& capture);
  COverlapDetector(const COverlapDetector&) = delete;
  COverlapDetector& operator=(const COverlapDetector&) = delete;
  ~COverlapDetector();

  // Under the lock: false when busy already has this value, else stores it.
  bool TryMarkBusy(uint32_t busy);
  // Joins the previous worker, captures captureArea and starts the
  // comparison; a waiting check also waits for it. The answer is the result
  // to report: the previous check's for an asynchronous check, this
  // check's for a waiting one. Without an image the result stays as it was.
  // exclusion is in the coordinates of the captured image.
  uint32_t StartCheck(const PixelRect& captureArea, const PixelRect& exclusion, bool asynchronous);
  // 1 when the last finished comparison found the area covered.
  uint32_t Result() const;
  // Waits until the last started worker has ended.
  void JoinWorker();

 private:
  void Compare(std::unique_ptr<CapturedImage> image, PixelRect exclusion);
  void ClearBusy();

  ScreenCapture& capture_;
  std::atomic<uint32_t> result_{0};
  std::thread worker_;
  uint32_t busy_ = 0;
  mutable std::mutex lock_;
};

}  // namespace overlap
