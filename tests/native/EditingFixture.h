#pragma once
// The loaded window over a small tree to edit, with navigation as the user does it and a byte-for-byte picture of
// the whole registry to prove what an edit did and did not touch.

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "registry/modRegistry.h"
#include "tests/native/WindowFixture.h"

namespace quillon::testing {

class EditingTest : public WindowTest {
 protected:
  static constexpr const char* kQuill = "HKCU\\Software\\Quill";

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

  /// Clicks the hive, then double-clicks each component in turn, as the user walks down.
  void Walk(const std::wstring& hive, std::initializer_list<const wchar_t*> components) {
    ClickEntry(w().List1, hive);
    for (const wchar_t* component : components) DoubleClickEntry(w().List2, component);
  }
  /// Walks to HKEY_CURRENT_USER\Software\Quill.
  void WalkToQuill() { Walk(L"HKEY_CURRENT_USER", {L"Software", L"Quill"}); }

  static void Press(runtime::CommandButton* button) { Headless(button).UserClick(); }

  /// Checks one stored value's type and bytes (the size is the number of bytes).
  void ExpectValue(const std::string& path, const std::string& name, std::uint32_t type,
                   const std::vector<std::uint8_t>& bytes) const {
    const auto value = registry.GetValue(path, name);
    ASSERT_TRUE(value.has_value()) << path << " has no value \"" << name << '"';
    EXPECT_EQ(value->type, type) << '"' << name << '"';
    EXPECT_EQ(value->data, bytes) << '"' << name << '"';
  }

  /// Every key, value name, type and data byte of the seven hives, read through the registry operations.
  std::string Snapshot() {
    std::ostringstream out;
    for (const registry::HiveRow& hive : registry::kHiveTable) {
      std::string name;
      for (const wchar_t* c = hive.fullName; *c != L'\0'; ++c) name += static_cast<char>(*c);
      Describe(hive.handle, name, out);
    }
    return out.str();
  }

 private:
  void Describe(registry::Key key, const std::string& path, std::ostringstream& out) {
    out << "[" << path << "]\n";
    for (std::uint32_t index = 0;; ++index) {
      std::string name(16384, '\0');
      std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
      if (registry.EnumValue(key, index, name, nameSize, nullptr, nullptr, nullptr) != registry::kSuccess) break;
      name.resize(nameSize);
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      EXPECT_EQ(registry.QueryValueEx(key, name, &type, nullptr, &size), registry::kSuccess);
      std::vector<std::uint8_t> data(size + 1);
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
      if (registry.OpenKey(key, name, subkey) != registry::kSuccess) {
        ADD_FAILURE() << "cannot open " << path << '\\' << name;
        continue;
      }
      Describe(subkey, path + '\\' + name, out);
      registry.CloseKey(subkey);
    }
  }
};

}  // namespace quillon::testing
