// Every user journey replayed with one registry call failing, for each call position of each operation the journey
// makes and each code a registry can answer with: nothing escapes, no key stays open, no message appears that the
// clean run did not show, a search reports nothing the clean run did not, and the registry ends either as it began
// or as the clean run left it. The one exception is the editing commands' reading of a path: a component that does
// not open is skipped, so the confirmed edit may land in an ancestor of its key, with the same name and nothing else.
// Then keys and values that another program removes while a search yields.
#include <array>
#include <cstdio>
#include <exception>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/native/EditingFixture.h"

namespace quillon::testing {
namespace {

using registry::Operation;

constexpr std::array<Operation, registry::kOperationCount> kOperations{
    Operation::OpenKey,    Operation::CreateKey, Operation::EnumKey,     Operation::EnumValue, Operation::QueryValueEx,
    Operation::SetValueEx, Operation::DeleteKey, Operation::DeleteValue, Operation::CloseKey,  Operation::FlushKey};
constexpr const char* kOperationNames[] = {"OpenKey",    "CreateKey", "EnumKey",     "EnumValue", "QueryValueEx",
                                           "SetValueEx", "DeleteKey", "DeleteValue", "CloseKey",  "FlushKey"};
constexpr registry::Status kCodes[] = {registry::kFileNotFound, registry::kAccessDenied, registry::kMoreData,
                                       registry::kNoMoreItems, registry::kBadDatabase};

/// One fresh window over the editing tree, plus a value of every type and decoys in the parent key that a write or
/// deletion aimed at the wrong key would hit. Driven outside the test framework's own fixture so that a test can
/// make as many as it needs.
class Session : public EditingTest {
 public:
  Session() {
    SetUp();
    const std::vector<std::uint8_t> longBlob(120, 0x5A);
    registry.PutValue(kQuill, "Expand", registry::kRegExpandSz, {'%', 'a', '%', 0});
    registry.PutValue(kQuill, "Big", registry::kRegDwordBigEndian, {0, 0, 1, 2});
    registry.PutBinary(kQuill, "Blob", longBlob);
    registry.PutValue(kQuill, "Multi", registry::kRegMultiSz, {'a', 0, 'b', 0, 0});
    registry.PutValue(kQuill, "Raw", registry::kRegNone, {1, 2});
    registry.PutString("HKCU\\Software", "Name", "decoy");
    registry.Put("HKCU\\Software\\Alpha");
  }
  void TestBody() override {}

  using EditingTest::Snapshot;
  using WindowTest::Headless;
  using WindowTest::registry;
  using WindowTest::rt;
  using WindowTest::w;
  using WindowTest::window;

  // Steps as the user takes them; a step whose entry is not listed cannot be taken, and the journey ends there.
  bool Pick(runtime::ListBox* list, const std::wstring& text, bool twice) {
    for (int i = 0; i < list->ListCount(); ++i) {
      if (list->List(i) != text) continue;
      twice ? Headless(list).UserDoubleClick(i) : Headless(list).UserClick(i);
      return true;
    }
    return false;
  }
  bool Hive(const std::wstring& name) { return Pick(w().List1, name, false); }
  bool Down(const std::wstring& name) { return Pick(w().List2, name, true); }
  bool Preview(const std::wstring& name) { return Pick(w().List2, name, false); }
  bool View(const std::wstring& name) { return Pick(w().List3, name, false); }
  bool ToQuill() { return Hive(L"HKEY_CURRENT_USER") && Down(L"Software") && Down(L"Quill"); }
  bool Answers(std::initializer_list<const wchar_t*> answers) {
    for (const wchar_t* answer : answers) rt().AnswerInputBox(std::wstring(answer));
    return true;
  }
  bool Yes() {
    rt().AnswerMsgBox(runtime::kAnswerYes);
    return true;
  }
  bool PressButton(runtime::CommandButton* button) {
    Headless(button).UserClick();
    return true;
  }
  bool Tick(runtime::CheckBox* box, int value) {
    if (box->Value() != value) Headless(box).UserClick();
    return true;
  }
  bool Find(bool hiveMode, const wchar_t* text) {
    Tick(w().chkKeys, 1) && Tick(w().chkValues, 1) && Tick(w().chkDatas, 1) && Tick(w().chkFindBinary, 1);
    w().chkHive->SetValue(hiveMode ? 1 : 0);
    w().txtFind->SetText(text);
    return PressButton(w().cmdFind);
  }
  bool GoTo(const std::wstring& text) {
    Headless(w().txtGoTo).UserType(text);
    return PressButton(w().cmdGoTo);
  }

  std::set<std::wstring> ResultLines() const {
    std::set<std::wstring> lines;
    const std::wstring text = window->txtFindList->Text();
    for (std::size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
      lines.insert(text.substr(start, end - start));
    }
    return lines;
  }
  std::set<std::wstring> MessagesShown() const {
    std::set<std::wstring> shown;
    for (const auto& message : runtime->Messages()) shown.insert(message.title + L"|" + message.prompt);
    return shown;
  }
};

/// What the clean run of a journey must show, so that a journey that quietly stopped doing its work cannot pass.
enum class Effect { kNone, kWrites, kFinds };

struct Journey {
  const char* name;
  Effect effect;
  std::function<bool(Session&)> run;
};

const Journey kJourneys[] = {
    {"navigation", Effect::kNone,
     [](Session& s) {
       return s.Hive(L"HKEY_CURRENT_USER") && s.Down(L"Software") && s.Preview(L"Quill") && s.Down(L"Quill") &&
              s.Preview(L"Beta") && s.Down(L"Beta") && s.Down(L"..") && s.Down(L"..");
     }},
    {"value view of each type", Effect::kNone,
     [](Session& s) {
       return s.ToQuill() && s.View(L"") && s.View(L"Name") && s.View(L"Count") && s.View(L"Expand") &&
              s.View(L"Big") && s.View(L"Blob") && s.View(L"Multi") && s.View(L"Raw");
     }},
    {"new key", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Answers({L"Gamma"}) && s.PressButton(s.w().cmdCreateSubKey); }},
    {"delete key, Yes", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.Preview(L"Alpha") && s.Yes() && s.PressButton(s.w().cmdDeleteKey); }},
    {"new string value", Effect::kWrites,
     [](Session& s) {
       return s.ToQuill() && s.Answers({L"Fresh", L"text"}) && s.PressButton(s.w().cmdCreateValueS);
     }},
    {"new numeric value", Effect::kWrites,
     [](Session& s) {
       return s.ToQuill() && s.Answers({L"Fresh", L"-7"}) && s.PressButton(s.w().cmdCreateValueN);
     }},
    {"new binary value in a previewed subkey", Effect::kWrites,
     [](Session& s) {
       return s.ToQuill() && s.Preview(L"Beta") && s.Answers({L"Fresh", L"AB"}) && s.PressButton(s.w().cmdCreateValueB);
     }},
    {"delete value, Yes", Effect::kWrites,
     [](Session& s) { return s.ToQuill() && s.View(L"Name") && s.Yes() && s.PressButton(s.w().cmdDeleteValue); }},
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
       s.PressButton(s.w().cmdGoTo);
       return s.PressButton(s.w().cmdDeleteGoto);
     }},
};

/// What a journey does on a registry that never fails.
struct CleanRun {
  std::string before;
  std::string after;
  std::set<std::wstring> results;
  std::set<std::wstring> messages;
  std::array<std::uint32_t, registry::kOperationCount> calls{};
};

CleanRun RunClean(const Journey& journey) {
  Session s;
  CleanRun clean;
  clean.before = s.Snapshot();
  std::array<std::uint32_t, registry::kOperationCount> start{};
  for (Operation op : kOperations) start[static_cast<std::size_t>(op)] = s.registry.CallCount(op);
  EXPECT_TRUE(journey.run(s)) << "the clean journey could not take all its steps";
  for (Operation op : kOperations) {
    clean.calls[static_cast<std::size_t>(op)] = s.registry.CallCount(op) - start[static_cast<std::size_t>(op)];
  }
  EXPECT_EQ(s.registry.OpenHandleCount(), 0u);
  clean.after = s.Snapshot();
  clean.results = s.ResultLines();
  clean.messages = s.MessagesShown();
  EXPECT_EQ(clean.after != clean.before, journey.effect == Effect::kWrites);
  EXPECT_EQ(!clean.results.empty(), journey.effect == Effect::kFinds);
  return clean;
}

/// What a snapshot change touches: "+K:name"/"-K:name" for a key added or removed (its last component), and
/// "+V:name"/"-V:name" for a value line, counted.
std::map<std::string, int> ChangedNames(const std::string& before, const std::string& after) {
  std::map<std::string, int> lines;
  const auto tally = [&lines](const std::string& text, int sign) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines[line] += sign;
  };
  tally(after, 1);
  tally(before, -1);
  std::map<std::string, int> names;
  for (const auto& [line, count] : lines) {
    if (count == 0) continue;
    const bool isKey = line.front() == '[';
    const std::string name = isKey ? line.substr(line.rfind('\\') + 1, line.size() - line.rfind('\\') - 2)
                                   : line.substr(1, line.find('"', 1) - 1);
    names[std::string(count > 0 ? "+" : "-") + (isKey ? "K:" : "V:") + name] += count > 0 ? count : -count;
  }
  return names;
}

class FaultInjection : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FaultInjection, EveryCallFailingInTurnLeavesNoOpenKeyNoUnaskedWriteNoNewMessageOrResult) {
  const Journey& journey = kJourneys[GetParam()];
  const CleanRun clean = RunClean(journey);
  int runs = 0;
  for (Operation op : kOperations) {
    const std::uint32_t calls = clean.calls[static_cast<std::size_t>(op)];
    for (std::uint32_t nth = 1; nth <= calls; ++nth) {
      for (registry::Status code : kCodes) {
        SCOPED_TRACE(std::string(journey.name) + ": call " + std::to_string(nth) + " of " +
                     kOperationNames[static_cast<std::size_t>(op)] + " fails with " + std::to_string(code));
        ++runs;
        Session s;
        s.registry.FailNthCall(op, nth, code);
        try {
          journey.run(s);
        } catch (const std::exception& error) {
          ADD_FAILURE() << "exception escaped: " << error.what();
        } catch (...) {
          ADD_FAILURE() << "exception escaped";
        }
        EXPECT_EQ(s.registry.OpenHandleCount(), 0u);
        s.registry.ClearFailures();
        const std::string after = s.Snapshot();
        const bool editLandedHigher = journey.effect == Effect::kWrites && op == Operation::OpenKey &&
                                      ChangedNames(clean.before, after) == ChangedNames(clean.before, clean.after);
        EXPECT_TRUE(after == clean.before || after == clean.after || editLandedHigher)
            << "registry after the journey:\n" << after;
        for (const std::wstring& line : s.ResultLines()) {
          EXPECT_EQ(clean.results.count(line), 1u) << "result not found without the fault";
        }
        for (const std::wstring& message : s.MessagesShown()) {
          EXPECT_EQ(clean.messages.count(message), 1u) << "message not shown without the fault";
        }
        s.window.reset();
        EXPECT_EQ(s.registry.OpenHandleCount(), 0u);
        if (::testing::Test::HasFailure()) return;  // one failing combination tells enough
      }
    }
  }
  std::printf("[ faults   ] %s: %d runs\n", journey.name, runs);
}

INSTANTIATE_TEST_SUITE_P(Journeys, FaultInjection, ::testing::Range<std::size_t>(0, std::size(kJourneys)));

class Vanishing : public WindowTest {
 protected:
  /// Runs `action` in the first event processing after `shown` appears in the results.
  void WhenShown(const std::wstring& shown, std::function<void()> action) {
    rt().QueueUserAction([this, shown, action] {
      if (w().txtFindList->Text().find(shown) == std::wstring::npos) return WhenShown(shown, action);
      action();
    });
  }
  /// Another program removes a value.
  void DeleteValue(const std::string& subkey, const std::string& name) {
    registry::Key key = 0;
    ASSERT_EQ(registry.OpenKey(registry::kCurrentUser, subkey, key), registry::kSuccess);
    EXPECT_EQ(registry.DeleteValue(key, name), registry::kSuccess);
    registry.CloseKey(key);
  }
};

TEST_F(Vanishing, KeysAndValuesRemovedWhileASearchYieldsAreNeitherReportedNorWalked) {
  registry.PutString("HKCU\\W", "wv", "1");
  registry.PutString("HKCU\\W", "gone", "1");
  registry.PutString("HKCU\\W\\a", "a1", "1");
  registry.PutString("HKCU\\W\\a", "a2", "1");
  registry.PutString("HKCU\\W\\a\\deep", "d1", "1");
  registry.PutString("HKCU\\W\\b", "b1", "1");
  registry.PutString("HKCU\\W\\b\\sub", "s1", "1");
  registry.PutString("HKCU\\W\\c", "c1", "1");
  ClickEntry(w().List1, L"HKEY_CURRENT_USER");
  DoubleClickEntry(w().List2, L"W");
  ClickEntry(w().List3, L"wv");
  const std::wstring typeShown = w().lblValueType->Caption();
  const std::wstring path = L"HKEY_CURRENT_USER\\W\\";

  // Inside a: its next value and its subkey go before the walk reaches them.
  WhenShown(L"Value : " + path + L"a\\a1\r\n", [&] {
    DeleteValue("W\\a", "a2");
    EXPECT_EQ(registry.DeleteKey(registry::kCurrentUser, "W\\a\\deep"), registry::kSuccess);
  });
  // b has been reported and opened: it goes with everything below it, and so do its unvisited sibling c and the
  // value gone that the user still sees listed. The user then clicks both.
  WhenShown(L"Key : " + path + L"b\r\n", [&] {
    for (const char* doomed : {"W\\b\\sub", "W\\b", "W\\c"}) {
      EXPECT_EQ(registry.DeleteKey(registry::kCurrentUser, doomed), registry::kSuccess) << doomed;
    }
    DeleteValue("W", "gone");

    // The value panel shows less: a zero size, the type caption of before, no data.
    ClickEntry(w().List3, L"gone");
    EXPECT_EQ(w().lblValueSize->Caption(), L"Value Size : 0");
    EXPECT_EQ(w().lblValueType->Caption(), typeShown);
    EXPECT_EQ(w().txtValue->Text() + w().txtValueHex->Text(), L"");

    // The vanished key's path is taken all the same; the lists show what its parent holds.
    DoubleClickEntry(w().List2, L"c");
    EXPECT_EQ(w().CurrentKeyPath(), path + L"c");
    EXPECT_EQ(w().txtKey->Text(), path + L"c");
    EXPECT_EQ(Items(w().List2), (std::vector<std::wstring>{L"..", L"a"}));
    EXPECT_EQ(Items(w().List3), (std::vector<std::wstring>{L"", L"wv"}));
  });

  w().chkValues->SetValue(1);
  w().chkFastFind->SetValue(0);
  w().chkHive->SetValue(0);
  w().txtFind->SetText(L"");
  Headless(w().cmdFind).UserClick();
  // After the subtree the start key's own values are searched at the path txtKey now shows, which no longer
  // opens: nothing is listed for it, and nothing of an ancestor under its name.
  EXPECT_EQ(w().txtFindList->Text(), L"Key : " + path + L"a\r\nValue : " + path + L"a\\a1\r\nKey : " + path + L"b\r\n");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quillon::testing
