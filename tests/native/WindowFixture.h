#pragma once
// A loaded main window over the headless runtime and an in-memory registry, for the window's native tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "registry/memory/MemoryRegistry.h"
#include "runtime/headless/HeadlessRuntime.h"
#include "window/frmRegEdit.h"

namespace quillon::testing {

class WindowTest : public ::testing::Test {
 protected:
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
    window = std::make_unique<frmRegEdit>(*runtime, registry, [this](std::uint32_t hWnd, const std::string& name) {
      iconRequests.emplace_back(hWnd, name);
    });
    window->Show();
  }

  frmRegEdit& w() { return *window; }
  runtime::HeadlessRuntime& rt() { return *runtime; }

  static runtime::HeadlessListBox& Headless(runtime::ListBox* list) {
    return static_cast<runtime::HeadlessListBox&>(*list);
  }
  static runtime::HeadlessTextBox& Headless(runtime::TextBox* box) {
    return static_cast<runtime::HeadlessTextBox&>(*box);
  }
  static runtime::HeadlessCheckBox& Headless(runtime::CheckBox* box) {
    return static_cast<runtime::HeadlessCheckBox&>(*box);
  }
  static runtime::HeadlessComboBox& Headless(runtime::ComboBox* box) {
    return static_cast<runtime::HeadlessComboBox&>(*box);
  }
  static runtime::HeadlessCommandButton& Headless(runtime::CommandButton* button) {
    return static_cast<runtime::HeadlessCommandButton&>(*button);
  }

  /// The entries of a list, first to last.
  static std::vector<std::wstring> Items(const runtime::ListBox* list) {
    std::vector<std::wstring> items;
    for (int i = 0; i < list->ListCount(); ++i) items.push_back(list->List(i));
    return items;
  }

  /// Clicks the entry of `list` whose text is `text` (exactly); fails the test when there is none.
  static void ClickEntry(runtime::ListBox* list, const std::wstring& text) {
    for (int i = 0; i < list->ListCount(); ++i) {
      if (list->List(i) == text) return Headless(list).UserClick(i);
    }
    ADD_FAILURE() << "no entry to click";
  }
  static void DoubleClickEntry(runtime::ListBox* list, const std::wstring& text) {
    for (int i = 0; i < list->ListCount(); ++i) {
      if (list->List(i) == text) return Headless(list).UserDoubleClick(i);
    }
    ADD_FAILURE() << "no entry to double-click";
  }

  registry::MemoryRegistry registry;
  std::shared_ptr<runtime::SettingsStore> settings = std::make_shared<runtime::MemorySettingsStore>();
  std::unique_ptr<runtime::HeadlessRuntime> runtime;
  std::unique_ptr<frmRegEdit> window;
  std::vector<std::pair<std::uint32_t, std::string>> iconRequests;
};

}  // namespace quillon::testing
