// Every user journey replayed with one registry call failing, for each call position of each operation the journey
// makes and each code a registry can answer with: nothing escapes, no key stays open, no message appears that the
// clean run did not show, a search reports nothing the clean run did not, and the registry ends either as it began
// or as the clean run left it. The one exception is the editing commands' reading of a path: a component that does
// not open is skipped, so the confirmed edit may land in an ancestor of its key, with the same name and nothing else.
// Then keys and values that another program removes while a search yields.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>

#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using registry::Operation;
using Calls = std::array<std::uint32_t, registry::kOperationCount>;

constexpr const char* kOperationNames[] = {"OpenKey",   "OpenLink",   "KeyName",   "CreateKey",
                                           "EnumKey",   "EnumValue",  "QueryValueEx", "SetValueEx",
                                           "DeleteKey", "DeleteValue", "CloseKey",  "FlushKey"};
static_assert(std::size(kOperationNames) == registry::kOperationCount);
constexpr registry::Status kCodes[] = {registry::kFileNotFound, registry::kAccessDenied, registry::kMoreData,
                                       registry::kNoMoreItems, registry::kBadDatabase};

/// One fresh window over the editing tree, plus a value of every type and decoys in the parent key that a write or
/// deletion aimed at the wrong key would hit. Built outside the test framework's fixture so that a test can make
/// as many as it needs.
class Session : public EditingTest {
 public:
  Session() {
    SetUp();
    registry.PutValue(kQuill, "Expand", registry::kRegExpandSz, {'%', 'a', '%', 0});
    registry.PutValue(kQuill, "Big", registry::kRegDwordBigEndian, {0, 0, 1, 2});
    registry.PutBinary(kQuill, "Blob", Bytes(120, 0x5A));
    registry.PutValue(kQuill, "Multi", registry::kRegMultiSz, {'a', 0, 'b', 0, 0});
    registry.PutValue(kQuill, "Raw", registry::kRegNone, {1, 2});
    registry.PutString("HKCU\\Software", "Name", "decoy");
    registry.Put("HKCU\\Software\\Alpha");
    // Links: one back to an ancestor, one to a key elsewhere that holds a decoy of its own.
    registry.PutLink(std::string(kQuill) + "\\Up", "HKCU\\Software");
    registry.PutLink(std::string(kQuill) + "\\Other", "HKLM\\Software\\Other");
  }
  void TestBody() override {}
  using WindowTest::registry, WindowTest::rt, WindowTest::w, WindowTest::window, WindowTest::Headless;
  using WindowTest::ResultLines, WindowTest::Snapshot;

  // Steps as the user takes them; a step whose entry is not listed cannot be taken, and the journey ends there.
  bool Hive(const std::wstring& name) { return Pick(w().List1, name); }
  bool Down(const std::wstring& name) { return Pick(w().List2, name, true); }
  bool Preview(const std::wstring& name) { return Pick(w().List2, name); }
  bool View(const std::wstring& name) { return Pick(w().List3, name); }
  bool ToQuill() { return Hive(L"HKEY_CURRENT_USER") && Down(L"Software") && Down(L"Quill"); }
  /// Presses a button after scripting the answers its prompts get (a Yes for a confirmation).
  bool Do(runtime::CommandButton* button, std::initializer_list<const wchar_t*> answers = {}) {
    for (const wchar_t* answer : answers) rt().AnswerInputBox(std::wstring(answer));
    rt().AnswerMsgBox(runtime::kAnswerYes);
    Press(button);
    return true;
  }
  bool Find(bool hiveMode, const wchar_t* text) {
    for (runtime::CheckBox* box : {w().chkKeys, w().chkValues, w().chkDatas, w().chkFindBinary})
      if (box->Value() != 1) Headless(box).UserClick();
    w().chkHive->SetValue(hiveMode ? 1 : 0);
    w().txtFind->SetText(text);
    return Do(w().cmdFind);
  }
  bool GoTo(const std::wstring& text) { return Headless(w().txtGoTo).UserType(text), Do(w().cmdGoTo); }

  std::set<std::wstring> MessagesShown() const {
    std::set<std::wstring> shown;
    for (const auto& message : runtime->Messages()) shown.insert(message.title + L"|" + message.prompt);
    return shown;
  }
  Calls CallCounts() const {
    Calls calls{};
    for (std::size_t op = 0; op < calls.size(); ++op) calls[op] = registry.CallCount(static_cast<Operation>(op));
    return calls;
  }
};

/// What the clean run of a journey must show, so that a journey that quietly stopped doing its work cannot pass.
enum class Effect { kNone, kWrites, kFinds };

const struct Journey {
  const char* name;
  Effect effect;
  std::function<bool(Session&)> run;
} kJourneys[] = {
    {"navigation, through links too", Effect::kNone,
     [](Session& s) {
       return s.Hive(L"HKEY_CURRENT_USER") && s.Down(L"Software") && s.Preview(L"Quill") && s.Down(L"Quill") &&
              s.Preview(L"Beta") && s.Down(L"Beta") && s.Down(L"..") && s.Down(L"Up") && s.Down(L"Quill") &&
              s.Down(L"Other") && s.View(L"Blob") && s.Down(L"..") && s.Down(L"..");
     }},
    {"value view of each type", Effect::kNone,
     [](Session& s) {
       bool ok = s.ToQuill();
       for (const wchar_t* name : {L"", L"Name", L"Count", L"Expand", L"Big", L"Blob", L"Multi", L"Raw"})
         ok = ok && s.View(name);
       return ok;
     }},
    {"new key", Effect::kWrites, [](Session& s) { return s.ToQuill() && s.Do(s.w().cmdCreateSubKey, {L"Gamma"}); }},
    {"delete key, Yes", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Preview(L"Alpha") && s.Do(s.w().cmdDeleteKey); }},
    {"delete a link, Yes", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Preview(L"Other") && s.Do(s.w().cmdDeleteKey); }},
    {"new string value", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Do(s.w().cmdCreateValueS, {L"Fresh", L"text"}); }},
    {"new numeric value", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Do(s.w().cmdCreateValueN, {L"Fresh", L"-7"}); }},
    {"new binary value in a previewed subkey", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Preview(L"Beta") && s.Do(s.w().cmdCreateValueB, {L"Fresh", L"AB"}); }},
    {"delete value, Yes", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.View(L"Name") && s.Do(s.w().cmdDeleteValue); }},
    {"search selected hives", Effect::kFinds,
     [](Session& s) {
       if (!s.Hive(L"HKEY_CURRENT_USER")) return false;
       s.Headless(s.w().List1).UserCtrlClick(2);  // HKEY_LOCAL_MACHINE as well
       return s.Find(true, L"a");
     }},
    {"search the shown key, then open a result", Effect::kFinds,
     [](Session& s) {
       if (!(s.ToQuill() && s.Find(false, L"e"))) return false;
       s.Headless(s.w().txtFindList).UserClick(12);
       return true;
     }},
    {"go to a value", Effect::kNone, [](Session& s) { return s.GoTo(L"HKEY_CURRENT_USER\\Software\\Quill\\Count"); }},
    {"favourite added, used and removed", Effect::kNone,
     [](Session& s) {
       s.GoTo(L"hkcu\\Software\\Quill\\Beta");
       s.Headless(s.w().txtGoTo).UserPick(1);
       return s.Do(s.w().cmdGoTo) && s.Do(s.w().cmdDeleteGoto);
     }},
};

/// What a snapshot change touches: "+K:name"/"-K:name" for a key added or removed (its last component), and
/// "+V:name"/"-V:name" for a value line, counted.
std::map<std::string, int> ChangedNames(const std::string& before, const std::string& after) {
  std::map<std::string, int> lines, names;
  for (const auto& [text, sign] : {std::pair{&after, 1}, std::pair{&before, -1}}) {
    std::istringstream in(*text);
    for (std::string line; std::getline(in, line);) lines[line] += sign;
  }
  for (const auto& [line, count] : lines) {
    if (count == 0) continue;
    const bool isKey = line.front() == '[';
    const std::string name = isKey ? line.substr(line.rfind('\\') + 1, line.size() - line.rfind('\\') - 2)
                                   : line.substr(1, line.find('"', 1) - 1);
    names[std::string(count > 0 ? "+" : "-") + (isKey ? "K:" : "V:") + name] += std::abs(count);
  }
  return names;
}

class FaultInjection : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FaultInjection, EveryCallFailingInTurnLeavesNoOpenKeyNoUnaskedWriteNoNewMessageOrResult) {
  const Journey& journey = kJourneys[GetParam()];
  // The clean run: what the journey does on a registry that never fails.
  std::string before, cleanAfter;
  std::set<std::wstring> cleanMessages;
  Strings cleanResults;
  Calls calls{};
  {
    Session clean;
    before = clean.Snapshot();
    const Calls start = clean.CallCounts();
    ASSERT_TRUE(journey.run(clean)) << "the clean journey could not take all its steps";
    calls = clean.CallCounts();
    for (std::size_t op = 0; op < calls.size(); ++op) calls[op] -= start[op];
    EXPECT_EQ(clean.registry.OpenHandleCount(), 0u);
    cleanAfter = clean.Snapshot();
    cleanResults = clean.ResultLines();
    cleanMessages = clean.MessagesShown();
  }
  EXPECT_EQ(cleanAfter != before, journey.effect == Effect::kWrites);
  EXPECT_EQ(!cleanResults.empty(), journey.effect == Effect::kFinds);
  int runs = 0;
  for (std::size_t op = 0; op < calls.size(); ++op) {
    for (std::uint32_t nth = 1; nth <= calls[op]; ++nth) {
      for (registry::Status code : kCodes) {
        SCOPED_TRACE(std::string(journey.name) + ": call " + std::to_string(nth) + " of " + kOperationNames[op] +
                     " fails with " + std::to_string(code));
        ++runs;
        Session s;
        s.registry.FailNthCall(static_cast<Operation>(op), nth, code);
        EXPECT_NO_THROW(journey.run(s));
        EXPECT_EQ(s.registry.OpenHandleCount(), 0u);
        s.registry.ClearFailures();
        const std::string after = s.Snapshot();
        const bool editLandedHigher = journey.effect == Effect::kWrites &&
                                      static_cast<Operation>(op) == Operation::OpenKey &&
                                      ChangedNames(before, after) == ChangedNames(before, cleanAfter);
        EXPECT_TRUE(after == before || after == cleanAfter || editLandedHigher) << "registry afterwards:\n" << after;
        for (const std::wstring& line : s.ResultLines())
          EXPECT_NE(std::find(cleanResults.begin(), cleanResults.end(), line), cleanResults.end())
              << "result not found without the fault";
        for (const std::wstring& message : s.MessagesShown())
          EXPECT_EQ(cleanMessages.count(message), 1u) << "message not shown without the fault";
        if (::testing::Test::HasFailure()) return;  // one failing combination tells enough
      }
    }
  }
  std::printf("[ faults   ] %s: %d runs\n", journey.name, runs);
}

INSTANTIATE_TEST_SUITE_P(Journeys, FaultInjection, ::testing::Range<std::size_t>(0, std::size(kJourneys)));

using Vanishing = WindowTest;

TEST_F(Vanishing, KeysAndValuesRemovedWhileASearchYieldsAreNeitherReportedNorWalked) {
  for (const char* key : {"W", "W\\a", "W\\a\\deep", "W\\b", "W\\b\\sub", "W\\c"})
    registry.PutString(std::string("HKCU\\") + key, std::string(key).back() == 'W' ? "wv" : "v", "1");
  registry.PutString("HKCU\\W\\a", "v2", "1");
  Walk(L"HKEY_CURRENT_USER", {L"W"});
  const std::wstring path = L"HKEY_CURRENT_USER\\W\\";
  // Inside a: its next value and its subkey go before the walk reaches them.
  WhenShown(L"Value : " + path + L"a\\v\r\n", [&] {
    RemoveValue("W\\a", "v2");
    EXPECT_EQ(registry.DeleteKey(registry::kCurrentUser, "W\\a\\deep"), registry::kSuccess);
  });
  // b has been reported and opened: it goes with everything below it, and so does its unvisited sibling c, which
  // the user then enters: its path is taken all the same (what the lists then show is Navigation's, for a key gone
  // after listing).
  WhenShown(L"Key : " + path + L"b\r\n", [&] {
    for (const char* doomed : {"W\\b\\sub", "W\\b", "W\\c"})
      EXPECT_EQ(registry.DeleteKey(registry::kCurrentUser, doomed), registry::kSuccess) << doomed;
    DoubleClickEntry(w().List2, L"c");
  });

  w().chkValues->SetValue(1);
  w().chkHive->SetValue(0);
  w().txtFind->SetText(L"");
  Press(w().cmdFind);
  // After the subtree the start key's own values are searched at the path txtKey now shows, which no longer
  // opens: nothing is listed for it, and nothing of an ancestor under its name.
  EXPECT_EQ(w().txtFindList->Text(), L"Key : " + path + L"a\r\nValue : " + path + L"a\\v\r\nKey : " + path + L"b\r\n");
}

}  // namespace
}  // namespace quillon::testing
