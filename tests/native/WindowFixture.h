#pragma once
// A loaded main window over the headless runtime and an in-memory registry, the user's clicks on it, and a
// byte-for-byte picture of the whole registry to prove what an action did and did not touch.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "registry/memory/MemoryRegistry.h"
#include "registry/modRegistry.h"
#include "runtime/headless/HeadlessRuntime.h"
#include "tests/contract/RuntimeContractForm.h"
#include "window/frmRegEdit.h"

namespace quillon::testing {

using Strings = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

class WindowTest : public ::testing::Test {
 protected:
  static constexpr const char* kQuill = "HKCU\\Software\\Quill";

  void SetUp() override { Open(); }
  void TearDown() override {
    window.reset();
    // Every handler closes what it opened: no key stays open between events.
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
  }

  /// Creates and shows a fresh window over the same registry and settings store (a restart).
  void Open() {
    window.reset();
    runtime = std::make_unique<runtime::HeadlessRuntime>();
    runtime->UseSettings(settings);
    window = std::make_unique<frmRegEdit>(*runtime, registry, [this](std::uint32_t, const std::string& name) {
      iconRequests.push_back(name);
    });
    window->Show();
  }
  frmRegEdit& w() { return *window; }
  runtime::HeadlessRuntime& rt() { return *runtime; }

  /// The headless control behind a control of the window: the user's actions on it.
  static auto& Headless(runtime::ListBox* c) { return static_cast<runtime::HeadlessListBox&>(*c); }
  static auto& Headless(runtime::TextBox* c) { return static_cast<runtime::HeadlessTextBox&>(*c); }
  static auto& Headless(runtime::CheckBox* c) { return static_cast<runtime::HeadlessCheckBox&>(*c); }
  static auto& Headless(runtime::ComboBox* c) { return static_cast<runtime::HeadlessComboBox&>(*c); }
  static auto& Headless(runtime::CommandButton* c) { return static_cast<runtime::HeadlessCommandButton&>(*c); }
  static void Press(runtime::CommandButton* button) { Headless(button).UserClick(); }
  /// Presses a button with scripted answers to the prompts it asks, in order.
  void Answer(runtime::CommandButton* button, std::initializer_list<std::optional<std::wstring>> answers) {
    for (const auto& answer : answers) rt().AnswerInputBox(answer);
    Press(button);
  }

  static Strings Items(const runtime::ListBox* list) { return contract::Entries(*list); }
  /// Clicks (or double-clicks) the entry whose text is `text`; false when there is none.
  static bool Pick(runtime::ListBox* list, const std::wstring& text, bool twice = false) {
    for (int i = 0; i < list->ListCount(); ++i) {
      if (list->List(i) != text) continue;
      twice ? Headless(list).UserDoubleClick(i) : Headless(list).UserClick(i);
      return true;
    }
    return false;
  }
  static void ClickEntry(runtime::ListBox* list, const std::wstring& text) { EXPECT_TRUE(Pick(list, text)) << "none"; }
  static void DoubleClickEntry(runtime::ListBox* list, const std::wstring& text) {
    EXPECT_TRUE(Pick(list, text, true)) << "no entry to double-click";
  }
  /// Clicks the hive, then double-clicks each component in turn, as the user walks down.
  void Walk(const std::wstring& hive, std::initializer_list<const wchar_t*> components) {
    ClickEntry(w().List1, hive);
    for (const wchar_t* component : components) DoubleClickEntry(w().List2, component);
  }
  void WalkToQuill() { Walk(L"HKEY_CURRENT_USER", {L"Software", L"Quill"}); }
  /// Clicks the entry, then presses the button and answers Yes to the confirmation it asks.
  void Confirm(runtime::ListBox* list, const std::wstring& entry, runtime::CommandButton* button) {
    ClickEntry(list, entry);
    rt().AnswerMsgBox(runtime::kAnswerYes);
    Press(button);
  }

  /// Checks one stored value's type and bytes.
  void ExpectValue(const std::string& path, const std::string& name, std::uint32_t type, const Bytes& bytes) const {
    const auto value = registry.GetValue(path, name);
    ASSERT_TRUE(value.has_value()) << path << " has no value \"" << name << '"';
    EXPECT_EQ(value->type, type) << name;
    EXPECT_EQ(value->data, bytes) << name;
  }

  /// Checks exactly the given kinds of hit, with the text to search for.
  void Options(bool keys, bool values, bool datas, const std::wstring& findText) {
    w().chkKeys->SetValue(keys ? 1 : 0);
    w().chkValues->SetValue(values ? 1 : 0);
    w().chkDatas->SetValue(datas ? 1 : 0);
    w().txtFind->SetText(findText);
  }
  /// Finds below `path` in current-key mode, with HKEY_CURRENT_USER selected as a hive must be, and gives the lines.
  Strings FindBelow(const std::wstring& path) {
    w().List1->SetSelected(1, true);
    w().chkHive->SetValue(0);
    w().txtKey->SetText(path);
    Press(w().cmdFind);
    return ResultLines();
  }
  /// The search result lines; every line must end with CR LF.
  Strings ResultLines() const {
    const std::wstring text = window->txtFindList->Text();
    Strings lines;
    std::size_t start = 0;
    for (auto end = text.find(L"\r\n"); end != std::wstring::npos; start = end + 2, end = text.find(L"\r\n", start))
      lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
  }
  /// Runs `action` once, in the first event processing after `shown` appears in the results.
  void WhenShown(const std::wstring& shown, std::function<void()> action) {
    rt().QueueUserAction([this, shown, action] {
      if (w().txtFindList->Text().find(shown) == std::wstring::npos) return WhenShown(shown, action);
      action();
    });
  }
  /// Deletes a value below HKCU behind the window's back, as another program would.
  void RemoveValue(const std::string& subkey, const std::string& name) {
    registry::Key key = 0;
    ASSERT_EQ(registry.OpenKey(registry::kCurrentUser, subkey, key), registry::kSuccess);
    EXPECT_EQ(registry.DeleteValue(key, name), registry::kSuccess);
    registry.CloseKey(key);
  }

  /// Every key, value name, type and data byte of the seven hives, read through the registry operations.
  std::string Snapshot() {
    std::ostringstream out;
    for (const registry::HiveRow& hive : registry::kHiveTable) Describe(hive.handle, std::to_string(hive.handle), out);
    return out.str();
  }

  registry::MemoryRegistry registry;
  std::shared_ptr<runtime::SettingsStore> settings = std::make_shared<runtime::MemorySettingsStore>();
  std::unique_ptr<runtime::HeadlessRuntime> runtime;
  std::unique_ptr<frmRegEdit> window;
  std::vector<std::string> iconRequests;

 private:
  void Describe(registry::Key key, const std::string& path, std::ostringstream& out) {
    out << "[" << path << "]\n";
    for (std::uint32_t index = 0;; ++index) {
      std::string name(16384, '\0');
      auto nameSize = static_cast<std::uint32_t>(name.size());
      std::uint32_t type = 0, size = 0;
      if (registry.EnumValue(key, index, name, nameSize, nullptr, nullptr, nullptr) != registry::kSuccess) break;
      name.resize(nameSize);
      EXPECT_EQ(registry.QueryValueEx(key, name, &type, nullptr, &size), registry::kSuccess);
      Bytes data(size + 1);
      EXPECT_EQ(registry.QueryValueEx(key, name, &type, data.data(), &size), registry::kSuccess);
      out << '"' << name << "\" " << type << ':';
      for (std::uint32_t i = 0; i < size; ++i) out << ' ' << static_cast<int>(data[i]);
      out << '\n';
    }
    for (std::uint32_t index = 0;; ++index) {
      std::string buffer(250, '\0');
      if (registry.EnumKey(key, index, buffer) != registry::kSuccess) break;
      const std::string name = buffer.substr(0, buffer.find('\0'));
      registry::Key subkey = 0;
      // A link is described as it is stored, with the value that names its target.
      if (registry.OpenLink(key, name, subkey) != registry::kSuccess) {
        ADD_FAILURE() << "cannot open " << path << '\\' << name;
        continue;
      }
      Describe(subkey, path + '\\' + name, out);
      registry.CloseKey(subkey);
    }
  }
};

/// The window over a small tree to edit below HKCU\Software\Quill, with a value in its parent and a key in another
/// hive.
class EditingTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    registry.Put("HKCU\\Software\\Quill\\Alpha");
    registry.Put("HKCU\\Software\\Quill\\Beta\\Deep");
    registry.PutString(kQuill, "", "default text");
    registry.PutString(kQuill, "Name", "quill");
    registry.PutDword(kQuill, "Count", 3);
    registry.PutString("HKCU\\Software", "AtSoftware", "s");
    registry.PutBinary("HKLM\\Software\\Other", "Blob", {0x00, 0xFF, 0x10});
  }
};

}  // namespace quillon::testing
