// The runtime contract on the headless runtime: the user's actions are its scripted methods.
#include <gtest/gtest.h>

#include "runtime/headless/HeadlessRuntime.h"
#include "tests/contract/RuntimeContract.h"

namespace quillon::contract {
namespace {

class HeadlessContractDriver {
 public:
  HeadlessContractDriver()
      : form_(runtime_.CreateForm(kContractClientWidth, kContractClientHeight, kContractFont)), controls_(*form_) {
    form_->Show();
  }

  runtime::Runtime& Runtime() { return runtime_; }
  RuntimeContractControls& Controls() { return controls_; }

  void Click(runtime::ListBox& list, int index) { Headless(list).UserClick(index); }
  void CtrlClick(runtime::ListBox& list, int index) { Headless(list).UserCtrlClick(index); }
  void DoubleClick(runtime::ListBox& list, int index) { Headless(list).UserDoubleClick(index); }
  void Type(runtime::ComboBox& combo, const std::wstring& text) {
    static_cast<runtime::HeadlessComboBox&>(combo).UserType(text);
  }
  void Pick(runtime::ComboBox& combo, int index) { static_cast<runtime::HeadlessComboBox&>(combo).UserPick(index); }
  void Click(runtime::TextBox& box, int caret) { static_cast<runtime::HeadlessTextBox&>(box).UserClick(caret); }
  void Click(runtime::CheckBox& check) { static_cast<runtime::HeadlessCheckBox&>(check).UserClick(); }
  void Click(runtime::CommandButton& button) { static_cast<runtime::HeadlessCommandButton&>(button).UserClick(); }
  void QueueClick(runtime::CommandButton& button) {
    runtime_.QueueUserAction([&button] { static_cast<runtime::HeadlessCommandButton&>(button).UserClick(); });
  }
  void LetTimePass() {}

  DialogOutcome InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText,
                         std::optional<std::wstring> answer) {
    runtime_.AnswerInputBox(std::move(answer));
    DialogOutcome outcome;
    outcome.text = runtime_.InputBox(prompt, title, defaultText);
    outcome.caption = runtime_.Prompts().back().title;
    outcome.prompt = runtime_.Prompts().back().prompt;
    return outcome;
  }

  DialogOutcome MsgBox(const std::wstring& prompt, int style, const std::wstring& title, int answerButton) {
    runtime_.AnswerMsgBox(answerButton);
    DialogOutcome outcome;
    outcome.answer = runtime_.MsgBox(prompt, style, title);
    outcome.caption = runtime_.Messages().back().title;
    outcome.prompt = runtime_.Messages().back().prompt;
    return outcome;
  }

 private:
  static runtime::HeadlessListBox& Headless(runtime::ListBox& list) {
    return static_cast<runtime::HeadlessListBox&>(list);
  }

  runtime::HeadlessRuntime runtime_;
  std::unique_ptr<runtime::Form> form_;
  RuntimeContractControls controls_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Headless, RuntimeContract, HeadlessContractDriver);

}  // namespace quillon::contract
