// Start-up and the window after load: the argument text and the minimised start, the hive list, the search options
// a first Find uses, the icon, and controls inside the client area.
#include "app/mdlMain.h"
#include "app/mdlModes.h"
#include "tests/native/WindowFixture.h"
#include "window/ControlTable.h"

namespace quillon::testing {
namespace {

using FormLoad = WindowTest;

TEST_F(FormLoad, ListsTheSevenHivesWithNothingChosenSearchesKeysOfTheHiveAndSetsTheIconOnce) {
  EXPECT_EQ(Items(w().List1),
            (Strings{L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_CONFIG",
                     L"HKEY_DYN_DATA", L"HKEY_PERFORMANCE_DATA", L"HKEY_USERS"}));
  EXPECT_EQ(w().List1->SelCount() + w().List2->ListCount() + w().List3->ListCount(), 0);
  EXPECT_EQ(w().CurrentKeyPath() + w().txtKey->Text() + w().txtFindList->Text(), L"");
  // A first Find looks for key names below the chosen hives; Binary waits until Data is checked.
  const std::vector<int> checks{w().chkKeys->Value(),     w().chkHive->Value(),     w().chkValues->Value(),
                                w().chkDatas->Value(),    w().chkFastFind->Value(), w().chkFindBinary->Value()};
  EXPECT_EQ(checks, (std::vector<int>{1, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(w().chkFindBinary->Enabled());
  EXPECT_EQ(iconRequests, std::vector<std::string>{"AAA"});
}

TEST(Startup, TheArgumentTextFollowsTheProgramNameAndOnlyTheExactSwitchMinimises) {
  const std::pair<const wchar_t*, const wchar_t*> commandLines[] = {
      {L"C:\\Tools\\quillon.exe\t -st", L"-st"},
      {L"\"C:\\Program Files\\Quillon\\quillon.exe\" -st", L"-st"},  // a space inside the quoted name
      {L"\"C:\\Program Files\\Quillon\\quillon.exe\"-st", L"-st"},   // the closing quote ends the name
      {L"quillon.exe", L""},
      {L"", L""},
      {L"quillon.exe   -st  ", L"-st  "},  // trailing blanks belong to the argument text
      {L"\"C:\\never closed -st", L""},     // an unclosed quote runs the name to the end
  };
  for (const auto& [commandLine, arguments] : commandLines)
    EXPECT_EQ(std::wstring(ArgumentText(commandLine)), arguments) << std::wstring(commandLine).c_str();
  for (const wchar_t* arguments : {L"-st", L" -st ", L"\t-st", L"-st \t"}) EXPECT_TRUE(IsMinimisedStart(arguments));
  for (const wchar_t* arguments : {L"", L"-ST", L"-sT", L"-st x", L"x -st", L"\"-st\"", L"-s t", L"/st", L"--st",
                                   L"-st\n", L"-stx"}) {
    EXPECT_FALSE(IsMinimisedStart(arguments)) << std::wstring(arguments).c_str();
  }
}

TEST(Startup, TheWindowsControlsLieInsideItsClientAreaAndTheSwitchMinimisesItOnlyAfterLoadAndShow) {
  for (const auto& row : kControlTable) {
    // Everything but the title band lies inside the client area.
    if (row.parent == nullptr && std::string(row.name) != "picTitle") {
      EXPECT_LE(row.left + row.width, kClientWidthTwips) << row.name;
      EXPECT_LE(row.top + row.height, kClientHeightTwips) << row.name;
    }
  }
  // (That any other switch shows the normal window is app_Startup's, with the real program.)
  runtime::HeadlessRuntime forms;
  registry::MemoryRegistry reg;
  frmRegEdit window{forms, reg, nullptr};
  const auto& shown = dynamic_cast<const runtime::HeadlessForm&>(window.Form());
  ShowMainWindow(window, L"-st");
  EXPECT_TRUE(shown.Visible());
  EXPECT_EQ(shown.StateWhenShown(), runtime::kNormal) << "the window became visible before it was minimised";
  EXPECT_EQ(shown.WindowState(), runtime::kMinimized);
  window.Show();  // Load runs on the first Show only
  EXPECT_EQ(window.List1->ListCount(), 7);
}

}  // namespace
}  // namespace quillon::testing
