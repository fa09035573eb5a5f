// The Find command and the search walk over the in-memory registry: result lines and their order, data texts,
// option interlock, the guard and the refusal of a malformed search text, and what happens while a walk yields.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Search = WindowTest;

TEST_F(Search, DepthFirstOrderWithTheStartKeysValuesLastYieldingOncePerStepUnlessFast) {
  registry.PutString("HKCU\\Software\\A", "Mode", "m");
  registry.PutString("HKCU\\Software\\A\\B", "Size", "s");
  registry.Put("HKCU\\Software\\A\\B\\C");
  registry.PutString("HKCU\\Software\\A\\D", "Color", "c");
  const std::wstring a = L"HKEY_CURRENT_USER\\Software\\A";
  const Strings expected{L"Key : " + a + L"\\B", L"Value : " + a + L"\\B\\Size",  L"Key : " + a + L"\\B\\C",
                         L"Key : " + a + L"\\D", L"Value : " + a + L"\\D\\Color", L"Value : " + a + L"\\Mode"};
  Options(true, true, false, L"");
  FindBelow(a);
  EXPECT_EQ(ResultLines(), expected);
  // One yield before every entry read and before each walk's final call: A's keys 3, B's values 2 and keys 2,
  // C's values 1 and keys 1, D's values 2 and keys 1, A's values 2.
  EXPECT_EQ(rt().DoEventsCount(), 14);
  EXPECT_EQ(rt().MousePointerHistory(), (std::vector<int>{11, 0}));

  w().chkFastFind->SetValue(1);
  Press(w().cmdFind);
  EXPECT_EQ(ResultLines(), expected);
  EXPECT_EQ(rt().DoEventsCount(), 14);
}

TEST_F(Search, DataTextOfEachTypeAndTheBinaryOptionWhichOnlyDataEnablesAndEveryKindClickClears) {
  // Binary starts disabled (as loaded); every click on a kind of hit clears it.
  Headless(w().chkDatas).UserClick();
  EXPECT_TRUE(w().chkFindBinary->Enabled());
  for (runtime::CheckBox* kind : {w().chkKeys, w().chkValues, w().chkDatas, w().chkDatas}) {
    w().chkFindBinary->SetValue(1);
    Headless(kind).UserClick();
    EXPECT_EQ(w().chkFindBinary->Value(), 0);
    EXPECT_EQ(w().chkFindBinary->Enabled(), w().chkDatas->Value() == 1);
  }

  const std::string key = "HKCU\\D";
  registry.PutString(key, "", "dflt");
  registry.PutString(key, "s", "abc");
  registry.PutString(key, "x", "xyz");
  registry.PutDword(key, "n65", 65);
  registry.PutDword(key, "n0", 0);
  registry.PutValue(key, "be", registry::kRegDwordBigEndian, {'a', 'b', 0, 0});
  registry.PutValue(key, "m", registry::kRegMultiSz, {'a', 'b', 'c', 0, 'd', 0, 0});
  registry.PutBinary(key, "b", {'a', 'b', 0, 'a'});
  registry.PutValue(key, "e", registry::kRegExpandSz, {'%', 'a', '%', 0});
  registry.PutString(key, "lines", "one\r\ntwo");
  const std::wstring p = L"HKEY_CURRENT_USER\\D\\", d = L"Data : " + p;

  Options(false, true, true, L"");
  FindBelow(L"HKEY_CURRENT_USER\\D");
  // (Data too long for the walk's buffer is CaseFoldsAlikeInAsciiAndOtherTextAndLongResultsArriveWhole's.)
  const std::pair<const wchar_t*, std::wstring> shown[] = {
      {L"", L"dflt"}, {L"s", L"abc"}, {L"x", L"xyz"}, {L"n65", L"A"},  {L"n0", L""},
      {L"be", L"ab"}, {L"m", L""},    {L"b", L""},    {L"e", L"%a%"}, {L"lines", L"one\r\ntwo"}};
  std::wstring all;
  for (const auto& [name, data] : shown)
    all += L"Value : " + p + name + L"\r\nData : " + p + name + L"\\" + data + L"\r\n";
  EXPECT_EQ(w().txtFindList->Text(), all);

  Options(false, false, true, L"A");
  FindBelow(L"HKEY_CURRENT_USER\\D");
  EXPECT_EQ(ResultLines(), (Strings{d + L"s\\abc", d + L"n65\\A", d + L"be\\ab", d + L"e\\%a%"}));

  // Binary data counts only with "Binary" checked, and only up to its first zero byte.
  w().chkFindBinary->SetValue(1);
  w().txtFind->SetText(L"b");
  Press(w().cmdFind);
  EXPECT_EQ(ResultLines(), (Strings{d + L"s\\abc", d + L"be\\ab", d + L"b\\ab"}));
  w().txtFind->SetText(L"ba");
  Press(w().cmdFind);
  EXPECT_TRUE(ResultLines().empty());
}

TEST_F(Search, GuardAndMalformedSearchTextRefuseBeforeAnyWalk) {
  w().txtFindList->SetText(L"old results");
  for (int hiveMode : {1, 0}) {
    w().chkHive->SetValue(hiveMode);
    w().txtKey->SetText(L"HKEY_CURRENT_USER\\G");
    Press(w().cmdFind);
    EXPECT_EQ(w().txtFindList->Text(), L"");
    ASSERT_EQ(rt().Messages().size(), hiveMode ? 1u : 2u);
    EXPECT_EQ(rt().Messages().back().prompt, L"Please Select a Hive or a Subkey");
  }
  EXPECT_EQ(rt().MousePointerHistory(), (std::vector<int>{11, 0, 11, 0}));

  // Checked as it is matched, lower-cased: [Z-a] is a valid range but matches as [z-a].
  for (const wchar_t* malformed : {L"ab[c", L"[z-a]", L"[Z-a]"}) {
    w().txtFind->SetText(malformed);
    FindBelow(L"HKEY_CURRENT_USER\\G");
    EXPECT_NE(rt().Messages().back().prompt.find(L"search text cannot be used"), std::wstring::npos);
  }
  EXPECT_EQ(rt().Messages().size(), 5u);
  for (const auto& message : rt().Messages())
    EXPECT_EQ(std::to_wstring(message.style) + L"|" + message.title, L"64|Quillon 1.0") << message.prompt;
  EXPECT_EQ(rt().DoEventsCount(), 0);
  EXPECT_EQ(rt().MousePointerHistory().back(), 0);
}

TEST_F(Search, HiveModeWalksTheSelectedHivesInListOrderEachFollowedByItsValues) {
  registry.PutString("HKCR\\.q", "cr", "1");
  registry.PutString("HKCR", "crRoot", "1");
  registry.PutString("HKU\\S-1", "u", "1");
  registry.PutString("HKCU", "cuRoot", "1");
  for (int row : {6, 0, 1}) w().List1->SetSelected(row, true);
  Options(true, true, false, L"");
  Press(w().cmdFind);
  EXPECT_EQ(ResultLines(), (Strings{L"Key : HKEY_CLASSES_ROOT\\.q", L"Value : HKEY_CLASSES_ROOT\\.q\\cr",
                                    L"Value : HKEY_CLASSES_ROOT\\crRoot", L"Value : HKEY_CURRENT_USER\\cuRoot",
                                    L"Key : HKEY_USERS\\S-1", L"Value : HKEY_USERS\\S-1\\u"}));
}

TEST_F(Search, LongNamesEndTheirParentsWalkAndAnUnopenableKeyIsListedButNotWalked) {
  registry.Put("HKCU\\L\\a");
  registry.Put("HKCU\\L\\b" + std::string(248, 'k'));  // 249 characters: fits
  registry.Put("HKCU\\L\\c" + std::string(249, 'k'));  // 250: ends the walk of L
  registry.Put("HKCU\\L\\d");
  registry.PutString("HKCU\\L\\a", "v1", "1");
  registry.PutString("HKCU\\L\\a", std::string(250, 'v'), "1");
  registry.PutString("HKCU\\L\\a", "v3", "1");
  Options(true, true, false, L"");
  FindBelow(L"HKEY_CURRENT_USER\\L");
  // The platform hands back a value name without room cut to fit: that entry is still handled, then its key's
  // walk ends.
  EXPECT_EQ(ResultLines(), (Strings{L"Key : HKEY_CURRENT_USER\\L\\a", L"Value : HKEY_CURRENT_USER\\L\\a\\v1",
                                    L"Value : HKEY_CURRENT_USER\\L\\a\\" + std::wstring(249, L'v'),
                                    L"Key : HKEY_CURRENT_USER\\L\\b" + std::wstring(248, L'k')}));

  registry.PutString("HKCU\\S", "Outer", "1");
  registry.PutString("HKCU\\S\\Locked", "Inner", "1");
  registry.Put("HKCU\\S\\Locked\\Deep");
  registry.PutString("HKCU\\S\\Open", "Own", "1");
  // Subkeys are opened as they stand (a link itself): the first such open is Locked.
  registry.FailNthCall(registry::Operation::OpenLink, 1, registry::kAccessDenied);
  FindBelow(L"HKEY_CURRENT_USER\\S");
  EXPECT_EQ(ResultLines(),
            (Strings{L"Key : HKEY_CURRENT_USER\\S\\Locked", L"Key : HKEY_CURRENT_USER\\S\\Open",
                     L"Value : HKEY_CURRENT_USER\\S\\Open\\Own", L"Value : HKEY_CURRENT_USER\\S\\Outer"}));
}

TEST_F(Search, ChangesWhileTheWalkYieldsCountFromTheNextEntryOn) {
  registry.PutString("HKCU\\W", "gameStart", "1");
  registry.PutString("HKCU\\W\\alpha", "gamut", "1");
  registry.PutString("HKCU\\W\\beta", "gamble", "1");
  registry.PutString("HKCU\\W\\gamma", "other", "1");
  const std::wstring w0 = L"HKEY_CURRENT_USER\\W\\";

  // New search text and "Values" checked after the first hit: both apply from the next entry, and the start
  // key's own values are searched because "Values" is checked when the subtree walk ends.
  Options(true, false, false, L"");
  WhenShown(L"alpha", [&] {
    w().txtFind->SetText(L"GAM");
    Headless(w().chkValues).UserClick();
  });
  FindBelow(L"HKEY_CURRENT_USER\\W");
  EXPECT_EQ(ResultLines(), (Strings{L"Key : " + w0 + L"alpha", L"Value : " + w0 + L"beta\\gamble",
                                    L"Key : " + w0 + L"gamma", L"Value : " + w0 + L"gameStart"}));

  // A search text made malformed during the walk matches nothing, and says nothing, until the walk ends.
  Options(true, false, false, L"");
  WhenShown(L"alpha", [&] { w().txtFind->SetText(L"[b"); });
  Press(w().cmdFind);
  EXPECT_EQ(ResultLines(), Strings{L"Key : " + w0 + L"alpha"});
  EXPECT_TRUE(rt().Messages().empty());

  // A second Find started inside the first clears the results and runs to its end; then the first goes on.
  Options(true, false, false, L"");
  WhenShown(L"alpha", [&] { Press(w().cmdFind); });
  Press(w().cmdFind);
  EXPECT_EQ(ResultLines(), (Strings{L"Key : " + w0 + L"alpha", L"Key : " + w0 + L"beta", L"Key : " + w0 + L"gamma",
                                    L"Key : " + w0 + L"beta", L"Key : " + w0 + L"gamma"}));
}

TEST_F(Search, CaseFoldsAlikeInAsciiAndOtherTextAndLongResultsArriveWhole) {
  // The walk folds A to Z itself only where both texts are ASCII, finds a text without letters as it stands, and
  // leaves everything else to the platform's lower case: each way must give the platform's answer.
  registry.Put("HKCU\\F\\Caf\xC9");  // CafÉ
  registry.Put("HKCU\\F\\C\xC4T-1");  // CÄT-1
  registry.Put("HKCU\\F\\cat-2");
  registry.PutString("HKCU\\F", "v", "NAME \xC9T\xC9");  // NAME ÉTÉ
  const std::wstring f = L"HKEY_CURRENT_USER\\F\\";
  const std::wstring cafe = L"Key : " + f + L"Caf\xC9", cat1 = L"Key : " + f + L"C\xC4T-1",
                     cat2 = L"Key : " + f + L"cat-2", data = L"Data : " + f + L"v\\NAME \xC9T\xC9";
  const std::pair<const wchar_t*, Strings> searches[] = {
      {L"CAF", {cafe}},         {L"caf\xE9", {cafe}},       {L"T-", {cat2, cat1}},     {L"\xE4t", {cat1}},
      {L"c", {cafe, cat2, cat1}}, {L"name \xE9t\xE9", {data}}, {L"E \xC9", {data}},       {L"-1", {cat1}},
      {L"at-", {cat2}}};
  for (std::size_t i = 0; i < std::size(searches); ++i) {
    Options(true, false, true, searches[i].first);
    FindBelow(L"HKEY_CURRENT_USER\\F");
    EXPECT_EQ(ResultLines(), searches[i].second) << "search " << i;
  }

  // Lines wait in the walk and go to the box in batches; a line longer than a batch still arrives whole and in
  // its place.
  registry.PutString("HKCU\\F\\cat-2", "long", std::string(70000, 'y'));
  w().chkFastFind->SetValue(1);
  Options(false, true, true, L"");
  FindBelow(L"HKEY_CURRENT_USER\\F\\cat-2");
  EXPECT_EQ(ResultLines(), (Strings{L"Value : " + f + L"cat-2\\long",
                                    L"Data : " + f + L"cat-2\\long\\" + std::wstring(70000, L'y')}));
}

}  // namespace
}  // namespace quillon::testing
