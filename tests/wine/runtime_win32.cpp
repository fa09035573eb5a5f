// What only the Win32 runtime can show and the program depends on: the window's size at the screen's DPI, the
// dialog manager's tab order, the held-back appends, the hourglass and the message loop's end.
#include <gtest/gtest.h>

#include <iterator>

#include "tests/contract/RuntimeContractForm.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon {
namespace {

class Win32RuntimeTest : public ::testing::Test {
 protected:
  HWND Child(const char* name) const { return form_->ControlWindow(name); }

  runtime::Win32Runtime runtime_{GetModuleHandleW(nullptr), L"-st"};
  std::unique_ptr<runtime::win32::Win32Form> form_ = winetest::CreateWin32Form(
      runtime_, contract::kContractClientWidth, contract::kContractClientHeight, contract::kContractFont);
  contract::RuntimeContractControls controls_{*form_};
  winetest::Win32UserInput input_{runtime_};
};

TEST_F(Win32RuntimeTest, FormIsSizedInTwipsAtTheWindowsDpiAndTabsInCreationOrder) {
  HWND window = form_->Window();
  RECT client{};
  GetClientRect(window, &client);
  const int dpi = runtime::win32::WindowDpi(window);
  EXPECT_EQ(client.right, MulDiv(contract::kContractClientWidth, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(contract::kContractClientHeight, dpi, 1440));
  form_->Show();
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

TEST_F(Win32RuntimeTest, ReadOnlyBoxHoldsAppendsBackUntilEventsAreProcessedOrTheBoxIsUsed) {
  HWND results = Child("Results");
  const std::wstring line = L"Value : HKEY_CURRENT_USER\\Software\\Name\r\n";
  for (int i = 0; i < 3000; ++i) controls_.results.AppendText(line);
  EXPECT_EQ(GetWindowTextLengthW(results), 0);  // nothing has reached the control yet
  runtime_.ProcessPendingMessages();
  const int length = 3000 * static_cast<int>(line.size());
  EXPECT_EQ(GetWindowTextLengthW(results), length);
  controls_.results.AppendText(L"Key : C\r\n");
  EXPECT_EQ(controls_.results.SelStart(), length + 9);  // any use of the box from code sees the text first
  EXPECT_EQ(GetWindowTextLengthW(results), length + 9);
  controls_.single.AppendText(L"!");  // other boxes append at once
  EXPECT_EQ(runtime::win32::WindowText(Child("Single")), L"start!");

  // A backlog goes on screen a chunk per pump, so the window answers in between; chunks end at line breaks, and a
  // line longer than a chunk is split without splitting a surrogate pair. Draining it loses nothing.
  controls_.results.SetText(L"");
  std::wstring expected;
  for (int i = 0; i < 2000; ++i) expected += line;
  std::wstring longLine;
  for (int i = 0; i < 20000; ++i) longLine += L"a\xD83D\xDE00";  // U+1F600 in UTF-16
  expected += longLine + L"\r\n";
  controls_.results.AppendText(expected);
  Sleep(300);  // past the pause DoEvents keeps between two looks at the queue and between two chunks
  EXPECT_TRUE(runtime_.DoEvents());
  const int shown = GetWindowTextLengthW(results);
  EXPECT_GT(shown, 0);
  EXPECT_LT(shown, static_cast<int>(expected.size()));
  EXPECT_EQ(shown % static_cast<int>(line.size()), 0) << "a chunk ends at a line break";
  runtime_.ProcessPendingMessages();
  EXPECT_EQ(runtime::win32::WindowText(results), expected);
}

TEST_F(Win32RuntimeTest, EditBoxesShowLinesStartingWithSpacingModifiersInTheRightToLeftCharSetFont) {
  // Byte 0x98 of registry data is U+02DC; Wine's edit control used to fault painting such a line in this font.
  form_->Show();
  const std::wstring tildeLines = L"\x02DC\r\n\x02DD\x05D0\r\n\x05D0\x02DC";
  controls_.results.SetText(tildeLines);
  controls_.single.SetText(L"\x02DC");
  controls_.combo.SetText(L"\x02DD");
  for (HWND box : {Child("Results"), Child("Single"), Child("Combo")}) {
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
  }
  input_.Process();
  EXPECT_EQ(runtime::win32::WindowText(Child("Results")), tildeLines);
  EXPECT_EQ(controls_.single.Text(), L"\x02DC");
  EXPECT_EQ(controls_.combo.Text(), L"\x02DD");
  // The list keeps the form's own character set: lists draw these lines without fault.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Child("Sorted"), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfCharSet, contract::kContractFont.charSet);
}

TEST_F(Win32RuntimeTest, HourglassShowsOverTheWholeWindowUntilTheDefaultIsBack) {
  form_->Show();
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

TEST_F(Win32RuntimeTest, ClosingTheLastFormEndsTheMessageLoop) {
  form_->Show();
  PostMessageW(form_->Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(runtime_.RunMessageLoop(), 0);
  EXPECT_FALSE(form_->Visible());
  EXPECT_EQ(runtime_.RunMessageLoop(), 0);  // with no form open the loop has nothing to wait for
}

}  // namespace
}  // namespace quillon
