// The runtime contract on real Win32 controls: every user action is a posted window message that reaches the
// control's own window procedure, exactly as a user's mouse or keyboard input does.
#include <gtest/gtest.h>

#include "tests/contract/RuntimeContract.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon::contract {
namespace {

using winetest::ModalDialogAnswerer;
using winetest::WindowOf;

class Win32ContractDriver {
 public:
  Win32ContractDriver()
      : runtime_(GetModuleHandleW(nullptr), L""),
        form_(winetest::CreateWin32Form(runtime_, kContractClientWidth, kContractClientHeight, kContractFont)),
        controls_(*form_),
        input_(runtime_) {
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

  void QueueClick(runtime::CommandButton& button) {
    HWND window = WindowOf(button);
    RECT client{};
    GetClientRect(window, &client);
    input_.PostClick(window, {client.right / 2, client.bottom / 2});
  }

  /// DoEvents pumps at most every 20 ms; wait that long so the next call does.
  void LetTimePass() { Sleep(30); }

  DialogOutcome InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText,
                         std::optional<std::wstring> answer) {
    ModalDialogAnswerer answerer(form_->Window(), answer ? IDOK : IDCANCEL, answer);
    DialogOutcome outcome;
    outcome.text = runtime_.InputBox(prompt, title, defaultText);
    const winetest::SeenDialog seen = answerer.Seen();
    EXPECT_TRUE(seen.found) << "no prompt owned by the form appeared";
    outcome.caption = seen.caption;
    outcome.prompt = seen.text;
    return outcome;
  }

  DialogOutcome MsgBox(const std::wstring& prompt, int style, const std::wstring& title, int answerButton) {
    ModalDialogAnswerer answerer(form_->Window(), answerButton);
    DialogOutcome outcome;
    outcome.answer = runtime_.MsgBox(prompt, style, title);
    const winetest::SeenDialog seen = answerer.Seen();
    EXPECT_TRUE(seen.found) << "no message box owned by the form appeared";
    outcome.caption = seen.caption;
    outcome.prompt = seen.text;
    return outcome;
  }

 private:
  runtime::Win32Runtime runtime_;
  std::unique_ptr<runtime::win32::Win32Form> form_;
  RuntimeContractControls controls_;
  winetest::Win32UserInput input_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RuntimeContract, Win32ContractDriver);

}  // namespace quillon::contract
