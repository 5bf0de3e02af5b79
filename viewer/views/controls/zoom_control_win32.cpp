#include "views/controls/zoom_control_win32.h"

#include "resource_ids.h"

namespace views {
namespace {

constexpr int32_t kZoomIconWidth = 75;

win32::UniqueBitmap LoadBitmapResource(UINT id) {
  return win32::UniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void StretchWhole(HDC target, int x, int y, int w, int h, HBITMAP bitmap) {
  if (bitmap == nullptr) return;
  win32::UniqueMemoryDc memory(CreateCompatibleDC(target));
  if (!memory) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  win32::UniqueSelection selected = win32::Select(memory.get(), bitmap);
  StretchBlt(target, x, y, w, h, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

}  // namespace

bool CZoomControl::RegisterWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kZoomControlClass;
  if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = CS_VREDRAW | CS_HREDRAW;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CZoomControl::CZoomControl()
    : background_(CreateSolidBrush(RGB(255, 255, 255))),
      enabledMap_(LoadBitmapResource(IDB_ZOOM_MAP_ENABLED)),
      disabledMap_(LoadBitmapResource(IDB_ZOOM_MAP_OFF)),
      indicatorBrush_(CreateSolidBrush(RGB(0x7F, 0x7F, 0x7F))),
      indicatorPen_(CreatePen(PS_SOLID, 0, RGB(255, 255, 255))),
      zoomIcon_(LoadBitmapResource(IDB_ZOOM_ICON)) {
  (void)RegisterWindowClass();
}

Rect CZoomControl::Client() const {
  RECT r{};
  if (hwnd() != nullptr) GetClientRect(hwnd(), &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

void CZoomControl::Repaint() {
  if (hwnd() == nullptr) return;
  InvalidateRect(hwnd(), nullptr, TRUE);
  UpdateWindow(hwnd());
}

void CZoomControl::ResetIndicator() {
  geometry_.Reset(Client(), layout_);
  Repaint();
}

void CZoomControl::MoveIndicator(const Point& point, double zoom) {
  geometry_.Move(Client(), layout_, point, zoom);
  Repaint();
}

void CZoomControl::UpdateIndicator() {
  geometry_.Update(Client(), layout_);
  Repaint();
}

void CZoomControl::SetLayout(const DisplayLayout& layout) {
  layout_ = layout;
  LOGPEN description{PS_SOLID, POINT{0, 0}, RGB(255, 255, 255)};
  if (indicatorPen_) GetObjectW(indicatorPen_.get(), sizeof description, &description);
  penWidth_ = ZoomIndicatorGeometry::PenWidth(layout_);
  description.lopnWidth.x = penWidth_;
  indicatorPen_.reset(CreatePenIndirect(&description));
  UpdateIndicator();
}

void CZoomControl::Paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  const Rect client = Client();
  const int w = client.Width();
  const int h = client.Height();
  win32::UniqueMemoryDc memory(CreateCompatibleDC(dc));
  win32::UniqueBitmap buffer(CreateCompatibleBitmap(dc, w, h));
  if (memory && buffer) {
    win32::UniqueSelection target = win32::Select(memory.get(), buffer.get());
    HDC mem = memory.get();
    const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
    RECT all{0, 0, w, h};
    FillRect(mem, &all, background_.get());
    const Rect area = ZoomIndicatorGeometry::MapArea(client, layout_);
    StretchWhole(mem, area.left, area.top, area.Width(), area.Height(),
                 enabled ? enabledMap_.get() : disabledMap_.get());
    if (enabled) {
      const SizedRect& i = geometry_.Indicator();
      RECT marked{i.x, i.y, i.x + i.width, i.y + i.height};
      FillRect(mem, &marked, indicatorBrush_.get());
      if (layout_.zoom != 1.0) {
        const SizedRect s = ZoomIndicatorGeometry::IconSquare(i, kZoomIconWidth, layout_);
        SetStretchBltMode(mem, HALFTONE);
        SetBrushOrgEx(mem, 0, 0, nullptr);
        StretchWhole(mem, s.x, s.y, s.width, s.height, zoomIcon_.get());
      }
      win32::UniqueSelection pen = win32::Select(mem, indicatorPen_.get());
      win32::UniqueSelection brush = win32::Select(mem, GetStockObject(NULL_BRUSH));
      Rectangle(mem, marked.left, marked.top, marked.right, marked.bottom);
    }
    BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
  }
  EndPaint(hwnd(), &ps);
}

bool CZoomControl::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint();
      result = 0;
      return true;
    case WM_ENABLE:
      // The map and the indicator depend on the state.
      InvalidateRect(hwnd(), nullptr, FALSE);
      return false;
    case WM_ERASEBKGND:
      // Painting covers every pixel; erasing first would only flicker.
      result = 1;
      return true;
    default:
      return false;
  }
}

}  // namespace views
