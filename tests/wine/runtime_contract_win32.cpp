// The runtime contract on real Win32 controls: every user action is a posted window message that reaches the
// control's own window procedure, exactly as a user's mouse or keyboard input does.
#include <gtest/gtest.h>

#include "tests/contract/RuntimeContract.h"
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
    winetest::ModalDialogAnswerer answerer(form_->Window(), button, std::move(text));
    DialogOutcome outcome;
    show(outcome);
    const winetest::SeenDialog seen = answerer.Seen();
    EXPECT_TRUE(seen.found && seen.owner == form_->Window()) << "no dialog owned by the form appeared";
    outcome.caption = seen.caption;
    outcome.prompt = seen.text;
    return outcome;
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
