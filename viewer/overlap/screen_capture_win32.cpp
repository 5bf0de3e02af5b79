#include "overlap/screen_capture.h"

#include <windows.h>

#include <new>

namespace overlap {

namespace {

// The screen's device context for the duration of one capture.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Keeps a bitmap selected into a device context and puts the old one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  bool Selected() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A 24-bit bottom-up DIB section; its bits live as long as the bitmap.
class DibImage final : public CapturedImage {
 public:
  DibImage(HBITMAP bitmap, const void* bits, int32_t width, int32_t height)
      : bitmap_(bitmap), bits_(static_cast<const uint8_t*>(bits)), width_(width), height_(height) {}
  DibImage(const DibImage&) = delete;
  DibImage& operator=(const DibImage&) = delete;
  ~DibImage() override { DeleteObject(bitmap_); }

  HBITMAP Bitmap() const { return bitmap_; }
  ImageView View() const override {
    return ImageView{bits_, width_, height_, static_cast<size_t>(Stride24(width_)), 24};
  }

 private:
  HBITMAP bitmap_;
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

    ScreenDc screen;
    if (screen.Get() == nullptr) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    std::unique_ptr<DibImage> image;
    try {
      image = std::make_unique<DibImage>(bitmap, bits, width, height);
    } catch (const std::bad_alloc&) {
      DeleteObject(bitmap);
      return nullptr;
    }
    if (bits == nullptr) return nullptr;

    MemoryDc memory(screen.Get());
    if (memory.Get() == nullptr) return nullptr;
    {
      Selection selection(memory.Get(), image->Bitmap());
      if (!selection.Selected()) return nullptr;
      // CAPTUREBLT takes layered windows in as well.
      if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top,
                  SRCCOPY | CAPTUREBLT)) {
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
