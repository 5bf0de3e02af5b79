// The viewer's fonts under Wine: "Meiryo" (also by its Japanese name) and
// "MS UI Gothic" draw every character of the English, French and Japanese
// interface texts with a real glyph, never the missing-glyph box.  Needs the
// prefix's font substitutes (tools/wine-prefix.sh) and fonts-ipafont-gothic.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/win32/unique_handle.h"
#include "views/ui_strings.h"

namespace {

constexpr int kCell = 64;

// A white 32-bit canvas to draw one character on, black.
class Cell {
 public:
  explicit Cell(HFONT font) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kCell;
    bi.bmiHeader.biHeight = -kCell;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_.reset(CreateCompatibleDC(nullptr));
    bitmap_.reset(
        CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    bitmapSelection_ = win32::Select(dc_.get(), bitmap_.get());
    fontSelection_ = win32::Select(dc_.get(), font);
  }
  [[nodiscard]] HDC dc() const { return dc_.get(); }
  [[nodiscard]] bool ready() const { return bits_ != nullptr && fontSelection_.valid(); }

  std::vector<uint32_t> Draw(wchar_t c) {
    RECT r{0, 0, kCell, kCell};
    FillRect(dc_.get(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc_.get(), RGB(0, 0, 0));
    SetBkMode(dc_.get(), TRANSPARENT);
    r.left = 4;
    r.top = 4;
    DrawTextW(dc_.get(), &c, 1, &r, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
    GdiFlush();
    std::vector<uint32_t> px(bits_, bits_ + kCell * kCell);
    for (uint32_t& p : px) p &= 0xFFFFFF;
    return px;
  }

 private:
  win32::UniqueMemoryDc dc_;
  win32::UniqueBitmap bitmap_;
  uint32_t* bits_ = nullptr;
  win32::UniqueSelection bitmapSelection_;
  win32::UniqueSelection fontSelection_;
};

bool Inked(const std::vector<uint32_t>& px) {
  for (uint32_t p : px) {
    if (p != 0xFFFFFF) return true;
  }
  return false;
}

win32::UniqueFont MakeFont(const wchar_t* face, BYTE charset, int height = 40) {
  return win32::UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                       face));
}

const wchar_t* const kFaces[] = {L"Meiryo", L"\u30E1\u30A4\u30EA\u30AA", L"MS UI Gothic"};

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
  return s;
}

// The buttons' and texts' fonts (Japanese character set) and the dialogs'
// (default character set): in every interface language, every character.
TEST(ViewerFonts, EveryInterfaceCharacterHasAGlyph) {
  for (const wchar_t* face : kFaces) {
    for (BYTE charset : {BYTE{SHIFTJIS_CHARSET}, BYTE{DEFAULT_CHARSET}}) {
      SCOPED_TRACE(Narrow(face) + " charset " + std::to_string(charset));
      const win32::UniqueFont font = MakeFont(face, charset);
      ASSERT_TRUE(font);
      Cell cell(font.get());
      ASSERT_TRUE(cell.ready());
      wchar_t selected[LF_FACESIZE] = {};
      GetTextFaceW(cell.dc(), LF_FACESIZE, selected);
      EXPECT_EQ(std::wstring(selected), std::wstring(face)) << "substituted under its own name";

      // An unassigned code point shows the box; the check must see it as one.
      const wchar_t unassigned = 0x0378;
      WORD index = 0;
      ASSERT_EQ(GetGlyphIndicesW(cell.dc(), &unassigned, 1, &index, GGI_MARK_NONEXISTING_GLYPHS), 1u);
      ASSERT_EQ(index, 0xFFFF);
      const std::vector<uint32_t> box = cell.Draw(unassigned);

      std::map<wchar_t, bool> seen;
      int checked = 0;
      for (views::UiLanguage language :
           {views::UiLanguage::English, views::UiLanguage::French, views::UiLanguage::Japanese}) {
        for (uint32_t id = views::kFirstStringId; id <= views::kLastStringId; ++id) {
          for (wchar_t c : views::TableString(language, id)) {
            if (seen.count(c) != 0) continue;
            seen[c] = true;
            ASSERT_EQ(GetGlyphIndicesW(cell.dc(), &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS), 1u);
            EXPECT_NE(index, 0xFFFF) << "no glyph for U+" << std::hex << static_cast<unsigned>(c);
            if (c == L' ' || c == 0x00A0) continue;
            const std::vector<uint32_t> drawn = cell.Draw(c);
            EXPECT_TRUE(Inked(drawn)) << "nothing drawn for U+" << std::hex << static_cast<unsigned>(c);
            EXPECT_NE(drawn, box) << "box drawn for U+" << std::hex << static_cast<unsigned>(c);
            ++checked;
          }
        }
      }
      EXPECT_GT(checked, 100);
    }
  }
}

// The three languages' lines as the error view draws them, white on the key
// colour, each line read back from the window.
LRESULT CALLBACK SampleProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m != WM_PAINT) return DefWindowProcW(w, m, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  const win32::UniqueBrush key(CreateSolidBrush(RGB(0, 3, 0)));
  FillRect(dc, &ps.rcPaint, key.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  const win32::UniqueFont font = MakeFont(L"Meiryo", SHIFTJIS_CHARSET, 36);
  const win32::UniqueSelection selected = win32::Select(dc, font.get());
  int y = 10;
  for (views::UiLanguage language :
       {views::UiLanguage::English, views::UiLanguage::French, views::UiLanguage::Japanese}) {
    for (uint32_t id : {views::kIdsFullScreen, views::kIdsAbnormal, views::kIdsUpdateRequired}) {
      const std::wstring text = views::TableString(language, id);
      RECT r{10, y, 1190, y + 44};
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_LEFT | DT_NOPREFIX);
      y += 44;
    }
    y += 10;
  }
  EndPaint(w, &ps);
  return 0;
}

TEST(ViewerFonts, ThreeLanguagesDrawnOnAWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = SampleProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavrinFontSample";
  ASSERT_TRUE(RegisterClassW(&wc));
  const win32::UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L"fonts", WS_POPUP | WS_VISIBLE, 50,
                                                   50, 1200, 440, nullptr, nullptr, wc.hInstance, nullptr));
  ASSERT_TRUE(window);
  UpdateWindow(window.get());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  const win32::UniqueWindowDc dc = win32::GetWindowDc(window.get());
  // Every line has white ink, and only white, grey or the key colour shows.
  int y = 10;
  for (int language = 0; language < 3; ++language) {
    for (int line = 0; line < 3; ++line) {
      int white = 0;
      for (int yy = y; yy < y + 44; yy += 2) {
        for (int x = 10; x < 1190; x += 2) {
          const COLORREF p = GetPixel(dc.get().dc, x, yy);
          white += GetRValue(p) > 0xC0 && GetGValue(p) > 0xC0 && GetBValue(p) > 0xC0;
        }
      }
      EXPECT_GT(white, 40) << "language " << language << " line " << line;
      y += 44;
    }
    y += 10;
  }
  if (const char* hold = std::getenv("TAVRIN_TEST_HOLD_MS")) Sleep(static_cast<DWORD>(std::atoi(hold)));
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

}  // namespace
