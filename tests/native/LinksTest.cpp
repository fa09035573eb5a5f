// Registry links met by the window: a search that ends on every registry and enters no key on its way down, Delete
// Key that deletes the link picked and never where it leads, and navigation, Go To and the value commands through
// links, as the platform's own functions resolve them.
#include "tests/native/WindowFixture.h"

namespace quillon::testing {
namespace {

using Links = WindowTest;
const std::wstring kCu = L"HKEY_CURRENT_USER";

TEST_F(Links, SearchEntersNoKeyOnItsWayDownAndEachTargetOnceAndEndsOnEveryShapeOfLinks) {
  registry.PutString("HKCU\\L\\A", "a", "1");
  registry.PutLink("HKCU\\L\\A\\B\\Up", "HKCU\\L");     // back to the start key
  registry.PutLink("HKCU\\L\\A\\Root", "HKCU");         // above it
  registry.PutLink("HKCU\\L\\C\\ToD", "HKCU\\L\\D");    // to a sibling
  registry.PutString("HKCU\\L\\D\\E", "e", "1");
  registry.PutLink("HKCU\\L\\D\\ToM", "HKCU\\M");       // out of the start key, and ...
  registry.PutString("HKCU\\M", "m", "1");
  registry.PutLink("HKCU\\M\\Back", "HKCU\\L\\D");      // ... back through a second link
  registry.PutLink("HKCU\\L\\Gone", "HKCU\\Nowhere");   // leading nowhere
  registry.PutLink("HKCU\\L\\Self", "HKCU\\L\\Self");   // round to itself
  const std::wstring l = kCu + L"\\L";
  const auto key = [&](const std::wstring& tail) { return L"Key : " + l + tail; };
  const auto value = [&](const std::wstring& tail) { return L"Value : " + l + tail; };
  // ToD enters D under its own path; D's ToM is not entered there, as M was entered through C\ToD already. The
  // links' own values never show; the values of where a link leads show under its path.
  const Strings all{key(L"\\A"),         value(L"\\A\\a"),          key(L"\\A\\B"),
                    key(L"\\A\\B\\Up"),  key(L"\\A\\Root"),         key(L"\\C"),
                    key(L"\\C\\ToD"),    key(L"\\C\\ToD\\E"),       value(L"\\C\\ToD\\E\\e"),
                    key(L"\\C\\ToD\\ToM"), value(L"\\C\\ToD\\ToM\\m"), key(L"\\C\\ToD\\ToM\\Back"),
                    key(L"\\D"),         key(L"\\D\\E"),            value(L"\\D\\E\\e"),
                    key(L"\\D\\ToM"),    key(L"\\Gone"),            key(L"\\Self")};
  Options(true, true, false, L"");
  EXPECT_EQ(FindBelow(l), all);
  Strings keys;  // with Keys alone, links are told apart another way
  std::copy_if(all.begin(), all.end(), std::back_inserter(keys), [](const auto& line) { return line[0] == L'K'; });
  Options(true, false, false, L"");
  EXPECT_EQ(FindBelow(l), keys);
  // The whole hive: the same links seen from higher up; Root now leads to the hive itself.
  const Strings hive = FindBelow(kCu);
  EXPECT_EQ(std::count_if(hive.begin(), hive.end(), [&](const auto& line) { return line.find(L"\\Root") != line.npos; }),
            1);

  // A link whose target does not open for the walk is listed, with nothing below it.
  registry.PutLink("HKCU\\K\\Locked", "HKCU\\M");
  registry.FailNthCall(registry::Operation::OpenKey, 2, registry::kAccessDenied);  // after the start key's own
  EXPECT_EQ(FindBelow(kCu + L"\\K"), (Strings{L"Key : " + kCu + L"\\K\\Locked"}));
  // And where the registry cannot tell the start key's name, no link is entered: any could lead back.
  registry.FailNthCall(registry::Operation::KeyName, 1, registry::kBadDatabase);
  EXPECT_EQ(FindBelow(kCu + L"\\M"), (Strings{L"Key : " + kCu + L"\\M\\Back"}));
}

TEST_F(Links, TheWindowGoesThroughLinksAsThePlatformDoesAndDeleteKeyDeletesTheLinkPickedAndNothingThroughIt) {
  registry.PutString("HKCU\\QLoop", "Top", "t");
  registry.PutLink("HKCU\\QLoop\\A\\B\\Up", "HKCU\\QLoop");
  registry.PutString("HKCU\\QLinkTarget", "Keep", "k");
  registry.PutString("HKCU\\QLinkTarget", "Drop", "d");
  for (const char* link : {"Up", "Twin", "Holder\\In"})
    registry.PutLink(std::string("HKCU\\QLinkDel\\") + link, "HKCU\\QLinkTarget");
  registry.PutLink("HKCU\\QLinkDel\\Nowhere", "HKCU\\Missing");
  const std::wstring loop = kCu + L"\\QLoop", del = kCu + L"\\QLinkDel";

  // Into a link and back out with "..": the path grows through the cycle and comes back the way it went.
  Walk(kCu, {L"QLoop", L"A", L"B"});
  ClickEntry(w().List2, L"Up");
  EXPECT_EQ(Items(w().List3), (Strings{L"", L"Top"}));
  DoubleClickEntry(w().List2, L"Up");
  DoubleClickEntry(w().List2, L"A");
  EXPECT_EQ(w().CurrentKeyPath(), loop + L"\\A\\B\\Up\\A");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"B"}));
  DoubleClickEntry(w().List2, L"..");
  DoubleClickEntry(w().List2, L"..");
  EXPECT_EQ(w().CurrentKeyPath(), loop + L"\\A\\B");
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Up"}));

  // Go To a typed path round the cycle.
  Headless(w().txtGoTo).UserType(L"HKCU\\QLoop\\A\\B\\Up\\A\\B\\Up\\Top");
  Press(w().cmdGoTo);
  EXPECT_EQ(w().CurrentKeyPath(), loop + L"\\A\\B\\Up\\A\\B\\Up");
  EXPECT_EQ(w().txtValue->Text(), L"t");

  // Delete Key on a link deletes the link; a key holding one is refused as any key with subkeys; the key they lead
  // to keeps its value.
  Walk(kCu, {L"QLinkDel"});
  for (const wchar_t* picked : {L"Twin", L"Holder", L"Nowhere"}) Confirm(w().List2, picked, w().cmdDeleteKey);
  EXPECT_EQ(registry.SubkeyNames("HKCU\\QLinkDel"), (std::vector<std::string>{"Holder", "Up"}));
  EXPECT_TRUE(registry.KeyExists("HKCU\\QLinkDel\\Holder\\In"));
  EXPECT_EQ(registry.GetValue("HKCU\\QLinkTarget", "Keep")->data, Bytes({'k', 0}));
  EXPECT_EQ(Items(w().List2), (Strings{L"..", L"Up"}));

  // Delete Value, new values and New Key in a key reached through a link act where it leads. (A search that meets
  // two links to one key enters the first only, and a result opens through Go To: the first test's and
  // ResultNavigation's; Go To goes through links above.)
  Walk(kCu, {L"QLinkDel", L"Holder", L"In"});
  Confirm(w().List3, L"Drop", w().cmdDeleteValue);
  Answer(w().cmdCreateValueS, {L"Added", L"a"});
  Answer(w().cmdCreateSubKey, {L"Made"});
  EXPECT_FALSE(registry.GetValue("HKCU\\QLinkTarget", "Drop").has_value());
  EXPECT_TRUE(registry.GetValue("HKCU\\QLinkTarget", "Added").has_value());
  EXPECT_TRUE(registry.KeyExists("HKCU\\QLinkTarget\\Made"));
}

}  // namespace
}  // namespace quillon::testing
