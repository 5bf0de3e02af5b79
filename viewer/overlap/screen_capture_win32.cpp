#include "overlap/screen_capture.h"

#include <windows.h>

#include <new>

#include "common/win32/unique_handle.h"

namespace overlap {

namespace {

// A 24-bit bottom-up DIB section; its bits live as long as the bitmap.
class DibImage final : public CapturedImage {
 public:
  DibImage(win32::UniqueBitmap bitmap, const void* bits, int32_t width, int32_t height)
      : bitmap_(std::move(bitmap)),
        bits_(static_cast<const uint8_t*>(bits)),
        width_(width),
        height_(height) {}
  DibImage(const DibImage&) = delete;
  DibImage& operator=(const DibImage&) = delete;
  ~DibImage() override = default;

  HBITMAP Bitmap() const { return bitmap_.get(); }
  ImageView View() const override {
    return ImageView{bits_, width_, height_, static_cast<size_t>(Stride24(width_)), 24};
  }

 private:
  win32::UniqueBitmap bitmap_;
  const uint8_t* bits_;
  int32_t width_;
  int32_t height_;
};

bool OnVirtualScreen(const PixelRect& area) {
  const int64_t left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int64_t top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int64_t right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int64_t bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return area.left < right && area.right > left && area.top < bottom && area.bottom > top;
}

class GdiScreenCapture final : public ScreenCapture {
 public:
  std::unique_ptr<CapturedImage> Capture(const PixelRect& area) override {
    if (!CaptureAreaUsable(area) || !OnVirtualScreen(area)) return nullptr;
    const int32_t width = static_cast<int32_t>(area.Width());
    const int32_t height = static_cast<int32_t>(area.Height());

    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    if (!screen) return nullptr;
    const HDC screenDc = screen.get().dc;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::UniqueBitmap bitmap(CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return nullptr;
    std::unique_ptr<DibImage> image;
    try {
      image = std::make_unique<DibImage>(std::move(bitmap), bits, width, height);
    } catch (const std::bad_alloc&) {
      return nullptr;  // the bitmap is still with its owner here
    }
    if (bits == nullptr) return nullptr;

    const win32::UniqueMemoryDc memory(CreateCompatibleDC(screenDc));
    if (!memory) return nullptr;
    {
      const win32::UniqueSelection selection = win32::Select(memory.get(), image->Bitmap());
      if (!selection) return nullptr;
      // CAPTUREBLT takes layered windows in as well.
      if (!BitBlt(memory.get(), 0, 0, width, height, screenDc, area.left, area.top, SRCCOPY | CAPTUREBLT)) {
        return nullptr;
      }
    }
    GdiFlush();  // the worker reads the bits directly
    return image;
  }
};

}  // namespace

ScreenCapture& PlatformScreenCapture() {
  static GdiScreenCapture capture;
  return capture;
}

}  // namespace overlap
