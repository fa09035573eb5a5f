// quillon.exe started as a user starts it: "-st" in lower case starts the loaded window minimised, in any other case
// the switch gives the normal window; closing the window ends the program with code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "tests/wine/support/QuillonProcess.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon::winetest {
namespace {

TEST(Startup, OnlyTheLowerCaseSwitchMinimisesTheLoadedWindowAndClosingItEndsTheProgram) {
  for (const auto& [arguments, minimised] : {std::pair{L"-st", true}, std::pair{L"-ST", false}}) {
    QuillonProcess quillon(arguments);
    ASSERT_TRUE(quillon.Started()) << "cannot start quillon.exe; build it first or set QUILLON_EXE";
    const HWND window = quillon.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(IsIconic(window) != FALSE, minimised) << ::testing::PrintToString(std::wstring(arguments));
    EXPECT_EQ(WindowText(window), L"Quillon") << "loaded before it was shown";
    // The window's icons cannot be read from here (Wine refuses WM_GETICON between processes); app_IconResources
    // loads them from the executable instead.
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(quillon.ExitCode(), 0u);
  }
}

}  // namespace
}  // namespace quillon::winetest
