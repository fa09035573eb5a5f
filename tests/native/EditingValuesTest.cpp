// New String, Numeric and Binary Value and Delete Value: the bytes each kind stores, number conversion, the key an
// edit lands in, and the value list afterwards.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/native/EditingFixture.h"

namespace quillon::testing {
namespace {

using Names = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

class EditingValues : public EditingTest {
 protected:
  /// Presses a create button with scripted answers to the name and the data prompts.
  void Create(runtime::CommandButton* button, std::optional<std::wstring> name, std::optional<std::wstring> data) {
    rt().AnswerInputBox(std::move(name));
    rt().AnswerInputBox(std::move(data));
    Press(button);
  }
  static Bytes LittleEndian(std::int32_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    return {Bytes::value_type(bits), Bytes::value_type(bits >> 8), Bytes::value_type(bits >> 16),
            Bytes::value_type(bits >> 24)};
  }
};

TEST_F(EditingValues, EachKindStoresItsTypeAndBytesAndIsAppended) {
  WalkToQuill();
  struct Case {
    runtime::CommandButton* button;
    const wchar_t* dataPrompt;
    std::optional<std::wstring> data;
    std::uint32_t type;
    Bytes bytes;
  };
  const std::vector<Case> cases{
      {w().cmdCreateValueS, L"Enter Data", L"abc", 1, {'a', 'b', 'c', 0}},
      {w().cmdCreateValueS, L"Enter Data", std::nullopt, 1, {0}},
      {w().cmdCreateValueS, L"Enter Data", L" \u00e9\u20ac ", 1, {' ', 0xE9, 0x80, ' ', 0}},
      {w().cmdCreateValueN, L"Enter Numeric Data", L"-1", 4, {0xFF, 0xFF, 0xFF, 0xFF}},
      {w().cmdCreateValueN, L"Enter Numeric Data", L"2147483647", 4, {0xFF, 0xFF, 0xFF, 0x7F}},
      {w().cmdCreateValueB, L"Enter String Data", L"  ABC ", 3, {0x41, 0x42, 0x43}},
      {w().cmdCreateValueB, L"Enter String Data", L"\u00ff\u20ac1", 3, {0xFF, 0x80, '1'}},
      {w().cmdCreateValueB, L"Enter String Data", L"   ", 3, {}},
  };
  Names expected = Items(w().List3);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string name = "v" + std::to_string(i);
    Create(cases[i].button, std::wstring(name.begin(), name.end()), cases[i].data);
    ExpectValue(kQuill, name, cases[i].type, cases[i].bytes);
    EXPECT_EQ(rt().Prompts()[2 * i].prompt, L"Enter Value Name");
    EXPECT_EQ(rt().Prompts()[2 * i + 1].prompt, cases[i].dataPrompt);
    expected.emplace_back(name.begin(), name.end());
  }
  // A listed name is overwritten without a question and listed again; the list is in order of writing.
  Create(w().cmdCreateValueB, L"v0", L"Z");
  ExpectValue(kQuill, "v0", 3, {'Z'});
  expected.emplace_back(L"v0");
  EXPECT_EQ(Items(w().List3), expected);
  EXPECT_TRUE(rt().Messages().empty());
}

TEST_F(EditingValues, NumbersRoundHalfToEvenAndOverflowIsReportedThenStoredAsZero) {
  WalkToQuill();
  for (const auto& [answer, number] : std::vector<std::pair<const wchar_t*, std::int32_t>>{
           {L"2.5", 2}, {L"3.5", 4}, {L"-2.5", -2}, {L"0.5", 0}, {L"2.6", 3}, {L"-2147483648", INT32_MIN}}) {
    Create(w().cmdCreateValueN, L"N", answer);
    ExpectValue(kQuill, "N", 4, LittleEndian(number));
  }
  EXPECT_TRUE(rt().Messages().empty());

  const std::vector<const wchar_t*> overflowing{L"2147483648", L"4294967295", L"-2147483649", L"2147483647.5"};
  for (const wchar_t* answer : overflowing) {
    registry.PutDword(kQuill, "Big", 0xDEADBEEF);
    Create(w().cmdCreateValueN, L"Big", answer);
    ExpectValue(kQuill, "Big", 4, {0, 0, 0, 0});
    EXPECT_EQ(Items(w().List3).back(), L"Big");
  }
  ASSERT_EQ(rt().Messages().size(), overflowing.size());
  EXPECT_EQ(rt().Messages()[0].prompt, L"Overflow");
  EXPECT_EQ(rt().Messages()[0].style, 16);
  EXPECT_EQ(rt().Messages()[0].title, L"Quillon 1.0");

  // Data that is not a number stops the command silently, like a numeric name does before the data is asked.
  const std::string before = Snapshot();
  const Names values = Items(w().List3);
  for (const wchar_t* answer : {L"abc", L"", L"12abc"}) Create(w().cmdCreateValueN, L"NotANumber", answer);
  rt().AnswerInputBox(L" 12 ");
  Press(w().cmdCreateValueS);
  EXPECT_EQ(rt().Prompts().back().prompt, L"Enter Value Name");
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Items(w().List3), values);
  EXPECT_EQ(rt().Messages().size(), overflowing.size());
}

TEST_F(EditingValues, AnEmptyOrCancelledNameWritesTheDefaultValue) {
  for (runtime::CommandButton* button : {w().cmdCreateValueS, w().cmdCreateValueN, w().cmdDeleteValue}) Press(button);
  EXPECT_TRUE(rt().Prompts().empty());  // no hive chosen yet

  WalkToQuill();
  Create(w().cmdCreateValueS, L"", L"plain");
  ExpectValue(kQuill, "", 1, {'p', 'l', 'a', 'i', 'n', 0});
  Create(w().cmdCreateValueN, std::nullopt, L"7");
  ExpectValue(kQuill, "", 4, {7, 0, 0, 0});
  EXPECT_EQ(Items(w().List3), (Names{L"", L"Name", L"Count", L"", L""}));
}

TEST_F(EditingValues, EditsLandInTheKeyWhoseValuesAreListed) {
  WalkToQuill();
  ClickEntry(w().List2, L"Alpha");  // a previewed subkey
  Create(w().cmdCreateValueS, L"InAlpha", L"a");
  ExpectValue("HKCU\\Software\\Quill\\Alpha", "InAlpha", 1, {'a', 0});
  EXPECT_FALSE(registry.GetValue(kQuill, "InAlpha").has_value());

  ClickEntry(w().List2, L"..");  // the previewed parent: writes and deletes go there
  Create(w().cmdCreateValueN, L"InParent", L"9");
  ExpectValue("HKCU\\Software", "InParent", 4, {9, 0, 0, 0});
  ClickEntry(w().List3, L"AtSoftware");
  rt().AnswerMsgBox(runtime::kAnswerYes);
  Press(w().cmdDeleteValue);
  EXPECT_FALSE(registry.GetValue("HKCU\\Software", "AtSoftware").has_value());

  DoubleClickEntry(w().List2, L"Beta");  // an entered key
  Create(w().cmdCreateValueB, L"InBeta", L"b");
  ExpectValue("HKCU\\Software\\Quill\\Beta", "InBeta", 3, {'b'});

  // A bare hive has no parent: ".." clicked there leaves the previewed key shown, and the edit follows it.
  Walk(L"HKEY_CURRENT_USER", {L"Software", L".."});
  ClickEntry(w().List2, L"Software");
  ClickEntry(w().List2, L"..");
  Create(w().cmdCreateValueS, L"Previewed", L"p");
  ExpectValue("HKCU\\Software", "Previewed", 1, {'p', 0});
}

TEST_F(EditingValues, DeleteValueAsksAndDropsTheEntryWhateverTheRegistrySays) {
  WalkToQuill();
  ClickEntry(w().List3, L"Name");
  rt().AnswerMsgBox(runtime::kAnswerYes);
  Press(w().cmdDeleteValue);
  ASSERT_EQ(rt().Messages().size(), 1u);
  EXPECT_EQ(rt().Messages()[0].prompt, L"Are Sure to Delete this Value?");
  EXPECT_EQ(rt().Messages()[0].title, L"Delete Name");
  EXPECT_EQ(rt().Messages()[0].style, 276);
  EXPECT_FALSE(registry.GetValue(kQuill, "Name").has_value());
  EXPECT_EQ(w().List3->ListIndex(), -1);
  EXPECT_EQ(w().txtValue->Text(), L"quill");  // the panel keeps showing it until another entry is chosen

  ClickEntry(w().List3, L"");  // the default value
  rt().AnswerMsgBox(runtime::kAnswerYes);
  Press(w().cmdDeleteValue);
  EXPECT_EQ(rt().Messages().back().title, L"Delete ");
  EXPECT_FALSE(registry.GetValue(kQuill, "").has_value());

  ClickEntry(w().List3, L"Count");
  registry.FailNthCall(registry::Operation::DeleteValue, 1, registry::kAccessDenied);
  rt().AnswerMsgBox(runtime::kAnswerYes);
  Press(w().cmdDeleteValue);
  ExpectValue(kQuill, "Count", 4, {3, 0, 0, 0});
  EXPECT_EQ(w().List3->ListCount(), 0);
}

}  // namespace
}  // namespace quillon::testing
