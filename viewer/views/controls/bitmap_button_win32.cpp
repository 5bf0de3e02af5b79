#include "views/controls/bitmap_button_win32.h"

#include "views/controls/view_fonts_win32.h"
#include "views/framework/form_view_win32.h"
#include "views/layout/button_geometry.h"

namespace views {
namespace {

win32::UniqueBitmap LoadBitmapResource(const wchar_t* name) {
  return win32::UniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

void StretchWhole(HDC target, const RECT& to, HBITMAP bitmap) {
  win32::UniqueMemoryDc memory(CreateCompatibleDC(target));
  if (!memory) return;
  const SIZE size = BitmapSize(bitmap);
  win32::UniqueSelection selected = win32::Select(memory.get(), bitmap);
  StretchBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, memory.get(), 0, 0, size.cx,
             size.cy, SRCCOPY);
}

}  // namespace

bool CBitmapButtonEx::LoadStateBitmaps() {
  if (hwnd() == nullptr) return false;
  const int length = GetWindowTextLengthW(hwnd());
  if (length <= 0) return false;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), length + 1)));
  static constexpr wchar_t kSuffixes[] = L"UDFX";
  for (size_t role = 0; role < 4; ++role) faces_[role] = LoadBitmapResource((text + kSuffixes[role]).c_str());
  return faces_[0].valid();
}

bool CBitmapButtonEx::LoadBitmaps(UINT normal, UINT selected, UINT focused, UINT disabled) {
  const UINT ids[4] = {normal, selected, focused, disabled};
  for (size_t role = 0; role < 4; ++role)
    faces_[role] = ids[role] != 0 ? LoadBitmapResource(MAKEINTRESOURCEW(ids[role])) : win32::UniqueBitmap();
  return faces_[0].valid();
}

void CBitmapButtonEx::SetFaceBitmaps(std::array<win32::UniqueBitmap, 4> faces) { faces_ = std::move(faces); }

void CBitmapButtonEx::ApplyButtonFont() {
  font_ = CreateViewFont(36);
  if (hwnd() != nullptr && font_)
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void CBitmapButtonEx::SetIcon(UINT resourceId) {
  if (resourceId == iconId_) return;
  icon_ = LoadBitmapResource(MAKEINTRESOURCEW(resourceId));
  iconId_ = resourceId;
  if (hwnd() != nullptr) {
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
  }
}

void CBitmapButtonEx::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  // The window text is the accessible name; set past the button class so
  // that nothing repaints.
  if (hwnd() != nullptr) DefWindowProcW(hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
}

void CBitmapButtonEx::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const FaceRole role = ChooseFace(item.itemState, faces_[1].valid(), faces_[2].valid(), faces_[3].valid());
  HBITMAP face = faces_[static_cast<size_t>(role)].get();
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  if (face != nullptr) StretchWhole(dc, item.rcItem, face);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT r = item.rcItem;
  if (icon_) {
    SIZE text{};
    GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    const ButtonContent content =
        IconAndTextRects(Rect{r.left, r.top, r.right, r.bottom}, static_cast<int32_t>(text.cx), layout_);
    StretchWhole(dc, RECT{content.icon.left, content.icon.top, content.icon.right, content.icon.bottom},
                 icon_.get());
    RECT textRect{content.text.left, content.text.top, content.text.right, content.text.bottom};
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &textRect, DT_VCENTER | DT_SINGLELINE);
  } else {
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

bool CBitmapButtonEx::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != kReflectedDrawItem) return false;
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  result = TRUE;
  return true;
}

}  // namespace views
