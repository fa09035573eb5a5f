// quillon.exe started as a user starts it: "-st" in lower case starts the loaded window minimised, in any other case
// the switch gives the normal window (that closing it ends the program with code 0 is the journey's). And its icon
// group "AAA" as the platform reads it, with SetFormIcon over user32 putting its icons on real windows with real
// owners.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "app/mdlSetFormIcon32.h"
#include "app/win32/Win32IconPlatform.h"
#include "tests/wine/support/QuillonProcess.h"
#include "tests/wine/support/Win32Driver.h"

namespace quillon::winetest {
namespace {

TEST(Startup, OnlyTheLowerCaseSwitchMinimisesTheLoadedWindow) {
  for (const auto& [arguments, minimised] : {std::pair{L"-st", true}, std::pair{L"-ST", false}}) {
    QuillonProcess quillon(arguments);
    ASSERT_TRUE(quillon.Started()) << "cannot start quillon.exe; build it first or set QUILLON_EXE";
    const HWND window = quillon.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(IsIconic(window) != FALSE, minimised) << ::testing::PrintToString(std::wstring(arguments));
    EXPECT_EQ(WindowText(window), L"Quillon") << "loaded before it was shown";
    // The window's icons cannot be read from here (Wine refuses WM_GETICON between processes); the test below
    // loads them from the executable instead.
  }
}

// The edge length of an icon's colour bitmap; 0 for no icon.
int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

HICON IconOf(HWND window, WPARAM which) { return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)); }

TEST(QuillonExe, IconGroupAAAHoldsEightImagesLoadsAtBothSizesAndGoesOnTheWindowAndTheEndOfItsOwnerChain) {
  const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> exe(
      LoadLibraryExW(QuillonExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &FreeLibrary);
  ASSERT_NE(exe, nullptr) << "cannot open quillon.exe; build it first or set QUILLON_EXE";
  const HRSRC found = FindResourceW(exe.get(), L"AAA", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  // The eight images of the file the build draws (whose layout QuillonIconFile checks): reserved, type, count.
  ASSERT_GE(SizeofResource(exe.get(), found), 6u);
  EXPECT_EQ(static_cast<const WORD*>(LockResource(LoadResource(exe.get(), found)))[2], 8);
  for (const int size : {16, 32}) {
    const auto icon = static_cast<HICON>(LoadImageA(exe.get(), "AAA", IMAGE_ICON, size, size, 0));
    EXPECT_EQ(IconWidth(icon), size) << size << " px";
    if (icon) DestroyIcon(icon);
  }

  // Three real windows: `owned` is owned by `middle`, which is owned by `top`.
  const auto create = [](HWND owner) {
    return CreateWindowExW(0, L"STATIC", L"icon test", WS_OVERLAPPED, 0, 0, 100, 100, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  };
  const HWND top = create(nullptr);
  const HWND middle = create(top);
  const HWND owned = create(middle);
  ASSERT_TRUE(top && middle && owned);
  Win32IconPlatform platform(exe.get());
  SetFormIcon(platform, NumberFromWindow(owned), "AAA", IconTarget::kWindowAndOwner);
  EXPECT_EQ(IconWidth(IconOf(owned, ICON_BIG)), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(IconWidth(IconOf(owned, ICON_SMALL)), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(IconOf(top, ICON_BIG), IconOf(owned, ICON_BIG)) << "the last window of the owner chain shares them";
  EXPECT_EQ(IconOf(top, ICON_SMALL), IconOf(owned, ICON_SMALL));
  EXPECT_EQ(IconOf(middle, ICON_BIG), nullptr) << "windows between are not touched";
  for (HWND window : {owned, middle, top}) DestroyWindow(window);
}

}  // namespace
}  // namespace quillon::winetest
