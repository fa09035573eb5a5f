// The real window over the real registry and the real settings store: a path typed with a hive alias into the Go To
// box and the "Go To" button pressed, a click on a line of the result box, and the favourites found again in the
// drop-down list after the window and its runtime are made anew.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"
#include "tests/wine/support/Win32Driver.h"
#include "window/frmRegEdit.h"

namespace quillon::winetest {
namespace {

using Strings = std::vector<std::wstring>;

std::wstring WindowText(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied);
  return text;
}

std::wstring ListText(HWND list, int index) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return L"<none>";
  std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
  item.resize(static_cast<std::size_t>(length));
  return item;
}

Strings ComboItems(HWND combo) {
  Strings items;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
    std::wstring item(length + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(length);
    items.push_back(item);
  }
  return items;
}

void SetRegistryString(const std::wstring& path, const wchar_t* name, const std::wstring& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

class GoToE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    testKey_ = L"QuillonTest-" + std::to_wstring(GetCurrentProcessId());
    SetRegistryString(L"Software\\" + testKey_ + L"\\Example", L"Setting", L"on");
    SetRegistryString(L"Software\\" + testKey_ + L"\\Example", L"Other", L"x");
    SetRegistryString(L"Software\\" + testKey_ + L"\\Example\\Child", L"Deep", L"deep");
    Start();
    // The favourites live under the test program's own name, never under the program's.
    settingsPath_ = L"Software\\" + runtime_->App().EXEName();
    ASSERT_NE(runtime_->App().EXEName(), L"quillon");
  }

  void TearDown() override {
    Stop();
    EXPECT_EQ(registry_.OpenHandleCount(), 0u);
    for (const std::wstring& path : {L"Software\\" + testKey_, settingsPath_}) {
      RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
      RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
      HKEY left = nullptr;
      EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &left), ERROR_SUCCESS) << "left behind";
    }
  }

  /// A new runtime and window, as when the program starts.
  void Start() {
    runtime_ = std::make_unique<runtime::Win32Runtime>(GetModuleHandleW(nullptr), std::wstring());
    window_ = std::make_unique<frmRegEdit>(*runtime_, registry_, nullptr);
    window_->Show();
    input_ = std::make_unique<Win32UserInput>(*runtime_);
    input_->Process();
  }
  void Stop() {
    window_.reset();
    input_.reset();
    runtime_.reset();
  }

  HWND Combo() const { return WindowOf(*window_->txtGoTo); }
  HWND List3() const { return WindowOf(*window_->List3); }
  std::wstring ComboText() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(Combo(), &info);
    return WindowText(info.hwndItem);
  }
  std::wstring SelectedValue() const {
    return ListText(List3(), static_cast<int>(SendMessageW(List3(), LB_GETCURSEL, 0, 0)));
  }
  void PressGoTo() { input_->ClickButton(WindowOf(*window_->cmdGoTo)); }

  std::wstring ExampleKey() const { return L"HKEY_CURRENT_USER\\Software\\" + testKey_ + L"\\Example"; }

  std::wstring testKey_;
  std::wstring settingsPath_;
  registry::Win32Registry registry_;
  std::unique_ptr<runtime::Win32Runtime> runtime_;
  std::unique_ptr<frmRegEdit> window_;
  std::unique_ptr<Win32UserInput> input_;
};

TEST_F(GoToE2E, ATypedAliasPathOpensKeyAndValueAndIsOfferedAgainAfterARestart) {
  EXPECT_EQ(ComboItems(Combo()), Strings{L""});

  const std::wstring typed = L"hkcu\\Software\\" + testKey_ + L"\\Example\\Setting";
  input_->TypeIntoCombo(Combo(), typed);
  PressGoTo();
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), ExampleKey());
  EXPECT_EQ(SelectedValue(), L"Setting");
  EXPECT_EQ(WindowText(WindowOf(*window_->txtValue)), L"on");
  EXPECT_EQ(ComboItems(Combo()), (Strings{L"", typed}));
  EXPECT_EQ(ComboText(), L"");

  input_->TypeIntoCombo(Combo(), L"HKCU\\Software\\" + testKey_ + L"\\Example\\Child");
  PressGoTo();
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), ExampleKey() + L"\\Child");

  Stop();
  Start();
  const Strings offered{L"", typed, L"HKCU\\Software\\" + testKey_ + L"\\Example\\Child"};
  EXPECT_EQ(ComboItems(Combo()), offered);

  // Picked from the list: the window goes there and nothing new is stored.
  input_->PickFromCombo(Combo(), 1);
  PressGoTo();
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), ExampleKey());
  EXPECT_EQ(SelectedValue(), L"Setting");
  EXPECT_EQ(ComboItems(Combo()), offered);
  EXPECT_EQ(ComboText(), typed);

  // Removing the first one leaves the second under the first number, so a new one does not overwrite it.
  input_->ClickButton(WindowOf(*window_->cmdDeleteGoto));
  EXPECT_EQ(ComboItems(Combo()), (Strings{L"", offered[2]}));
  input_->TypeIntoCombo(Combo(), L"HKLM");
  PressGoTo();
  Stop();
  Start();
  EXPECT_EQ(ComboItems(Combo()), (Strings{L"", offered[2], L"HKLM"}));
}

TEST_F(GoToE2E, AClickOnAResultLineOpensItsEntryAndKeepsTheGoToText) {
  const std::wstring keyEntry = ExampleKey() + L"\\Child";
  const std::wstring valueEntry = ExampleKey() + L"\\Other";
  const std::wstring results = L"Key : " + keyEntry + L"\r\nValue : " + valueEntry + L"\r\n";
  const HWND resultBox = WindowOf(*window_->txtFindList);
  SendMessageW(resultBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(results.c_str()));
  input_->TypeIntoCombo(Combo(), L"half typed");

  input_->ClickEditAt(resultBox, static_cast<int>(results.find(L"Value : ") + 12));
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), ExampleKey());
  EXPECT_EQ(SelectedValue(), L"Other");
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(resultBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(results.substr(start, end - start), valueEntry);
  EXPECT_EQ(ComboText(), L"half typed");

  // On the second line's label: the line above.
  input_->ClickEditAt(resultBox, static_cast<int>(results.find(L"Value : ") + 1));
  EXPECT_EQ(WindowText(WindowOf(*window_->txtKey)), keyEntry);
  EXPECT_EQ(ComboItems(Combo()), (Strings{L"", valueEntry, keyEntry}));
  EXPECT_EQ(ComboText(), L"half typed");
}

}  // namespace
}  // namespace quillon::winetest
