// The contract suites on their Win32 halves, under Wine in a throw-away prefix: the runtime contract on real Win32
// controls, where every user action is a posted window message that reaches the control's own window procedure,
// exactly as a user's mouse or keyboard input does; the registry contract against advapi32; the settings contract
// against the store in the current user's registry, and what only a store that outlives the process can show.
#include <gtest/gtest.h>
#include <windows.h>

#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32SettingsStore.h"
#include "tests/contract/RegistryContract.h"
#include "tests/contract/RuntimeContract.h"
#include "tests/contract/SettingsContract.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon::contract {
namespace {

using winetest::WindowOf;

class Win32ContractDriver {
 public:
  Win32ContractDriver() {
    form_->Show();
    input_.Process();
  }
  runtime::Runtime& Runtime() { return runtime_; }
  RuntimeContractControls& Controls() { return controls_; }

  void Click(runtime::ListBox& list, int index) { input_.ClickListItem(WindowOf(list), index); }
  void CtrlClick(runtime::ListBox& list, int index) { input_.ClickListItem(WindowOf(list), index, MK_CONTROL); }
  void DoubleClick(runtime::ListBox& list, int index) { input_.DoubleClickListItem(WindowOf(list), index); }
  void Type(runtime::ComboBox& combo, const std::wstring& text) { input_.TypeIntoCombo(WindowOf(combo), text); }
  void Pick(runtime::ComboBox& combo, int index) { input_.PickFromCombo(WindowOf(combo), index); }
  void Click(runtime::TextBox& box, int caret) { input_.ClickEditAt(WindowOf(box), caret); }
  void Click(runtime::CheckBox& check) { input_.ClickButton(WindowOf(check)); }
  void Click(runtime::CommandButton& button) { input_.ClickButton(WindowOf(button)); }
  void QueueClick(runtime::CommandButton& button) { input_.PostClick(WindowOf(button), {5, 5}); }
  void LetTimePass() { Sleep(30); }  // DoEvents pumps at most every 20 ms

  DialogOutcome InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText,
                         std::optional<std::wstring> answer) {
    return Answered(answer ? IDOK : IDCANCEL, answer,
                    [&](DialogOutcome& shown) { shown.text = runtime_.InputBox(prompt, title, defaultText); });
  }
  DialogOutcome MsgBox(const std::wstring& prompt, int style, const std::wstring& title, int answerButton) {
    return Answered(answerButton, std::nullopt,
                    [&](DialogOutcome& shown) { shown.answer = runtime_.MsgBox(prompt, style, title); });
  }

 private:
  // Shows the dialog while another thread answers it, and reports what it showed.
  template <typename Show>
  DialogOutcome Answered(int button, std::optional<std::wstring> text, Show show) {
    winetest::ModalDialogAnswerer answerer(form_->Window(), {{button, std::move(text)}});
    DialogOutcome outcome;
    show(outcome);
    const std::vector<winetest::SeenDialog> seen = answerer.SeenAll();  // only dialogs owned by the form
    EXPECT_EQ(seen.size(), 1u);
    return seen.empty() ? outcome : DialogOutcome{outcome.text, outcome.answer, seen[0].caption, seen[0].text};
  }

  runtime::Win32Runtime runtime_{GetModuleHandleW(nullptr), L""};
  std::unique_ptr<runtime::win32::Win32Form> form_ =
      winetest::CreateWin32Form(runtime_, kContractClientWidth, kContractClientHeight, kContractFont);
  RuntimeContractControls controls_{*form_};
  winetest::Win32UserInput input_{runtime_};
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RuntimeContract, Win32ContractDriver);

}  // namespace quillon::contract

namespace quillon::registry::contract {

struct Win32Backend {
  using Registry = Win32Registry;
  static constexpr Ordering kOrdering = Ordering::WindowsOrWine;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Backend);

}  // namespace quillon::registry::contract

namespace quillon::runtime::contract {
namespace {

using win32::Win32SettingsStore;

struct Win32Backend {
  using Store = Win32SettingsStore;
  static void RemoveApplication(Store&, const std::wstring& app) {
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\" + app).c_str());
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsContract, Win32Backend);

TEST(Win32Settings, ANewStoreSeesThePairsInOrderAsStringValuesOfTheSectionKey) {
  const std::wstring app = ThrowAwayApplication();
  const Pairs written{{L"b", L"HKLM\\SOFTWARE"}, {L"a", L""}, {L"c", L"hkcu\\Software"}};
  {
    Win32SettingsStore first;
    for (const auto& [key, value] : written) first.SaveSetting(app, L"Goto", key, value);
  }
  Win32SettingsStore second;  // as the program's next start would
  EXPECT_EQ(second.GetAllSettings(app, L"Goto"), written);
  // Each key is a string value of HKCU\Software\<application>\<section>, readable by anything else.
  wchar_t data[32] = {};
  DWORD size = sizeof(data), type = 0;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (L"Software\\" + app + L"\\Goto").c_str(), L"b", RRF_RT_ANY, &type, data,
                         &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, L"HKLM\\SOFTWARE");
  Win32Backend::RemoveApplication(second, app);
}

}  // namespace
}  // namespace quillon::runtime::contract
