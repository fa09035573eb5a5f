// Start-up decisions: which part of the process command line is the argument text, which argument text starts the
// window minimised, and that the minimised start still loads and shows the window first.
#include <gtest/gtest.h>

#include <string>

#include "app/mdlMain.h"
#include "app/mdlModes.h"
#include "registry/memory/MemoryRegistry.h"
#include "runtime/headless/HeadlessRuntime.h"

namespace quillon {
namespace {

TEST(ArgumentText, IsWhatFollowsTheProgramNameAndItsBlanks) {
  const struct {
    const wchar_t* commandLine;
    const wchar_t* arguments;
  } cases[] = {
      {L"quillon.exe -st", L"-st"},
      {L"C:\\Tools\\quillon.exe\t -st", L"-st"},
      {L"\"C:\\Program Files\\Quillon\\quillon.exe\" -st", L"-st"},  // a space inside the quoted name
      {L"\"C:\\Program Files\\Quillon\\quillon.exe\"-st", L"-st"},   // the closing quote ends the name
      {L"\"C:\\Program Files\\Quillon\\quillon.exe\"", L""},
      {L"quillon.exe", L""},
      {L"", L""},
      {L"quillon.exe   -st  ", L"-st  "},  // trailing blanks belong to the argument text
      {L"quillon.exe -st x", L"-st x"},
      {L"\"C:\\never closed -st", L""},  // an unclosed quote runs the name to the end
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::wstring(ArgumentText(c.commandLine)), c.arguments)
        << "command line: " << std::wstring(c.commandLine).c_str();
  }
}

TEST(IsMinimisedStart, OnlyTheExactSwitchBetweenBlanksMinimises) {
  for (const wchar_t* arguments : {L"-st", L" -st ", L"\t-st", L"-st \t", L"   -st"}) {
    EXPECT_TRUE(IsMinimisedStart(arguments)) << '"' << std::wstring(arguments).c_str() << '"';
  }
  for (const wchar_t* arguments : {L"", L" ", L"-ST", L"-St", L"-sT", L"-st x", L"x -st", L"-st -st", L"\"-st\"",
                                   L"-s t", L"st", L"/st", L"--st", L"-st\n", L"-stx"}) {
    EXPECT_FALSE(IsMinimisedStart(arguments)) << '"' << std::wstring(arguments).c_str() << '"';
  }
}

class ShowMainWindowTest : public ::testing::Test {
 protected:
  runtime::HeadlessRuntime runtime_;
  registry::MemoryRegistry registry_;
  frmRegEdit window_{runtime_, registry_, nullptr};

  const runtime::HeadlessForm& Shown() { return dynamic_cast<const runtime::HeadlessForm&>(window_.Form()); }
};

TEST_F(ShowMainWindowTest, SwitchLoadsAndShowsTheWindowBeforeMinimisingIt) {
  ShowMainWindow(window_, L"-st");
  EXPECT_TRUE(Shown().Visible());
  EXPECT_EQ(Shown().StateWhenShown(), runtime::kNormal) << "the window became visible before it was minimised";
  EXPECT_EQ(Shown().WindowState(), runtime::kMinimized);
  // Load ran all the same: caption, title band text, hives and the application title.
  EXPECT_EQ(Shown().Caption(), L"Quillon");
  EXPECT_EQ(window_.lblTitle->Caption(), L"Quillon");
  EXPECT_EQ(window_.List1->ListCount(), 7);
  EXPECT_EQ(runtime_.App().Title(), L"Quillon 1.0");
}

TEST_F(ShowMainWindowTest, OtherArgumentTextGivesTheNormalStart) {
  ShowMainWindow(window_, L"-ST");
  EXPECT_TRUE(Shown().Visible());
  EXPECT_EQ(Shown().WindowState(), runtime::kNormal);
}

}  // namespace
}  // namespace quillon
