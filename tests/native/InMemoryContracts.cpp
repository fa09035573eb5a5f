// The contract suites on their in-memory halves: the runtime contract on the headless runtime, whose user actions
// are scripted methods; the settings contract on its in-memory store; the registry contract on the in-memory
// registry, which follows Windows where Wine and Windows differ (its fixture helpers and injected failures are what
// every window test stands on).
#include <gtest/gtest.h>

#include "registry/memory/MemoryRegistry.h"
#include "runtime/headless/HeadlessRuntime.h"
#include "tests/contract/RegistryContract.h"
#include "tests/contract/RuntimeContract.h"
#include "tests/contract/SettingsContract.h"

namespace quillon::contract {
namespace {

using namespace runtime;

class HeadlessContractDriver {
 public:
  HeadlessContractDriver() { form_->Show(); }
  runtime::Runtime& Runtime() { return runtime_; }
  RuntimeContractControls& Controls() { return controls_; }

  void Click(ListBox& list, int index) { static_cast<HeadlessListBox&>(list).UserClick(index); }
  void CtrlClick(ListBox& list, int index) { static_cast<HeadlessListBox&>(list).UserCtrlClick(index); }
  void DoubleClick(ListBox& list, int index) { static_cast<HeadlessListBox&>(list).UserDoubleClick(index); }
  void Type(ComboBox& combo, const std::wstring& text) { static_cast<HeadlessComboBox&>(combo).UserType(text); }
  void Pick(ComboBox& combo, int index) { static_cast<HeadlessComboBox&>(combo).UserPick(index); }
  void Click(TextBox& box, int caret) { static_cast<HeadlessTextBox&>(box).UserClick(caret); }
  void Click(CheckBox& check) { static_cast<HeadlessCheckBox&>(check).UserClick(); }
  void Click(CommandButton& button) { static_cast<HeadlessCommandButton&>(button).UserClick(); }
  void QueueClick(CommandButton& button) { runtime_.QueueUserAction([this, &button] { Click(button); }); }
  void LetTimePass() {}

  DialogOutcome InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText,
                         std::optional<std::wstring> answer) {
    runtime_.AnswerInputBox(std::move(answer));
    std::wstring text = runtime_.InputBox(prompt, title, defaultText);
    return {text, 0, runtime_.Prompts().back().title, runtime_.Prompts().back().prompt};
  }
  DialogOutcome MsgBox(const std::wstring& prompt, int style, const std::wstring& title, int answerButton) {
    runtime_.AnswerMsgBox(answerButton);
    const int answer = runtime_.MsgBox(prompt, style, title);
    return {L"", answer, runtime_.Messages().back().title, runtime_.Messages().back().prompt};
  }

 private:
  HeadlessRuntime runtime_;
  std::unique_ptr<Form> form_ = runtime_.CreateForm(kContractClientWidth, kContractClientHeight, kContractFont);
  RuntimeContractControls controls_{*form_};
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Headless, RuntimeContract, HeadlessContractDriver);

}  // namespace quillon::contract

namespace quillon::runtime::contract {

struct MemorySettingsBackend {
  using Store = MemorySettingsStore;
  static void RemoveApplication(Store&, const std::wstring&) {}  // the store goes with the test
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsContract, MemorySettingsBackend);

}  // namespace quillon::runtime::contract

namespace quillon::registry::contract {

struct MemoryBackend {
  using Registry = MemoryRegistry;
  static constexpr Ordering kOrdering = Ordering::Windows;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryBackend);

}  // namespace quillon::registry::contract
