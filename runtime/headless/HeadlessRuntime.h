#pragma once
/// The headless forms runtime: windows and controls in memory, scripted answers for prompts and message boxes,
/// and queued user actions that run while the program processes pending events.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Runtime.h"
#include "runtime/headless/HeadlessControls.h"
#include "runtime/headless/Windows1252Text.h"

namespace quillon::runtime {

class HeadlessForm : public Form {
 public:
  ListBox& AddListBox(const ControlSpec& spec) override;
  ComboBox& AddComboBox(const ControlSpec& spec) override;
  TextBox& AddTextBox(const ControlSpec& spec) override;
  CheckBox& AddCheckBox(const ControlSpec& spec) override;
  Label& AddLabel(const ControlSpec& spec) override;
  PictureBox& AddPictureBox(const ControlSpec& spec) override;
  CommandButton& AddCommandButton(const ControlSpec& spec) override;

  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override { caption_ = caption; }
  int WindowState() const override { return state_; }
  void SetWindowState(int state) override { state_ = state; }
  bool Visible() const override { return visible_; }
  std::uint32_t Handle() const override { return 0; }
  void Show() override;

  /// The specs of the controls in the order they were created (the tab order).
  const std::vector<ControlSpec>& Specs() const { return specs_; }
  /// The window state at the moment the window first became visible.
  std::optional<int> StateWhenShown() const { return stateWhenShown_; }

 private:
  template <typename T>
  T& Keep(const ControlSpec& spec, std::unique_ptr<T> control);

  std::vector<std::shared_ptr<void>> controls_;
  std::vector<ControlSpec> specs_;
  std::wstring caption_;
  int state_ = kNormal;
  bool visible_ = false;
  bool loaded_ = false;
  std::optional<int> stateWhenShown_;
};

/// An in-memory settings store; keys keep the order in which they were first written.
class MemorySettingsStore : public SettingsStore {
 public:
  void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override;
  Pairs GetAllSettings(const std::wstring& app, const std::wstring& section) override;
  [[nodiscard]] bool DeleteSetting(const std::wstring& app, const std::wstring& section,
                                   const std::wstring& key) override;

 private:
  std::map<std::wstring, Pairs> sections_;  // by application and section name
};

class HeadlessApplication : public Application {
 public:
  std::wstring Title() const override { return title_; }
  void SetTitle(const std::wstring& title) override { title_ = title; }
  std::wstring EXEName() const override { return exeName_; }
  std::wstring Command() const override { return command_; }
  std::uintptr_t hInstance() const override { return 0; }

  void SetEXEName(const std::wstring& name) { exeName_ = name; }
  void SetCommand(const std::wstring& command) { command_ = command; }

 private:
  std::wstring title_ = L"quillon";
  std::wstring exeName_ = L"quillon";
  std::wstring command_;
};

class HeadlessRuntime : public Runtime {
 public:
  struct ShownPrompt {
    std::wstring prompt;
    std::wstring title;
    std::wstring defaultText;
  };
  struct ShownMessage {
    std::wstring prompt;
    int style;
    std::wstring title;
  };

  Application& App() override { return app_; }
  std::unique_ptr<Form> CreateForm(int clientWidthTwips, int clientHeightTwips, const FontSpec& font) override;
  std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                        const std::wstring& defaultText) override;
  int MsgBox(const std::wstring& prompt, int style, const std::wstring& title) override;
  int MousePointer() const override { return pointer_; }
  void SetMousePointer(int pointer) override;
  bool DoEvents() override;
  SettingsStore& Settings() override { return *settings_; }
  const PlatformText& Text() const override { return text_; }

  // Scripting, for tests.
  HeadlessApplication& HeadlessApp() { return app_; }
  void SetCommand(const std::wstring& command) { app_.SetCommand(command); }
  /// The next prompt's answer; nullopt is Cancel. Unscripted prompts are cancelled.
  void AnswerInputBox(std::optional<std::wstring> answer) { inputAnswers_.push_back(std::move(answer)); }
  /// The next message box's answer. Unscripted boxes get their default button: No for Yes/No, else OK.
  void AnswerMsgBox(int answer) { msgBoxAnswers_.push_back(answer); }
  const std::vector<ShownPrompt>& Prompts() const { return prompts_; }
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  /// An action of the user's that runs inside the next DoEvents.
  void QueueUserAction(std::function<void()> action) { userActions_.push_back(std::move(action)); }
  int DoEventsCount() const { return doEventsCount_; }
  const std::vector<int>& MousePointerHistory() const { return pointerHistory_; }
  /// Lets several runtimes (a program and its restart) share one settings store.
  void UseSettings(std::shared_ptr<SettingsStore> settings) { settings_ = std::move(settings); }

 private:
  std::wstring CaptionOrTitle(const std::wstring& title) const { return title.empty() ? app_.Title() : title; }

  HeadlessApplication app_;
  Windows1252Text text_;
  std::shared_ptr<SettingsStore> settings_ = std::make_shared<MemorySettingsStore>();
  std::deque<std::optional<std::wstring>> inputAnswers_;
  std::deque<int> msgBoxAnswers_;
  std::vector<ShownPrompt> prompts_;
  std::vector<ShownMessage> messages_;
  std::deque<std::function<void()>> userActions_;
  int doEventsCount_ = 0;
  int pointer_ = kPointerDefault;
  std::vector<int> pointerHistory_;
};

}  // namespace quillon::runtime
