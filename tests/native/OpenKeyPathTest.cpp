// OpenKeyPath over the in-memory registry: hive aliases, trimming, skipped components and the last-component rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/memory/MemoryRegistry.h"
#include "registry/modRegistry.h"
#include "runtime/headless/Windows1252Text.h"

namespace quillon::registry {
namespace {

// Every fixture key carries a value "Id" holding its own path, so a test can tell which key a handle opened.
class OpenKeyPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* path : {"HKCU\\Software", "HKCU\\Software\\Inner", "HKCU\\Software\\HKCU", "HKCU\\Software\\A\\B",
                             "HKCU\\ Spaced\\X", "HKCU\\Software\\Caf\xE9", "HKLM\\Software"}) {
      reg_.PutString(path, "Id", path);
    }
  }

  static std::string Hive(Key key) { return "hive " + std::to_string(key - kClassesRoot); }
  // The path of the key `key` is open on, read from its "Id" value; hive handles are named by number.
  std::string Identify(Key key) {
    if (IsPredefinedKey(key)) return Hive(key);
    std::vector<std::uint8_t> data(200);
    auto size = static_cast<std::uint32_t>(data.size());
    if (reg_.QueryValueEx(key, "Id", nullptr, data.data(), &size) != kSuccess || size == 0) return "?";
    return std::string(data.begin(), data.begin() + size - 1);
  }

  MemoryRegistry reg_;
  runtime::Windows1252Text text_;
};


TEST_F(OpenKeyPathTest, ResolvesEveryPathFormToTheKeyTheProgramExpects) {
  struct Case {
    std::wstring path;
    std::string expected;  // "" for a result of 0
  };
  const std::vector<Case> cases{
      // The hive part in any case, full name or alias; every row of the table.
      {L"hkcu", Hive(kCurrentUser)},       {L"HKEY_Current_User", Hive(kCurrentUser)}, {L"HKR", Hive(kClassesRoot)},
      {L"cr", Hive(kClassesRoot)},         {L"HCC", Hive(kCurrentConfig)},             {L"lm", Hive(kLocalMachine)},
      {L"U", Hive(kUsers)},                {L"HKEY_DYN_DATA", Hive(kDynData)},         {L"hpd", Hive(kPerformanceData)},
      // A trailing backslash leaves an empty last component, which opens nothing.
      {L"HKCU\\", Hive(kCurrentUser)}, {L"HKCU\\Software\\", "HKCU\\Software"},
      {L"HKCU\\Software\\A\\B", "HKCU\\Software\\A\\B"},
      // Components that do not open are skipped; the deepest key that opened is returned.
      {L"HKCU\\NoSuchKey\\Software", "HKCU\\Software"}, {L"HKCU\\Software\\Nope", "HKCU\\Software"},
      {L"HKCU\\Software\\Nope\\Inner", "HKCU\\Software\\Inner"},
      // An empty component between backslashes opens the same key again and must not close it.
      {L"HKCU\\Software\\\\Inner", "HKCU\\Software\\Inner"},
      // A last component equal to the hive part as written is not opened; any other spelling is.
      {L"HKCU\\Software\\HKCU", "HKCU\\Software"},
      {L"HKCU\\Software\\hkcu", "HKCU\\Software\\HKCU"},
      {L"hkcu\\Software\\hkcu", "HKCU\\Software"},
      // Blanks around the whole path and around the last component go; inner components keep theirs.
      {L"  HKLM\\Software  ", "HKLM\\Software"}, {L"HKCU\\Software\\  Inner  ", "HKCU\\Software\\Inner"},
      {L"HKCU\\ Spaced\\X", "HKCU\\ Spaced\\X"}, {L"HKCU\\Spaced\\X", Hive(kCurrentUser)},
      // Components cross as code page 1252 bytes and match without case.
      {L"HKCU\\Software\\CAF\u00C9", "HKCU\\Software\\Caf\xE9"},
      // Unknown hives and empty paths give 0.
      {L"HKEY_CLASSES", ""}, {L"HKEY_CLASSES\\Software", ""}, {L"", ""}, {L"   ", ""}, {L"\\Software", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
    const Key key = OpenKeyPath(reg_, text_, c.path);
    EXPECT_EQ(key == 0 ? "" : Identify(key), c.expected);
    // Only the returned key is held open; everything passed on the way was closed.
    EXPECT_EQ(reg_.OpenHandleCount(), key == 0 || IsPredefinedKey(key) ? 0u : 1u);
    reg_.CloseKey(key);
    EXPECT_EQ(reg_.OpenHandleCount(), 0u);
  }
  // A failing open keeps the key reached so far: A fails, so B is looked for below Software, where it is not.
  reg_.FailNthCall(Operation::OpenKey, 2, kAccessDenied);
  const Key key = OpenKeyPath(reg_, text_, L"HKCU\\Software\\A\\B");
  EXPECT_EQ(Identify(key), "HKCU\\Software");
  reg_.CloseKey(key);
}

}  // namespace
}  // namespace quillon::registry
