// The window at the screen's DPI: laid out from its twips, with fonts made for that DPI, when the program starts at
// 96, 144 or 192 DPI; and laid out again when the DPI changes while it runs, keeping everything it shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"
#include "tests/wine/support/QuillonProcess.h"
#include "tests/wine/support/Win32Driver.h"
#include "window/ControlTable.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using runtime::ControlKind;

RECT PlaceOf(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

/// The height a control's font must have at `dpi`, in pixels (negative: the character height).
LONG FontHeightAt(const runtime::ControlSpec& spec, int dpi) {
  return -MulDiv(static_cast<int>(std::lround(spec.fontPoints * 100)), dpi, 7200);
}

/// Checks every control of the window against the control table at `dpi`: its place and its size (the combo box and
/// the labels that size themselves to their caption excepted); `checkFont` checks its font.
void ExpectLaidOutAt(HWND form, int dpi, const std::function<void(HWND, const runtime::ControlSpec&)>& checkFont) {
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, MulDiv(kClientWidthTwips, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(kClientHeightTwips, dpi, 1440));
  // The form's children come in tab order; the title label is the title panel's only child.
  std::vector<HWND> children;
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  std::size_t next = 0;
  HWND panel = nullptr;
  for (const runtime::ControlSpec& spec : kControlTable) {
    HWND child = spec.parent ? GetWindow(panel, GW_CHILD) : children.at(next++);
    if (spec.kind == ControlKind::PictureBox) panel = child;
    const RECT place = PlaceOf(child);
    EXPECT_EQ(place.left, MulDiv(spec.left, dpi, 1440)) << spec.name << " at " << dpi;
    EXPECT_EQ(place.top, MulDiv(spec.top, dpi, 1440)) << spec.name;
    if (spec.kind != ControlKind::Label || !(spec.options & runtime::kAutoSize)) {
      EXPECT_EQ(place.right - place.left, MulDiv(spec.width, dpi, 1440)) << spec.name;
      if (spec.kind != ControlKind::ComboBox) {
        EXPECT_EQ(place.bottom - place.top, MulDiv(spec.height, dpi, 1440)) << spec.name;
      }
    }
    checkFont(child, spec);
  }
}

/// The line height of the window's font at a height: what a list box's entries and a text box's lines take.
LONG LineHeightOf(LONG fontHeight) {
  HFONT font = CreateFontW(fontHeight, 0, 0, 0, kWindowFont.weight, FALSE, FALSE, FALSE,
                           static_cast<DWORD>(kWindowFont.charSet), 0, 0, 0, 0, kWindowFont.faceName);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return metrics.tmHeight;
}

/// The screen's DPI that programs started from now on get, kept in the throw-away prefix's user settings.
void SetStartingDpi(DWORD dpi) {
  HKEY desktop = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop), ERROR_SUCCESS);
  RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(desktop);
}

TEST(WindowDpi, TheProgramStartsLaidOutInTwipsAtTheScreensDpi) {
  for (const DWORD dpi : {96u, 144u, 192u}) {
    SetStartingDpi(dpi);
    QuillonProcess program;
    ASSERT_TRUE(program.Started());
    HWND form = program.MainWindow();
    ASSERT_NE(form, nullptr);
    // The fonts live in the program's process: the lines of its lists and text boxes show their height.
    int fontsChecked = 0;
    ExpectLaidOutAt(form, static_cast<int>(dpi), [&](HWND control, const runtime::ControlSpec& spec) {
      const LONG lineHeight = LineHeightOf(FontHeightAt(spec, static_cast<int>(dpi)));
      if (IsClass(control, L"ListBox")) {
        EXPECT_EQ(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0), lineHeight) << spec.name;
        ++fontsChecked;
      } else if (IsClass(control, L"Edit")) {
        RECT text{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        if (!(GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE)) {
          EXPECT_EQ(text.bottom - text.top, lineHeight) << spec.name;
        }
        ++fontsChecked;
      }
    });
    EXPECT_EQ(fontsChecked, 9);
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
  }
  SetStartingDpi(96);
}

TEST(WindowDpi, ADpiChangeLaysEverythingOutAgainAndKeepsWhatTheWindowShows) {
  runtime::Win32Runtime runtime(GetModuleHandleW(nullptr), std::wstring());
  registry::Win32Registry registry;
  frmRegEdit window(runtime, registry, nullptr);
  window.Show();
  Win32UserInput input(runtime);
  input.Process();
  const auto form = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window.Form().Handle()));
  const HWND list2 = WindowOf(*window.List2);
  const HWND results = WindowOf(*window.txtFindList);

  // Something shown, selected and scrolled in every kind of control.
  input.ClickListItem(WindowOf(*window.List1), 1);
  const std::vector<std::wstring> subkeys = ListItems(list2);
  std::wstring lines;
  for (int i = 0; i < 300; ++i) lines += L"Key : HKEY_CURRENT_USER\\Node " + std::to_wstring(i) + L"\r\n";
  window.txtFindList->SetText(lines);
  SendMessageW(results, EM_SETSEL, 100, 120);  // scrolls the selection into view, as any edit control does
  SendMessageW(results, EM_LINESCROLL, 0, 40);
  const LRESULT firstVisible = SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GE(firstVisible, 40);
  window.txtFind->SetText(L"typed");
  window.txtGoTo->SetText(L"HKCU\\Software");

  const int after = 2 * runtime::win32::WindowDpi(form);
  RECT frame{0, 0, MulDiv(kClientWidthTwips, after, 1440), MulDiv(kClientHeightTwips, after, 1440)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(form, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(form, GWL_EXSTYLE)));
  SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&frame));
  input.Process();

  ExpectLaidOutAt(form, after, [&](HWND control, const runtime::ControlSpec& spec) {
    LOGFONTW font{};
    if (spec.kind == ControlKind::PictureBox) return;
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, FontHeightAt(spec, after)) << spec.name;
    EXPECT_EQ(std::wstring(font.lfFaceName), kWindowFont.faceName) << spec.name;
    EXPECT_EQ(font.lfCharSet, kWindowFont.charSet) << spec.name;
  });
  EXPECT_TRUE(window.List1->Selected(1));
  EXPECT_EQ(ListItems(list2), subkeys);
  EXPECT_EQ(window.txtFindList->Text(), lines);
  EXPECT_EQ(SendMessageW(results, EM_GETFIRSTVISIBLELINE, 0, 0), firstVisible);
  EXPECT_EQ(window.txtFindList->SelStart(), 100);
  EXPECT_EQ(window.txtFindList->SelLength(), 20);
  EXPECT_EQ(window.txtFind->Text(), L"typed");
  EXPECT_EQ(window.txtGoTo->Text(), L"HKCU\\Software");
}

}  // namespace
}  // namespace quillon::winetest
