// Text boxes with any script: right-to-left runs drawn in their order with the caret, clicks and the selection
// following them, and characters the box's font lacks measured and drawn in a face that has them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/win32/Win32TextScripts.h"
#include "tests/contract/RuntimeContractForm.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon {
namespace {

class TextViewScriptsTest : public ::testing::Test {
 protected:
  HWND Child(const char* name) const { return form_->ControlWindow(name); }
  int XOf(HWND box, std::size_t position) const {
    return static_cast<short>(LOWORD(SendMessageW(box, EM_POSFROMCHAR, position, 0)));
  }
  std::size_t PositionAt(HWND box, int x, int y) const {
    return LOWORD(SendMessageW(box, EM_CHARFROMPOS, 0, MAKELPARAM(x, y)));
  }

  runtime::Win32Runtime runtime_{GetModuleHandleW(nullptr), L"-st"};
  std::unique_ptr<runtime::win32::Win32Form> form_ = winetest::CreateWin32Form(
      runtime_, contract::kContractClientWidth, contract::kContractClientHeight, contract::kContractFont);
  contract::RuntimeContractControls controls_{*form_};
};

/// The box's pixels as they are on the screen.
std::vector<COLORREF> Capture(HWND box, int width, int height) {
  std::vector<COLORREF> pixels;
  HDC window = GetDC(box);
  HDC memory = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(window, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(box, window);
  return pixels;
}

TEST_F(TextViewScriptsTest, HebrewRunsShowRightToLeftAndTheCaretClicksTabsAndSelectionFollowThem) {
  form_->Show();
  HWND box = Child("Results");
  // "ab ", shalom, a tab, "x": the Hebrew word shows reversed between the Latin text on either side.
  const std::wstring text = L"ab \u05E9\u05DC\u05D5\u05DD\tx";
  controls_.results.SetText(text);
  std::vector<int> x;
  for (std::size_t position = 0; position <= text.size(); ++position) x.push_back(XOf(box, position));
  const int y = static_cast<short>(HIWORD(SendMessageW(box, EM_POSFROMCHAR, 0, 0))) + 2;

  // Before each Hebrew letter the caret stands at its right edge, so going on through the word goes left.
  EXPECT_LT(x[2], x[6]);
  EXPECT_LT(x[6], x[5]);
  EXPECT_LT(x[5], x[4]);
  EXPECT_LT(x[4], x[3]);
  EXPECT_EQ(x[7], x[3]) << "the tab starts where the Hebrew word's first letter ends";
  // A tab reaches the next stop, eight letter widths apart as in the edit control (the average of the Latin
  // letters, rounded as the control does), not one blank further.
  SIZE letters{};
  HDC screen = GetDC(box);
  HGDIOBJ old = SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
  GetTextExtentPoint32W(screen, L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &letters);
  SelectObject(screen, old);
  ReleaseDC(box, screen);
  EXPECT_EQ((x[8] - x[0]) % (8 * ((letters.cx / 26 + 1) / 2)), 0) << x[8] - x[0];
  // A click just inside a character's leading edge lands before it.
  for (std::size_t position = 0; position < text.size(); ++position) {
    const bool hebrew = position >= 3 && position < 7;
    EXPECT_EQ(PositionAt(box, hebrew ? x[position] - 1 : x[position], y), position) << position;
  }
  // A click on a Hebrew letter's left half lands after it.
  EXPECT_EQ(PositionAt(box, x[5] + 1, y), 5u);
  // A line that starts with Hebrew starts at its right: a click on the first letter's right half lands before the
  // word, on the last letter's right half before that letter.
  controls_.results.SetText(L"\u05E9\u05DC\u05D5\u05DD");
  const int wordRight = XOf(box, 0);
  EXPECT_GT(wordRight, XOf(box, 3));
  EXPECT_EQ(PositionAt(box, wordRight - 1, y), 0u);
  EXPECT_EQ(PositionAt(box, XOf(box, 3) - 1, y), 3u);
  controls_.results.SetText(text);

  // Selected, the word shows in the highlight's colours, wherever the runs put it; "ab" stays as it was.
  SendMessageW(box, EM_SETSEL, 3, 7);
  SetFocus(box);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(box, &client);
  const std::vector<COLORREF> pixels = Capture(box, client.right, client.bottom);
  int highlightText = 0;
  int windowText = 0;
  int highlightOutside = 0;
  for (int row = y - 2; row < y + 10 && row < client.bottom; ++row) {
    for (int column = 0; column < client.right; ++column) {
      const COLORREF pixel = pixels[static_cast<std::size_t>(row * client.right + column)];
      const bool inBand = column >= x[6] && column < x[3];  // the selected cells but the word's last
      if (inBand && pixel == GetSysColor(COLOR_HIGHLIGHTTEXT)) ++highlightText;
      if (inBand && pixel == GetSysColor(COLOR_WINDOWTEXT)) ++windowText;
      if (column < x[2] && pixel == GetSysColor(COLOR_HIGHLIGHT)) ++highlightOutside;
    }
  }
  EXPECT_GT(highlightText, 0);
  EXPECT_EQ(windowText, 0);
  EXPECT_EQ(highlightOutside, 0);
}

TEST_F(TextViewScriptsTest, CharactersTheFontLacksAreMeasuredAndDrawnInAFaceThatHasThem) {
  form_->Show();
  HWND box = Child("Results");
  // Wine's own Tahoma asked for any character set: it lacks the scripts below, which other faces may have.
  LOGFONTW wanted{};
  wanted.lfHeight = -13;
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcscpy(wanted.lfFaceName, L"Tahoma");
  runtime::win32::UniqueFont small(CreateFontIndirectW(&wanted));
  wanted.lfHeight = -26;
  runtime::win32::UniqueFont large(CreateFontIndirectW(&wanted));
  auto fallback = runtime::win32::FontFallback::For(small.Get());
  EXPECT_EQ(fallback->FontOf(L'a'), nullptr);

  HDC screen = GetDC(nullptr);
  const wchar_t candidates[] = {0x05D0, 0x0628, 0x65E5, 0x306E, 0x0E01, 0xAC00, 0x0531, 0x10D0, 0x0915};
  int filledIn = 0;
  for (const wchar_t character : candidates) {
    WORD glyph = 0;
    HGDIOBJ old = SelectObject(screen, small.Get());
    GetGlyphIndicesW(screen, &character, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(screen, old);
    HFONT face = fallback->FontOf(character);
    if (glyph != 0xFFFF) {
      EXPECT_EQ(face, nullptr) << std::hex << static_cast<int>(character);
      continue;
    }
    if (!face) continue;  // no face here has it
    ++filledIn;
    // The face chosen has the character, and the box lays it out with that face's width.
    old = SelectObject(screen, face);
    GetGlyphIndicesW(screen, &character, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
    INT width = 0;
    GetCharWidth32W(screen, character, character, &width);
    SelectObject(screen, old);
    EXPECT_NE(glyph, 0xFFFF) << std::hex << static_cast<int>(character);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(small.Get()), TRUE);
    controls_.results.SetText(std::wstring(2, character));
    // Before the first and before the second, in either direction: its width apart.
    EXPECT_EQ(std::abs(XOf(box, 1) - XOf(box, 0)), width) << std::hex << static_cast<int>(character);
    // A larger font (another DPI) brings a larger face along.
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(large.Get()), TRUE);
    EXPECT_GT(std::abs(XOf(box, 1) - XOf(box, 0)), width) << std::hex << static_cast<int>(character);
  }
  // Beyond the basic plane, where the fonts' own tables say which face has a character: the box lays a pair out
  // with the width the chosen face gives it.
  for (const char32_t character : {U'\U0001F600', U'\U0001D400', U'\U00010900'}) {
    HFONT face = fallback->FontOf(character);
    if (!face) continue;
    ++filledIn;
    const wchar_t pair[2] = {static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)),
                             static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF))};
    HGDIOBJ old = SelectObject(screen, face);
    SIZE size{};
    GetTextExtentPoint32W(screen, pair, 2, &size);
    SelectObject(screen, old);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(small.Get()), TRUE);
    controls_.results.SetText(std::wstring{pair[0], pair[1], pair[0], pair[1]});
    EXPECT_EQ(std::abs(XOf(box, 2) - XOf(box, 0)), size.cx) << std::hex << static_cast<unsigned>(character);
  }
  ReleaseDC(nullptr, screen);
  SendMessageW(box, WM_SETFONT, 0, TRUE);
  if (filledIn == 0) GTEST_SKIP() << "no face here fills in for Tahoma";
}

}  // namespace
}  // namespace quillon
