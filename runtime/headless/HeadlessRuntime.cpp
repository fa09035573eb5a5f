#include "runtime/headless/HeadlessRuntime.h"

#include <algorithm>

namespace quillon::runtime {

// ---- Form -----------------------------------------------------------------------------------------------------

template <typename T>
T& HeadlessForm::Keep(const ControlSpec& spec, std::unique_ptr<T> control) {
  T& reference = *control;
  controls_.push_back(std::shared_ptr<T>(std::move(control)));
  specs_.push_back(spec);
  return reference;
}

ListBox& HeadlessForm::AddListBox(const ControlSpec& spec) {
  return Keep(spec, std::make_unique<HeadlessListBox>(spec));
}
ComboBox& HeadlessForm::AddComboBox(const ControlSpec& spec) {
  return Keep(spec, std::make_unique<HeadlessComboBox>());
}
TextBox& HeadlessForm::AddTextBox(const ControlSpec& spec) {
  return Keep(spec, std::make_unique<HeadlessTextBox>(spec));
}
CheckBox& HeadlessForm::AddCheckBox(const ControlSpec& spec) {
  return Keep(spec, std::make_unique<HeadlessCheckBox>(spec));
}
Label& HeadlessForm::AddLabel(const ControlSpec& spec) { return Keep(spec, std::make_unique<HeadlessLabel>(spec)); }
PictureBox& HeadlessForm::AddPictureBox(const ControlSpec& spec) {
  return Keep(spec, std::make_unique<HeadlessPictureBox>());
}
CommandButton& HeadlessForm::AddCommandButton(const ControlSpec& spec) {
  return Keep(spec, std::make_unique<HeadlessCommandButton>(spec));
}

void HeadlessForm::Show() {
  if (!loaded_) {
    loaded_ = true;
    if (Load) Load();
  }
  if (!visible_) stateWhenShown_ = state_;
  visible_ = true;
}

// ---- Settings -------------------------------------------------------------------------------------------------

namespace {
std::wstring SectionId(const std::wstring& app, const std::wstring& section) { return app + L'\x1f' + section; }
}  // namespace

void MemorySettingsStore::SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                                      const std::wstring& value) {
  Pairs& pairs = sections_[SectionId(app, section)];
  auto existing = std::find_if(pairs.begin(), pairs.end(), [&](const auto& pair) { return pair.first == key; });
  if (existing != pairs.end()) {
    existing->second = value;
    return;
  }
  pairs.emplace_back(key, value);
}

SettingsStore::Pairs MemorySettingsStore::GetAllSettings(const std::wstring& app, const std::wstring& section) {
  auto found = sections_.find(SectionId(app, section));
  return found == sections_.end() ? Pairs() : found->second;
}

bool MemorySettingsStore::DeleteSetting(const std::wstring& app, const std::wstring& section,
                                        const std::wstring& key) {
  auto found = sections_.find(SectionId(app, section));
  if (found == sections_.end()) return false;
  Pairs& pairs = found->second;
  auto existing = std::find_if(pairs.begin(), pairs.end(), [&](const auto& pair) { return pair.first == key; });
  if (existing == pairs.end()) return false;
  pairs.erase(existing);
  return true;
}

// ---- Runtime --------------------------------------------------------------------------------------------------

std::unique_ptr<Form> HeadlessRuntime::CreateForm(int, int, const FontSpec&) {
  return std::make_unique<HeadlessForm>();
}

std::wstring HeadlessRuntime::InputBox(const std::wstring& prompt, const std::wstring& title,
                                       const std::wstring& defaultText) {
  prompts_.push_back({prompt, CaptionOrTitle(title), defaultText});
  if (inputAnswers_.empty()) return std::wstring();
  std::optional<std::wstring> answer = std::move(inputAnswers_.front());
  inputAnswers_.pop_front();
  return answer.value_or(std::wstring());
}

int HeadlessRuntime::MsgBox(const std::wstring& prompt, int style, const std::wstring& title) {
  messages_.push_back({prompt, style, CaptionOrTitle(title)});
  if (msgBoxAnswers_.empty()) return (style & 0xF) == kYesNo ? kAnswerNo : kAnswerOk;
  const int answer = msgBoxAnswers_.front();
  msgBoxAnswers_.pop_front();
  return answer;
}

void HeadlessRuntime::SetMousePointer(int pointer) {
  pointer_ = pointer;
  pointerHistory_.push_back(pointer);
}

bool HeadlessRuntime::DoEvents() {
  ++doEventsCount_;
  // With no action queued nothing can have changed, as when the platform's queue is empty.
  if (userActions_.empty()) return false;
  // Only the actions pending now run; an action that queues another leaves it for the next call, as a message
  // posted while the queue is being processed waits for the next pass.
  std::deque<std::function<void()>> pending;
  pending.swap(userActions_);
  for (auto& action : pending) action();
  return true;
}

}  // namespace quillon::runtime
