// What only the Win32 runtime has: real windows, styles, fonts, DPI, the dialog manager, the message loop, the
// held-back appends, the throttled DoEvents and the platform's text conversions.
#include <gtest/gtest.h>

#include <chrono>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/contract/RuntimeContractForm.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon {
namespace {

using winetest::WindowOf;

class Win32RuntimeTest : public ::testing::Test {
 protected:
  Win32RuntimeTest()
      : runtime_(GetModuleHandleW(nullptr), L"-st"),
        form_(winetest::CreateWin32Form(runtime_, contract::kContractClientWidth, contract::kContractClientHeight,
                                        contract::kContractFont)),
        controls_(*form_),
        input_(runtime_) {}

  HWND Child(const char* name) const { return form_->ControlWindow(name); }
  static LONG_PTR Style(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
  int Pixels(int twips) const { return MulDiv(twips, runtime::win32::WindowDpi(form_->Window()), 1440); }

  runtime::Win32Runtime runtime_;
  std::unique_ptr<runtime::win32::Win32Form> form_;
  contract::RuntimeContractControls controls_;
  winetest::Win32UserInput input_;
};

TEST_F(Win32RuntimeTest, FormIsAFixedWindowSizedInTwipsThatLoadsOnceBeforeItIsVisible) {
  HWND window = form_->Window();
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, Pixels(contract::kContractClientWidth));
  EXPECT_EQ(client.bottom, Pixels(contract::kContractClientHeight));
  const LONG_PTR style = Style(window);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(form_->Handle(), static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));

  std::vector<bool> visibleAtLoad;
  form_->Load = [&] { visibleAtLoad.push_back(form_->Visible()); };
  form_->SetCaption(L"Quillon");
  form_->Show();
  form_->Show();
  EXPECT_EQ(visibleAtLoad, std::vector<bool>{false});
  EXPECT_TRUE(form_->Visible());
  EXPECT_EQ(form_->Caption(), L"Quillon");

  form_->SetWindowState(runtime::kMinimized);
  EXPECT_TRUE(IsIconic(window));
  EXPECT_EQ(form_->WindowState(), runtime::kMinimized);
  form_->SetWindowState(runtime::kNormal);
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(form_->WindowState(), runtime::kNormal);
}

TEST_F(Win32RuntimeTest, ControlsAreStandardControlsInTabOrderWithTheirStylesPlacesAndFonts) {
  auto classOf = [](HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return std::wstring(name);
  };
  EXPECT_EQ(CompareStringOrdinal(classOf(Child("Sorted")).c_str(), -1, L"ListBox", -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(CompareStringOrdinal(classOf(Child("Combo")).c_str(), -1, L"ComboBox", -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(CompareStringOrdinal(classOf(Child("Results")).c_str(), -1, L"Edit", -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(CompareStringOrdinal(classOf(Child("Check")).c_str(), -1, L"Button", -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(CompareStringOrdinal(classOf(Child("AutoLabel")).c_str(), -1, L"Static", -1, TRUE), CSTR_EQUAL);

  EXPECT_TRUE(Style(Child("Sorted")) & LBS_SORT);
  EXPECT_FALSE(Style(Child("Unsorted")) & LBS_SORT);
  EXPECT_TRUE(Style(Child("Extended")) & LBS_EXTENDEDSEL);
  EXPECT_TRUE(Style(Child("Sorted")) & LBS_NOTIFY);
  EXPECT_EQ(Style(Child("Combo")) & 0x3, CBS_DROPDOWN);
  const LONG_PTR results = Style(Child("Results"));
  EXPECT_EQ(results & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL),
            ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL);
  EXPECT_FALSE(Style(Child("Single")) & (ES_MULTILINE | ES_READONLY));
  EXPECT_EQ(Style(Child("Check")) & BS_TYPEMASK, BS_3STATE);
  EXPECT_EQ(Style(Child("Button")) & BS_TYPEMASK, BS_PUSHBUTTON);

  // The dialog manager tabs through the controls in the order they were created.
  HWND window = form_->Window();
  const char* tabOrder[] = {"Sorted", "Unsorted", "Extended", "Combo", "Single", "Results", "Check", "Button"};
  HWND item = Child(tabOrder[0]);
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
    item = GetNextDlgTabItem(window, item, FALSE);
    HWND expected = Child(tabOrder[i]);
    EXPECT_TRUE(item == expected || GetParent(item) == expected) << "after " << tabOrder[i - 1];
  }

  // Twips become pixels at the window's DPI; the label inside the panel is placed from the panel's corner.
  RECT place{};
  GetWindowRect(Child("Unsorted"), &place);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, Pixels(1920));
  EXPECT_EQ(place.bottom - place.top, Pixels(2790));
  EXPECT_EQ(GetParent(Child("Banner")), Child("Picture"));

  const int dpi = runtime::win32::WindowDpi(window);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Child("Sorted"), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(825, dpi, 7200));
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfCharSet, 177);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Child("Banner"), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(1125, dpi, 7200));
}

TEST_F(Win32RuntimeTest, TabKeyMovesTheFocusThroughTheMessageLoopsDialogManager) {
  form_->Show();
  SetFocus(Child("Sorted"));
  PostMessageW(Child("Sorted"), WM_KEYDOWN, VK_TAB, 1);
  PostMessageW(Child("Sorted"), WM_KEYUP, VK_TAB, 1);
  input_.Process();
  EXPECT_EQ(GetFocus(), Child("Unsorted"));
}

TEST_F(Win32RuntimeTest, SortedListTakes100000InOrderEntriesQuicklyAndStillSortsStragglers) {
  auto& list = controls_.sorted;
  wchar_t name[32] = {};
  const auto start = std::chrono::steady_clock::now();
  list.BeginUpdate();
  for (int i = 0; i < 100000; ++i) {
    swprintf(name, 32, L"Key%06d", i);
    list.AddItem(name);
  }
  list.EndUpdate();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // About 0.4 s under Wine; the control's own binary search alone takes 2 s.
  EXPECT_LT(elapsed, std::chrono::seconds(2));
  EXPECT_EQ(list.ListCount(), 100000);
  EXPECT_EQ(list.List(0), L"Key000000");
  EXPECT_EQ(list.List(99999), L"Key099999");

  // Entries out of order, and entries after a removal, still land in their place.
  list.Clear();
  for (const wchar_t* entry : {L"b", L"d", L"a", L"KEY", L"key"}) list.AddItem(entry);
  list.RemoveItem(list.ListCount() - 1);
  list.AddItem(L"c");
  list.AddItem(L"e");
  std::vector<std::wstring> entries;
  for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e", L"key"}));
}

TEST_F(Win32RuntimeTest, ReadOnlyBoxHoldsAppendsBackUntilEventsAreProcessedOrTheBoxIsRead) {
  HWND results = Child("Results");
  controls_.results.AppendText(L"Key : A\r\n");
  controls_.results.AppendText(L"Key : B\r\n");
  EXPECT_EQ(GetWindowTextLengthW(results), 0);  // nothing has reached the control yet
  runtime_.ProcessPendingMessages();
  EXPECT_EQ(winetest::WindowOf(controls_.results), results);
  EXPECT_EQ(runtime::win32::WindowText(results), L"Key : A\r\nKey : B\r\n");

  controls_.results.AppendText(L"Key : C\r\n");
  EXPECT_EQ(controls_.results.SelStart(), 27);  // any use of the box from code sees the text first
  EXPECT_EQ(GetWindowTextLengthW(results), 27);

  // Other boxes append at once.
  controls_.single.AppendText(L"!");
  EXPECT_EQ(runtime::win32::WindowText(Child("Single")), L"start!");

  // Thousands of appends cost one EM_REPLACESEL.
  const auto start = std::chrono::steady_clock::now();
  const std::wstring line = L"Value : HKEY_CURRENT_USER\\Software\\Name\r\n";
  for (int i = 0; i < 3000; ++i) controls_.results.AppendText(line);
  runtime_.ProcessPendingMessages();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(GetWindowTextLengthW(results), 27 + 3000 * static_cast<int>(line.size()));
}

TEST_F(Win32RuntimeTest, DoEventsPumpsAtMostEvery20Milliseconds) {
  int clicks = 0;
  controls_.button.Click = [&] { ++clicks; };
  HWND button = Child("Button");
  runtime_.DoEvents();  // pumps: nothing pumped before

  input_.PostClick(button, {5, 5});
  runtime_.DoEvents();  // within 20 ms of the last pump: returns at once
  EXPECT_EQ(clicks, 0);
  Sleep(30);
  runtime_.DoEvents();
  EXPECT_EQ(clicks, 1);

  // The search calls it once per registry step; the calls that do not pump must cost next to nothing.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 100000; ++i) runtime_.DoEvents();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(Win32RuntimeTest, HourglassShowsOverTheWholeWindowUntilTheDefaultIsBack) {
  form_->Show();
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  runtime_.SetMousePointer(runtime::kPointerHourglass);
  EXPECT_EQ(GetCursor(), wait);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  HWND edit = Child("Single");
  EXPECT_TRUE(SendMessageW(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), wait);

  runtime_.SetMousePointer(runtime::kPointerDefault);
  EXPECT_NE(GetCursor(), wait);
  SendMessageW(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));  // the edit field's own cursor again
}

TEST_F(Win32RuntimeTest, WhiteLabelPaintsOnThePanelColourAndAutoSizedLabelFitsItsCaption) {
  controls_.picture.SetBackColor(12098443u);
  controls_.banner.SetCaption(L"Quillon");
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(Child("Picture"), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(Child("Banner"))));
  LOGBRUSH colour{};
  ASSERT_NE(brush, nullptr);
  GetObjectW(brush, sizeof(colour), &colour);
  EXPECT_EQ(colour.lbColor, RGB(139, 155, 184));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  DeleteDC(dc);

  RECT before{};
  GetWindowRect(Child("AutoLabel"), &before);
  controls_.autoLabel.SetCaption(L"REG_EXPAND_SZ and more");
  RECT after{};
  GetWindowRect(Child("AutoLabel"), &after);
  EXPECT_GT(after.right - after.left, before.right - before.left);
  EXPECT_NE(after.right - after.left, Pixels(795));  // no longer the width it was given
}

TEST_F(Win32RuntimeTest, PromptIsOwnedByTheMainWindowAndSeesTheTextHeldBack) {
  form_->Show();
  controls_.results.AppendText(L"line\r\n");
  winetest::ModalDialogAnswerer answerer(form_->Window(), IDOK, L"typed");
  const std::wstring answer = runtime_.InputBox(L"Name", L"", L"");
  const winetest::SeenDialog seen = answerer.Seen();
  EXPECT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, form_->Window());
  EXPECT_EQ(answer, L"typed");
  EXPECT_EQ(runtime::win32::WindowText(Child("Results")), L"line\r\n");
}

TEST_F(Win32RuntimeTest, ClosingTheLastFormEndsTheMessageLoop) {
  form_->Show();
  PostMessageW(form_->Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(runtime_.RunMessageLoop(), 0);
  EXPECT_FALSE(form_->Visible());
  EXPECT_EQ(form_->Handle(), 0u);
  // With no form open the loop has nothing to wait for.
  EXPECT_EQ(runtime_.RunMessageLoop(), 0);
}

TEST_F(Win32RuntimeTest, AnExceptionFromAUsersEventLeavesThroughTheDispatchNotTheWindowProcedure) {
  controls_.button.Click = [] { throw std::runtime_error("handler failed"); };
  input_.PostClick(Child("Button"), {5, 5});
  EXPECT_THROW(runtime_.ProcessPendingMessages(), std::runtime_error);
  runtime_.ProcessPendingMessages();  // the failure was reported once
}

TEST_F(Win32RuntimeTest, ApplicationAndTextComeFromTheProcessAndTheAnsiCodePage) {
  auto& app = runtime_.App();
  EXPECT_EQ(app.EXEName(), L"runtime_win32");
  EXPECT_EQ(app.Command(), L"-st");
  EXPECT_EQ(app.hInstance(), reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr)));
  EXPECT_EQ(app.Title(), L"runtime_win32");

  const auto& text = runtime_.Text();
  const std::wstring umlauts = L"K\u00E4se\u00DF";
  const std::string ansi = text.ToAnsi(umlauts);
  ASSERT_EQ(ansi.size(), umlauts.size());  // one byte per character in a single-byte code page
  EXPECT_EQ(text.FromAnsi(ansi), umlauts);
  EXPECT_EQ(text.FromAnsi(std::string("\0A", 2)), std::wstring(L"\0A", 2));
  EXPECT_EQ(text.UCase(L"hkey_\u00E4"), L"HKEY_\u00C4");
  EXPECT_EQ(text.LCase(L"HKEY_\u00C4"), L"hkey_\u00E4");
}

}  // namespace
}  // namespace quillon
