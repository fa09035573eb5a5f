// New Key and Delete Key, and the promise that a delete nobody confirms changes nothing.
#include <optional>

#include "tests/native/EditingFixture.h"

namespace quillon::testing {
namespace {

using Names = std::vector<std::wstring>;
using EditingKeys = EditingTest;

TEST_F(EditingKeys, NewKeyIsCreatedAsTypedAndListedWhateverTheRegistrySays) {
  WalkToQuill();
  const Names values = Items(w().List3);
  // Blanks around a name belong to it; an existing name opens that key and is listed a second time; a create the
  // registry refuses is listed all the same.
  for (const wchar_t* name : {L"Gamma", L"able", L" Spaced ", L"Alpha", L"Locked"}) {
    if (name == std::wstring(L"Locked"))
      registry.FailNthCall(registry::Operation::CreateKey, 1, registry::kAccessDenied);
    rt().AnswerInputBox(name);
    Press(w().cmdCreateSubKey);
  }
  EXPECT_EQ(rt().Prompts()[0].prompt, L"Enter Key Name");
  EXPECT_EQ(rt().Prompts()[0].title, L"Quillon 1.0");
  EXPECT_EQ(registry.SubkeyNames(kQuill), (std::vector<std::string>{" Spaced ", "able", "Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(Items(w().List2), (Names{L" Spaced ", L"..", L"able", L"Alpha", L"Alpha", L"Beta", L"Gamma", L"Locked"}));
  EXPECT_EQ(w().txtKey->Text(), w().CurrentKeyPath());
  EXPECT_EQ(Items(w().List3), values);

  ClickEntry(w().List1, L"HKEY_CURRENT_USER");
  rt().AnswerInputBox(L"QuillTop");
  Press(w().cmdCreateSubKey);
  EXPECT_TRUE(registry.KeyExists("HKCU\\QuillTop"));
}

TEST_F(EditingKeys, NewKeyRefusesSilentlyWithoutAHiveOrWithABlankOrNumericName) {
  const std::string before = Snapshot();
  Press(w().cmdCreateSubKey);  // no hive chosen: not even the prompt
  EXPECT_TRUE(rt().Prompts().empty());

  WalkToQuill();
  const Names subkeys = Items(w().List2);
  const std::vector<std::optional<std::wstring>> refused{std::nullopt, L"", L"   ", L"123", L"1.5", L"007", L" 42 "};
  for (const auto& answer : refused) {
    rt().AnswerInputBox(answer);
    Press(w().cmdCreateSubKey);
  }
  EXPECT_EQ(rt().Prompts().size(), refused.size());
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Items(w().List2), subkeys);
  EXPECT_TRUE(rt().Messages().empty());
}

TEST_F(EditingKeys, DeleteKeyAsksAndDropsTheEntryEvenWhenTheRegistryRefuses) {
  WalkToQuill();
  ClickEntry(w().List2, L"Alpha");
  rt().AnswerMsgBox(runtime::kAnswerYes);
  Press(w().cmdDeleteKey);
  ASSERT_EQ(rt().Messages().size(), 1u);
  EXPECT_EQ(rt().Messages()[0].prompt, L"Are Sure to Delete this key?");
  EXPECT_EQ(rt().Messages()[0].title, L"Delete Alpha");
  EXPECT_EQ(rt().Messages()[0].style, 276);
  EXPECT_FALSE(registry.KeyExists("HKCU\\Software\\Quill\\Alpha"));
  EXPECT_EQ(w().List2->ListIndex(), -1);

  // One delete call: a key with subkeys stays. The up entry names no subkey. Both entries leave the list anyway.
  for (const wchar_t* entry : {L"Beta", L".."}) {
    ClickEntry(w().List2, entry);
    rt().AnswerMsgBox(runtime::kAnswerYes);
    Press(w().cmdDeleteKey);
  }
  EXPECT_EQ(rt().Messages().back().title, L"Delete ..");
  EXPECT_TRUE(registry.KeyExists("HKCU\\Software\\Quill\\Beta\\Deep"));
  EXPECT_TRUE(w().List2->ListCount() == 0);
  Press(w().cmdDeleteKey);  // nothing selected: no question
  EXPECT_EQ(rt().Messages().size(), 3u);
}

TEST_F(EditingKeys, NoCancelOrAnUnansweredConfirmationLeavesEveryByteInPlace) {
  const std::string before = Snapshot();
  // Refused three ways: No, a closed box (Cancel), and a box left to its default button, No.
  const auto refuseThreeWays = [this](runtime::ListBox* list, const wchar_t* entry, runtime::CommandButton* button) {
    ClickEntry(list, entry);
    for (const int answer : {int{runtime::kAnswerNo}, int{runtime::kAnswerCancel}, 0}) {
      if (answer != 0) rt().AnswerMsgBox(answer);
      Press(button);
      EXPECT_EQ(list->Text(), entry);
    }
  };
  WalkToQuill();
  const Names subkeys = Items(w().List2);
  for (const wchar_t* key : {L"Alpha", L"Beta"}) refuseThreeWays(w().List2, key, w().cmdDeleteKey);
  WalkToQuill();
  const Names values = Items(w().List3);
  for (const wchar_t* value : {L"", L"Name", L"Count"}) refuseThreeWays(w().List3, value, w().cmdDeleteValue);

  EXPECT_EQ(rt().Messages().size(), 15u);
  EXPECT_EQ(Items(w().List2), subkeys);
  EXPECT_EQ(Items(w().List3), values);
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
}  // namespace quillon::testing
