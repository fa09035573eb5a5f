// quillon.exe's resources as the platform reads them (icon group "AAA", version record, manifest), and SetFormIcon
// over user32 on real windows with real owners, loading from that executable.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "app/mdlSetFormIcon32.h"
#include "app/win32/Win32IconPlatform.h"

namespace quillon {
namespace {

// quillon.exe sits in the build directory, one level above the test programs; QUILLON_EXE names another one.
std::wstring QuillonExePath() {
  wchar_t fromEnvironment[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUILLON_EXE", fromEnvironment, MAX_PATH) > 0) return fromEnvironment;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path.resize(path.find_last_of(L"\\/"));
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"quillon.exe";
}

// Owners for what these tests create, freed once.
struct ModuleOwner {
  HMODULE module = nullptr;
  ~ModuleOwner() {
    if (module) FreeLibrary(module);
  }
};
struct IconOwner {
  HICON icon = nullptr;
  ~IconOwner() {
    if (icon) DestroyIcon(icon);
  }
};
struct WindowOwner {
  HWND window = nullptr;
  ~WindowOwner() {
    if (window) DestroyWindow(window);
  }
};

// The edge length of an icon's colour bitmap.
int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

std::pair<const unsigned char*, DWORD> Resource(HMODULE module, LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {nullptr, 0};
  HGLOBAL loaded = LoadResource(module, found);
  return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
}

bool Contains(std::pair<const unsigned char*, DWORD> resource, const void* needle, std::size_t size) {
  if (!resource.first || resource.second < size) return false;
  for (DWORD at = 0; at + size <= resource.second; ++at)
    if (std::memcmp(resource.first + at, needle, size) == 0) return true;
  return false;
}
bool ContainsText(std::pair<const unsigned char*, DWORD> resource, const std::string& text) {
  return Contains(resource, text.data(), text.size());
}
bool ContainsWide(std::pair<const unsigned char*, DWORD> resource, const std::wstring& text) {
  return Contains(resource, text.data(), text.size() * sizeof(wchar_t));
}

class QuillonExe : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_.module = LoadLibraryExW(QuillonExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe_.module, nullptr) << "cannot open quillon.exe; build it first or set QUILLON_EXE";
  }
  HMODULE Module() const { return exe_.module; }

 private:
  ModuleOwner exe_;
};

TEST_F(QuillonExe, IconGroupAAAHoldsFourSizesAtTwoDepthsAndLoadsAtSmallAndLargeSize) {
  const auto group = Resource(Module(), L"AAA", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(group.first, nullptr);
  // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, reserved, planes, bit count,
  // bytes, id.
  ASSERT_GE(group.second, 6u);
  const auto u16 = [&](DWORD at) { return static_cast<int>(group.first[at] | (group.first[at + 1] << 8)); };
  EXPECT_EQ(u16(2), 1);
  ASSERT_EQ(u16(4), 8);
  ASSERT_GE(group.second, 6u + 8u * 14u);
  std::set<std::pair<int, int>> formats;
  for (DWORD i = 0; i < 8; ++i) formats.insert({group.first[6 + 14 * i], u16(6 + 14 * i + 6)});
  const std::set<std::pair<int, int>> expected{{16, 8},  {24, 8},  {32, 8},  {48, 8},
                                               {16, 32}, {24, 32}, {32, 32}, {48, 32}};
  EXPECT_EQ(formats, expected);

  for (const int size : {16, 32}) {
    IconOwner icon{static_cast<HICON>(LoadImageA(Module(), "AAA", IMAGE_ICON, size, size, 0))};
    ASSERT_NE(icon.icon, nullptr) << size << " px";
    EXPECT_EQ(IconWidth(icon.icon), size);
  }
  EXPECT_EQ(LoadImageA(Module(), "NOSUCHICON", IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST_F(QuillonExe, CarriesVersionRecordAndManifest) {
  const auto version = Resource(Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  ASSERT_NE(version.first, nullptr);
  // Each string of the record is its key, padding and value in UTF-16; the value follows its key closely.
  for (const auto& [key, value] : {std::pair<std::wstring, std::wstring>{L"ProductName", L"Quillon"},
                                   {L"ProductVersion", L"1.0"},
                                   {L"FileVersion", L"1.0"},
                                   {L"OriginalFilename", L"quillon.exe"}}) {
    EXPECT_TRUE(ContainsWide(version, key)) << std::string(key.begin(), key.end());
    EXPECT_TRUE(ContainsWide(version, value)) << std::string(value.begin(), value.end());
  }
  const auto manifest = Resource(Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(manifest.first, nullptr);
  EXPECT_TRUE(ContainsText(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
  EXPECT_TRUE(ContainsText(manifest, "publicKeyToken=\"6595b64144ccf1df\""));
  EXPECT_TRUE(ContainsText(manifest, "<requestedExecutionLevel level=\"asInvoker\""));
  EXPECT_TRUE(ContainsText(manifest, ">PerMonitorV2,PerMonitor</dpiAwareness>"));
}

// Three real top-level windows: `owned` is owned by `middle`, which is owned by `top`.
class SetFormIconOnWindows : public QuillonExe {
 protected:
  void SetUp() override {
    QuillonExe::SetUp();
    top_.window = Create(nullptr);
    middle_.window = Create(top_.window);
    owned_.window = Create(middle_.window);
    ASSERT_TRUE(top_.window && middle_.window && owned_.window);
  }
  static HWND Create(HWND owner) {
    return CreateWindowExW(0, L"STATIC", L"icon test", WS_OVERLAPPED, 0, 0, 100, 100, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  static HICON Icon(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  }

  WindowOwner top_;
  WindowOwner middle_;
  WindowOwner owned_;
};

TEST_F(SetFormIconOnWindows, OwnerChainTopAndWindowGetLargeAndSmallIconsAtSystemSizes) {
  Win32IconPlatform platform(Module());
  SetFormIcon(platform, NumberFromWindow(owned_.window), "AAA", IconTarget::kWindowAndOwner);

  const HICON big = Icon(owned_.window, ICON_BIG);
  const HICON small = Icon(owned_.window, ICON_SMALL);
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(IconWidth(big), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(IconWidth(small), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(Icon(top_.window, ICON_BIG), big) << "the last window of the owner chain shares the icons";
  EXPECT_EQ(Icon(top_.window, ICON_SMALL), small);
  EXPECT_EQ(Icon(middle_.window, ICON_BIG), nullptr) << "windows between are not touched";
  EXPECT_EQ(Icon(middle_.window, ICON_SMALL), nullptr);
}

}  // namespace
}  // namespace quillon
