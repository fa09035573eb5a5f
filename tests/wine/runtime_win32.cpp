// What only the Win32 runtime can show and the program depends on: the window's size at the screen's DPI, the
// dialog manager's tab order, text boxes that show any text and behave as edit controls, the hourglass and the
// message loop's end.
#include <gtest/gtest.h>

#include <iterator>
#include <thread>
#include <vector>

#include "tests/contract/RuntimeContractForm.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon {
namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

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

TEST_F(Win32RuntimeTest, EveryCharacterStartingALineOrARunShowsInEveryKindOfTextBox) {
  // Wine's edit control faulted laying out a run of text that starts with U+02DC (byte 0x98) when the font maps
  // it to a mark, as DejaVu Sans does. A run starts at a line's start and also after digits and punctuation.
  form_->Show();
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
    for (int attempt = 0; attempt < 1000 && !dialog; ++attempt, Sleep(10)) {
      dialog = winetest::FindTopLevel(GetCurrentProcessId(), [this](HWND window) {
        return GetWindow(window, GW_OWNER) == form_->Window();
      });
    }
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
// (textbox_side_by_side.cpp). What is left here: the runtime's own calls on a box, and the scroll bar, which follows
// text a few times a second.
TEST_F(Win32RuntimeTest, TextBoxesShowTheRuntimesTextSelectionAndScrollBar) {
  form_->Show();
  HWND results = Child("Results");
  std::wstring text;
  for (int i = 0; i < 200; ++i) text += L"Line " + std::to_wstring(i) + L" of the results\r\n";
  controls_.results.SetText(text);
  controls_.results.SetSelStart(static_cast<int>(text.find(L"Line 7 ")));
  controls_.results.SetSelLength(4);
  EXPECT_EQ(controls_.results.SelText(), L"Line");
  DWORD start = 0, end = 0;
  SendMessageW(results, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(std::wstring(text, start, end - start), L"Line");
  EXPECT_GT(SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the selection is scrolled into view";

  // The bar follows at most every 0.4 s while text keeps coming.
  Sleep(700);
  input_.Process();
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  GetScrollInfo(results, SB_VERT, &bar);
  EXPECT_EQ(bar.nMax, 200);  // the empty line after the last CR LF counts
  EXPECT_EQ(bar.nPos, SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0));
  controls_.results.AppendText(text);
  Sleep(700);
  input_.Process();
  GetScrollInfo(results, SB_VERT, &bar);
  EXPECT_EQ(bar.nMax, 400);
  EXPECT_EQ(controls_.results.SelText(), L"Line") << "appending keeps the selection";
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
