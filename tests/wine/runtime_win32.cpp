// What only the Win32 runtime can show and the program depends on: the dialog manager's tab order, text boxes that
// show any text and behave as edit controls, in any script (right-to-left runs drawn in their order with the caret,
// clicks and the selection following them, and characters the box's font lacks measured and drawn in a face that
// has them), labels sized to their captions and the hourglass. The message loop's end is the real program's: closed,
// it exits with code 0 (journey_e2e).
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "runtime/textview/win32/Win32FontFallback.h"
#include "tests/contract/RuntimeContractForm.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon {
namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

class Win32RuntimeTest : public ::testing::Test {
 protected:
  Win32RuntimeTest() { form_->Show(); }
  HWND Child(const char* name) const { return form_->ControlWindow(name); }
  int XOf(HWND box, std::size_t position) const {
    return static_cast<short>(LOWORD(SendMessageW(box, EM_POSFROMCHAR, position, 0)));
  }

  runtime::Win32Runtime runtime_{GetModuleHandleW(nullptr), L"-st"};
  std::unique_ptr<runtime::win32::Win32Form> form_ = winetest::CreateWin32Form(
      runtime_, contract::kContractClientWidth, contract::kContractClientHeight, contract::kContractFont);
  contract::RuntimeContractControls controls_{*form_};
  winetest::Win32UserInput input_{runtime_};
};

// The form's size in twips at the screen's DPI is the DPI tests' (journey_e2e), on the program's own window.
TEST_F(Win32RuntimeTest, FormTabsInCreationOrder) {
  HWND window = form_->Window();
  const char* tabOrder[] = {"Sorted", "Unsorted", "Extended", "Combo", "Single", "Results", "Check", "Button"};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
    HWND item = GetNextDlgTabItem(window, Child(tabOrder[i - 1]), FALSE);
    EXPECT_TRUE(item == Child(tabOrder[i]) || GetParent(item) == Child(tabOrder[i])) << "after " << tabOrder[i - 1];
  }
  // The Tab key itself goes through the message loop's dialog manager.
  SetFocus(Child("Sorted"));
  PostMessageW(Child("Sorted"), WM_KEYDOWN, VK_TAB, 1);
  PostMessageW(Child("Sorted"), WM_KEYUP, VK_TAB, 1);
  input_.Process();
  EXPECT_EQ(GetFocus(), Child("Unsorted"));
}

TEST_F(Win32RuntimeTest, EveryCharacterStartingALineOrARunShowsInEveryKindOfTextBox) {
  // Wine's edit control faulted laying out a run of text that starts with U+02DC (byte 0x98) when the font maps
  // it to a mark, as DejaVu Sans does. A run starts at a line's start and also after digits and punctuation.
  std::vector<std::wstring> characters;
  for (int byte = 1; byte < 256; ++byte) {
    const char ansi = static_cast<char>(byte);
    wchar_t character = 0;
    MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &character, 1);
    characters.emplace_back(1, character);
  }
  for (wchar_t mark = 0x02DA; mark <= 0x02DD; ++mark) characters.emplace_back(1, mark);  // typed, not from bytes

  HWND comboField = FindWindowExW(Child("Combo"), nullptr, L"Edit", nullptr);
  ASSERT_NE(comboField, nullptr);
  for (const std::wstring& ch : characters) {
    const std::wstring lines = ch + L"\r\n1" + ch + L"\r\n\\" + ch + L"\r\n: " + ch;
    controls_.results.SetText(lines);
    controls_.single.SetText(L"1" + ch);
    controls_.combo.SetText(ch);
    for (HWND box : {Child("Results"), Child("Single"), comboField}) RedrawWindow(box, nullptr, nullptr, kRedrawNow);
    ASSERT_EQ(winetest::WindowText(Child("Results")), lines) << static_cast<int>(ch[0]);
    ASSERT_EQ(winetest::WindowText(Child("Single")), L"1" + ch);
    ASSERT_EQ(winetest::WindowText(Child("Combo")), ch);
  }

  // The input prompt's answer field, filled and painted from another thread while the prompt waits.
  std::wstring mismatches;
  std::thread typist([&] {
    HWND dialog = nullptr;
    const auto owned = [this](HWND window) { return GetWindow(window, GW_OWNER) == form_->Window(); };
    for (int attempt = 0; attempt < 1000 && !dialog; ++attempt, Sleep(10))
      dialog = winetest::FindTopLevel(GetCurrentProcessId(), owned);
    HWND field = dialog ? FindWindowExW(dialog, nullptr, L"Edit", nullptr) : nullptr;
    if (!field) return;
    for (const std::wstring& ch : characters) {
      const std::wstring text = L"1" + ch;
      SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
      RedrawWindow(field, nullptr, nullptr, kRedrawNow);
      if (winetest::WindowText(field) != text) mismatches += ch;
    }
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"every one"));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(runtime_.InputBox(L"Name"), L"every one");
  typist.join();
  EXPECT_EQ(mismatches, L"");
}

// How a text box answers the edit messages, keys and mouse is held to the platform's edit control side by side
// (textbox_side_by_side.cpp), the runtime's calls on it by the runtime contract. What is left here: the scroll bar,
// which follows text a few times a second.
TEST_F(Win32RuntimeTest, TextBoxesScrollBarFollowsTheText) {
  HWND results = Child("Results");
  std::wstring text;
  for (int i = 0; i < 200; ++i) text += L"Line " + std::to_wstring(i) + L" of the results\r\n";
  controls_.results.SetText(text);
  SendMessageW(results, EM_LINESCROLL, 0, 20);

  // The bar follows at most every 0.4 s while text keeps coming.
  Sleep(700);
  input_.Process();
  SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(results, SB_VERT, &bar);
  EXPECT_EQ(bar.nMax, 200);  // the empty line after the last CR LF counts
  EXPECT_EQ(bar.nPos, SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0));
  controls_.results.AppendText(text);
  Sleep(700);
  input_.Process();
  GetScrollInfo(results, SB_VERT, &bar);
  EXPECT_EQ(bar.nMax, 400);
}

// As a label made with it: "Value Size : 35" showed as "Value      : 35", the word its old width wrapped out of sight.
TEST_F(Win32RuntimeTest, ALabelSizedToItsCaptionShowsAllOfANewOne) {
  const auto label = [&](const wchar_t* caption, int top) -> runtime::Label& {
    return form_->AddLabel(
        {"Label", runtime::ControlKind::Label, caption, 120, top, 720, 195, runtime::kAutoSize, 8.25, nullptr});
  };
  runtime::Label& changed = label(L"Value Size", 3000);
  winetest::ClientPixels(winetest::WindowOf(changed), winetest::Repaint::kWhole);  // shown before the change
  changed.SetCaption(L"Value Size : 35");
  EXPECT_EQ(winetest::ClientPixels(winetest::WindowOf(changed), winetest::Repaint::kPending),
            winetest::ClientPixels(winetest::WindowOf(label(L"Value Size : 35", 3300)), winetest::Repaint::kWhole));
}

TEST_F(Win32RuntimeTest, HourglassShowsOverTheWholeWindowUntilTheDefaultIsBack) {
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  HWND edit = Child("Single");
  auto hover = [edit] {
    SendMessageW(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  runtime_.SetMousePointer(runtime::kPointerHourglass);
  EXPECT_EQ(GetCursor(), wait);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  hover();
  EXPECT_EQ(GetCursor(), wait);
  runtime_.SetMousePointer(runtime::kPointerDefault);
  hover();
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));  // the edit field's own cursor again
}

TEST_F(Win32RuntimeTest, HebrewRunsShowRightToLeftAndTheCaretTabsAndSelectionFollowThem) {
  HWND box = Child("Results");
  // "ab ", shalom, a tab, "x": the Hebrew word shows reversed between the Latin text on either side.
  const std::wstring text = L"ab \u05E9\u05DC\u05D5\u05DD\tx";
  controls_.results.SetText(text);
  std::vector<int> x;
  for (std::size_t position = 0; position <= text.size(); ++position) x.push_back(XOf(box, position));
  const int y = static_cast<short>(HIWORD(SendMessageW(box, EM_POSFROMCHAR, 0, 0))) + 2;

  // The platform's runs reach the view: the Hebrew word shows reversed (where each caret stands in it is
  // VisualLine's, tests/native/TextViewModelTest.cpp), and the tab starts where its first letter ends.
  EXPECT_LT(x[6], x[3]);
  EXPECT_EQ(x[7], x[3]);
  // A tab reaches the next stop, eight letter widths apart as in the edit control (the average of the Latin
  // letters, rounded as the control does), not one blank further.
  SIZE letters{};
  const runtime::win32::ScreenDc screen(box);
  const auto boxFont = reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0));
  const runtime::win32::SelectedObject selected(screen.Get(), boxFont);
  GetTextExtentPoint32W(screen.Get(), L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &letters);
  EXPECT_EQ((x[8] - x[0]) % (8 * ((letters.cx / 26 + 1) / 2)), 0) << x[8] - x[0];
  // Where clicks land on such a line is VisualLine's (tests/native/TextViewModelTest.cpp).

  // Selected, the word shows in the highlight's colours, wherever the runs put it; "ab" stays as it was.
  SendMessageW(box, EM_SETSEL, 3, 7);
  SetFocus(box);
  RECT client{};
  GetClientRect(box, &client);
  const std::vector<DWORD> pixels = winetest::ClientPixels(box, winetest::Repaint::kWhole);
  // The pixels are 0xRRGGBB, the system's colours 0xBBGGRR.
  const auto is = [](DWORD pixel, int colour) {
    const COLORREF c = GetSysColor(colour);
    return pixel == static_cast<DWORD>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
  };
  int highlightText = 0;
  int windowText = 0;
  int highlightOutside = 0;
  for (int row = y - 2; row < y + 10 && row < client.bottom; ++row) {
    for (int column = 0; column < client.right; ++column) {
      const DWORD pixel = pixels[static_cast<std::size_t>(row * client.right + column)];
      const bool inBand = column >= x[6] && column < x[3];  // the selected cells but the word's last
      if (inBand && is(pixel, COLOR_HIGHLIGHTTEXT)) ++highlightText;
      if (inBand && is(pixel, COLOR_WINDOWTEXT)) ++windowText;
      if (column < x[2] && is(pixel, COLOR_HIGHLIGHT)) ++highlightOutside;
    }
  }
  EXPECT_GT(highlightText, 0);
  EXPECT_EQ(windowText, 0);
  EXPECT_EQ(highlightOutside, 0);
}

TEST_F(Win32RuntimeTest, CharactersTheFontLacksAreMeasuredAndDrawnInAFaceThatHasThem) {
  HWND box = Child("Results");
  // Wine's own Tahoma asked for any character set: it lacks the scripts below, which other faces may have.
  const auto tahoma = [](int height) {
    return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  };
  const runtime::win32::UniqueFont small(tahoma(-13)), large(tahoma(-26));
  auto fallback = runtime::win32::FontFallback::For(small.Get());
  EXPECT_EQ(fallback->FontOf(L'a'), nullptr);

  const runtime::win32::ScreenDc screen(nullptr);
  // Scripts of the basic plane, where the font's glyph table says whether it lacks a character, and beyond it, where
  // the fonts' own tables say which face has one.
  const char32_t candidates[] = {0x05D0, 0x0628, 0x65E5, 0x306E, 0x0E01,    0xAC00,    0x0531,
                                 0x10D0, 0x0915, 0x1F600, 0x1D400, 0x10900};
  int filledIn = 0;
  for (const char32_t character : candidates) {
    const bool basic = character < 0x10000;
    const std::wstring units = basic ? std::wstring(1, static_cast<wchar_t>(character))
                                     : std::wstring{static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)),
                                                    static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF))};
    const auto glyphIn = [&](HFONT font) {
      WORD glyph = 0;
      const runtime::win32::SelectedObject selected(screen.Get(), font);
      GetGlyphIndicesW(screen.Get(), units.c_str(), 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
      return glyph;
    };
    HFONT face = fallback->FontOf(character);
    if (basic && glyphIn(small.Get()) != 0xFFFF) {
      EXPECT_EQ(face, nullptr) << std::hex << static_cast<unsigned>(character);
      continue;
    }
    if (!face) continue;  // no face here has it
    ++filledIn;
    // The face chosen has the character, and the box lays it out with the width that face gives it.
    EXPECT_TRUE(!basic || glyphIn(face) != 0xFFFF) << std::hex << static_cast<unsigned>(character);
    const runtime::win32::SelectedObject selected(screen.Get(), face);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), units.c_str(), static_cast<int>(units.size()), &size);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(small.Get()), TRUE);
    controls_.results.SetText(units + units);
    // Before the first and before the second, in either direction: its width apart.
    const auto apart = [&] { return std::abs(XOf(box, units.size()) - XOf(box, 0)); };
    EXPECT_EQ(apart(), size.cx) << std::hex << static_cast<unsigned>(character);
    // A larger font (another DPI) brings a larger face along.
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(large.Get()), TRUE);
    EXPECT_GT(apart(), size.cx) << std::hex << static_cast<unsigned>(character);
  }
  SendMessageW(box, WM_SETFONT, 0, TRUE);
  if (filledIn == 0) GTEST_SKIP() << "no face here fills in for Tahoma";
}

}  // namespace
}  // namespace quillon
