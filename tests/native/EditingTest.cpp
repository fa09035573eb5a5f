// New Key, New String, Numeric and Binary Value, Delete Key and Delete Value: what each stores, the key an edit
// lands in, the lists afterwards, and the promise that a delete nobody confirms changes nothing.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Editing = EditingTest;

TEST_F(Editing, NewKeyIsCreatedAsTypedAndListedWhateverTheRegistrySaysButNeverForABlankOrNumericName) {
  const std::string before = Snapshot();
  Press(w().cmdCreateSubKey);  // no hive chosen: not even the prompt
  EXPECT_TRUE(rt().Prompts().empty());
  WalkToQuill();
  const Strings values = Items(w().List3);
  for (const auto& refused : std::vector<std::optional<std::wstring>>{std::nullopt, L"", L"   ", L"1.5", L" 42 "})
    Answer(w().cmdCreateSubKey, {refused});
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Alpha", L"Beta"}));

  // Blanks around a name belong to it; an existing name is listed a second time; so is a refused create.
  for (const wchar_t* name : {L"Gamma", L" Spaced ", L"Alpha", L"Locked"}) {
    if (name == std::wstring(L"Locked"))
      registry.FailNthCall(registry::Operation::CreateKey, 1, registry::kAccessDenied);
    Answer(w().cmdCreateSubKey, {name});
  }
  EXPECT_EQ(rt().Prompts()[0].prompt + rt().Prompts()[0].title, L"Enter Key NameQuillon 1.0");
  EXPECT_EQ(registry.SubkeyNames(kQuill), (std::vector<std::string>{" Spaced ", "Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(Items(w().List2), (Strings{L" Spaced ", L"..", L"Alpha", L"Alpha", L"Beta", L"Gamma", L"Locked"}));
  EXPECT_EQ(Items(w().List3), values);
  EXPECT_TRUE(rt().Messages().empty());
}

TEST_F(Editing, NoCancelOrAnUnansweredConfirmationLeavesEveryByteInPlaceAndYesDropsTheEntryEvenWhenRefused) {
  const std::string before = Snapshot();
  // Refused three ways: No, a closed box (Cancel), and a box left to its default button, No.
  const auto refuse = [this](runtime::ListBox* list, const wchar_t* entry, runtime::CommandButton* button) {
    const Strings items = Items(list);
    ClickEntry(list, entry);
    for (const int answer : {int{runtime::kAnswerNo}, int{runtime::kAnswerCancel}, 0}) {
      if (answer != 0) rt().AnswerMsgBox(answer);
      Press(button);
      EXPECT_EQ(list->Text(), entry);
    }
    EXPECT_EQ(Items(list), items);
  };
  WalkToQuill();
  for (const wchar_t* value : {L"", L"Name", L"Count"}) refuse(w().List3, value, w().cmdDeleteValue);
  for (const wchar_t* key : {L"Alpha", L"Beta"}) refuse(w().List2, key, w().cmdDeleteKey);
  ASSERT_EQ(rt().Messages().size(), 15u);
  EXPECT_EQ(Snapshot(), before);

  // Confirmed (the key's own values listed again): the entry leaves the list even when the registry refuses.
  WalkToQuill();
  Confirm(w().List3, L"Name", w().cmdDeleteValue);
  EXPECT_FALSE(registry.GetValue(kQuill, "Name").has_value());
  EXPECT_EQ(w().List3->ListIndex(), -1);
  EXPECT_EQ(w().txtValue->Text(), L"quill");  // the panel shows it until another entry is chosen
  Confirm(w().List3, L"", w().cmdDeleteValue);
  registry.FailNthCall(registry::Operation::DeleteValue, 1, registry::kAccessDenied);
  Confirm(w().List3, L"Count", w().cmdDeleteValue);
  EXPECT_FALSE(registry.GetValue(kQuill, "").has_value());
  ExpectValue(kQuill, "Count", 4, {3, 0, 0, 0});
  EXPECT_EQ(w().List3->ListCount(), 0);

  // One delete call: a key with subkeys stays, and ".." names no key. All leave the list.
  Confirm(w().List2, L"Alpha", w().cmdDeleteKey);
  EXPECT_FALSE(registry.KeyExists("HKCU\\Software\\Quill\\Alpha"));
  EXPECT_EQ(w().List2->ListIndex(), -1);
  Confirm(w().List2, L"Beta", w().cmdDeleteKey);
  Confirm(w().List2, L"..", w().cmdDeleteKey);
  EXPECT_TRUE(registry.KeyExists("HKCU\\Software\\Quill\\Beta\\Deep"));
  EXPECT_EQ(w().List2->ListCount(), 0);
  Press(w().cmdDeleteKey);  // nothing selected: no question
  Press(w().cmdDeleteValue);

  std::wstring asked;
  for (auto message = rt().Messages().begin() + 15; message != rt().Messages().end(); ++message)
    asked += message->prompt + L"|" + message->title + L"|" + std::to_wstring(message->style) + L"\n";
  EXPECT_EQ(asked,
            L"Are Sure to Delete this Value?|Delete Name|276\nAre Sure to Delete this Value?|Delete |276\n"
            L"Are Sure to Delete this Value?|Delete Count|276\nAre Sure to Delete this key?|Delete Alpha|276\n"
            L"Are Sure to Delete this key?|Delete Beta|276\nAre Sure to Delete this key?|Delete ..|276\n");
}

TEST_F(Editing, EachValueKindStoresItsTypeAndBytesNumbersAsCLngConvertsAndOverflowIsReportedThenStoredAsZero) {
  for (runtime::CommandButton* button : {w().cmdCreateValueS, w().cmdCreateValueN, w().cmdDeleteValue}) Press(button);
  EXPECT_TRUE(rt().Prompts().empty());  // no hive chosen yet
  WalkToQuill();
  // The button, the data prompt it asks, the data answered, the value's type and bytes stored.
  using Case = std::tuple<runtime::CommandButton*, const wchar_t*, std::optional<std::wstring>, std::uint32_t, Bytes>;
  const Case cases[] = {
      {w().cmdCreateValueS, L"Enter Data", L"abc", 1, {'a', 'b', 'c', 0}},
      {w().cmdCreateValueS, L"Enter Data", std::nullopt, 1, {0}},
      {w().cmdCreateValueS, L"Enter Data", L" \u00e9\u20ac ", 1, {' ', 0xE9, 0x80, ' ', 0}},
      {w().cmdCreateValueN, L"Enter Numeric Data", L"-1", 4, {0xFF, 0xFF, 0xFF, 0xFF}},
      // Converted as CLng does (its own test holds the other cases): half to even, stored little-endian.
      {w().cmdCreateValueN, L"Enter Numeric Data", L"2.5", 4, {2, 0, 0, 0}},
      {w().cmdCreateValueN, L"Enter Numeric Data", L"3.5", 4, {4, 0, 0, 0}},
      {w().cmdCreateValueN, L"Enter Numeric Data", L"-2147483648", 4, {0, 0, 0, 0x80}},
      {w().cmdCreateValueB, L"Enter String Data", L"  A\u00ff\u20ac ", 3, {0x41, 0xFF, 0x80}},
      {w().cmdCreateValueB, L"Enter String Data", L"   ", 3, {}},
  };
  Strings expected = Items(w().List3);
  for (const auto& c : cases) {
    const auto& [button, dataPrompt, data, type, bytes] = c;
    const std::string name = "v" + std::to_string(&c - cases);
    Answer(button, {std::wstring(name.begin(), name.end()), data});
    ExpectValue(kQuill, name, type, bytes);
    EXPECT_EQ(rt().Prompts().rbegin()[1].prompt, L"Enter Value Name");
    EXPECT_EQ(rt().Prompts().back().prompt, dataPrompt);
    expected.emplace_back(name.begin(), name.end());
  }
  // A listed name is overwritten without a question and listed again; an empty or cancelled name writes the default.
  Answer(w().cmdCreateValueB, {L"v0", L"Z"});
  ExpectValue(kQuill, "v0", 3, {'Z'});
  Answer(w().cmdCreateValueS, {L"", L"plain"});
  ExpectValue(kQuill, "", 1, {'p', 'l', 'a', 'i', 'n', 0});
  Answer(w().cmdCreateValueN, {std::nullopt, L"7"});
  ExpectValue(kQuill, "", 4, {7, 0, 0, 0});
  expected.insert(expected.end(), {L"v0", L"", L""});
  EXPECT_EQ(Items(w().List3), expected);

  // Overflow is reported, then stored as zero. (Which numbers overflow is CLng's test.)
  registry.PutDword(kQuill, "Big", 0xDEADBEEF);
  Answer(w().cmdCreateValueN, {L"Big", L"2147483648"});
  ExpectValue(kQuill, "Big", 4, {0, 0, 0, 0});
  EXPECT_EQ(Items(w().List3).back(), L"Big");
  ASSERT_EQ(rt().Messages().size(), 1u);
  EXPECT_EQ(rt().Messages()[0].prompt + rt().Messages()[0].title, L"OverflowQuillon 1.0");
  EXPECT_EQ(rt().Messages()[0].style, 16);

  // Data that is not a number stops the command silently, like a numeric name does before the data is asked.
  const std::string before = Snapshot();
  const Strings values = Items(w().List3);
  for (const wchar_t* answer : {L"abc", L"", L"12abc"}) Answer(w().cmdCreateValueN, {L"NotANumber", answer});
  Answer(w().cmdCreateValueS, {L" 12 "});
  EXPECT_EQ(rt().Prompts().back().prompt, L"Enter Value Name");
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Items(w().List3), values);
  EXPECT_EQ(rt().Messages().size(), 1u);
}

TEST_F(Editing, EditsLandInTheKeyWhoseValuesAreListed) {
  WalkToQuill();
  ClickEntry(w().List2, L"Alpha");  // a previewed subkey
  Answer(w().cmdCreateValueS, {L"InAlpha", L"a"});
  ExpectValue("HKCU\\Software\\Quill\\Alpha", "InAlpha", 1, {'a', 0});
  EXPECT_FALSE(registry.GetValue(kQuill, "InAlpha").has_value());
  ClickEntry(w().List2, L"..");  // the previewed parent: writes and deletes go there
  Answer(w().cmdCreateValueN, {L"InParent", L"9"});
  ExpectValue("HKCU\\Software", "InParent", 4, {9, 0, 0, 0});
  Confirm(w().List3, L"AtSoftware", w().cmdDeleteValue);
  EXPECT_FALSE(registry.GetValue("HKCU\\Software", "AtSoftware").has_value());
  DoubleClickEntry(w().List2, L"Beta");  // an entered key
  Answer(w().cmdCreateValueB, {L"InBeta", L"b"});
  ExpectValue("HKCU\\Software\\Quill\\Beta", "InBeta", 3, {'b'});

  // A bare hive has no parent: ".." clicked there leaves the previewed key shown, and the edit follows it.
  Walk(L"HKEY_CURRENT_USER", {L"Software", L".."});
  ClickEntry(w().List2, L"Software");
  ClickEntry(w().List2, L"..");
  Answer(w().cmdCreateValueS, {L"Previewed", L"p"});
  ExpectValue("HKCU\\Software", "Previewed", 1, {'p', 0});
}

}  // namespace
}  // namespace quillon::testing
