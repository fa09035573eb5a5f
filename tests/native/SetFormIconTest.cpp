// SetFormIcon against a platform whose windows keep the icons sent to them: which window ends up with which icon,
// also when the platform fails; and the layout of the icon file the build generates for the resource "AAA".
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/mdlSetFormIcon32.h"
#include "tools/QuillIcon.h"

namespace quillon {
namespace {

/// Windows 100, 200 and 300, each owned by the next, and 7 without owner, each showing an old icon 1 at both sizes.
/// A loaded icon is numbered by the size asked for (3233 is 32 by 33), so a wrong metric shows in what a window gets.
class FakeIconPlatform : public IconPlatform {
 public:
  enum Failure { kNone, kLoadsGiveNothing, kLoadsRaise, kOwnerWalkRaisesAt200 };
  explicit FakeIconPlatform(Failure failure) : failure_(failure) {}

  std::uint32_t GetWindow(std::uint32_t hWnd, unsigned command) override {
    if (command != kGwOwner || (failure_ == kOwnerWalkRaisesAt200 && hWnd == 200)) throw std::runtime_error("owner");
    return hWnd == 100 ? 200 : hWnd == 200 ? 300 : 0;
  }
  int GetSystemMetrics(int index) override {
    return std::map<int, int>{{kSmCxIcon, 32}, {kSmCyIcon, 33}, {kSmCxSmIcon, 16}, {kSmCySmIcon, 17}}.at(index);
  }
  std::uintptr_t LoadIconImage(const std::string& name, int width, int height) override {
    if (failure_ == kLoadsRaise) throw std::runtime_error("LoadImageA failed");
    return failure_ == kLoadsGiveNothing || name != "AAA" ? 0 : static_cast<std::uintptr_t>(width * 100 + height);
  }
  void SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) override {
    (which == kIconBig ? big_ : small_).at(hWnd) = icon;
  }
  /// Each window's big and small icon.
  std::string Shown() const {
    std::string shown;
    for (const auto& [window, icon] : big_)
      shown += std::to_string(window) + ":" + std::to_string(icon) + "/" + std::to_string(small_.at(window)) + " ";
    return shown;
  }

 private:
  Failure failure_;
  std::map<std::uint32_t, std::uintptr_t> big_{{7, 1}, {100, 1}, {200, 1}, {300, 1}}, small_ = big_;
};

TEST(SetFormIcon, TheWindowAndTheLastOfItsOwnersShowTheIconAtTheSystemsTwoSizesAndAFailedLoadClearsThem) {
  // The window, which windows get the icon, how the platform fails, and the icons each window shows then.
  const std::tuple<std::uint32_t, IconTarget, FakeIconPlatform::Failure, const char*> cases[] = {
      // The window and the end of its owner chain; the owner between is not touched.
      {100, IconTarget::kWindowAndOwner, FakeIconPlatform::kNone, "7:1/1 100:3233/1617 200:1/1 300:3233/1617 "},
      {7, IconTarget::kWindowAndOwner, FakeIconPlatform::kNone, "7:3233/1617 100:1/1 200:1/1 300:1/1 "},
      {100, IconTarget::kWindowOnly, FakeIconPlatform::kNone, "7:1/1 100:3233/1617 200:1/1 300:1/1 "},
      // A load that fails sends no icon all the same: the old ones are cleared.
      {200, IconTarget::kWindowAndOwner, FakeIconPlatform::kLoadsGiveNothing, "7:1/1 100:1/1 200:0/0 300:0/0 "},
      {200, IconTarget::kWindowAndOwner, FakeIconPlatform::kLoadsRaise, "7:1/1 100:1/1 200:0/0 300:0/0 "},
      // An owner walk that fails ends at the last owner found.
      {100, IconTarget::kWindowAndOwner, FakeIconPlatform::kOwnerWalkRaisesAt200,
       "7:1/1 100:3233/1617 200:3233/1617 300:1/1 "},
  };
  for (const auto& [hWnd, target, failure, shown] : cases) {
    FakeIconPlatform platform(failure);
    SetFormIcon(platform, hWnd, "AAA", target);
    EXPECT_EQ(platform.Shown(), shown) << "window " << hWnd << ", failure " << failure;
  }
}

}  // namespace
}  // namespace quillon

namespace quillon::icon {
namespace {

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at) | (U16(b, at + 2) << 16));
}

TEST(QuillonIconFile, HoldsEightBitmapsAtFourSizesInBothDepthsBackToBack) {
  const std::vector<std::uint8_t> file = MakeQuillonIcon();
  ASSERT_GE(file.size(), 6u);
  EXPECT_EQ(U16(file, 0), 0u);
  EXPECT_EQ(U16(file, 2), 1u) << "resource type 1 is an icon";
  ASSERT_EQ(U16(file, 4), 8u);
  std::set<std::pair<std::size_t, std::size_t>> formats;
  std::size_t expectedOffset = 6 + 16 * 8;
  for (std::size_t at = 6; at < 6 + 16 * 8; at += 16) {
    SCOPED_TRACE(at);
    const std::size_t side = file.at(at), bits = U16(file, at + 6), size = U32(file, at + 8),
                      offset = U32(file, at + 12);
    EXPECT_EQ(file.at(at + 1), side) << "square";
    EXPECT_EQ(file.at(at + 2), 0) << "colour count is 0 from 256 colours up";
    EXPECT_EQ(U16(file, at + 4), 1u) << "planes";
    EXPECT_EQ(offset, expectedOffset);
    expectedOffset += size;
    // The BMP form: a 40-byte header whose height counts colour bitmap and mask, then palette, colours, mask.
    EXPECT_EQ(U32(file, offset), 40u);
    EXPECT_EQ(U32(file, offset + 8), 2 * side);
    EXPECT_EQ(U16(file, offset + 14), bits);
    const std::size_t colourBytes = (side * bits + 31) / 32 * 4 * side, maskBytes = (side + 31) / 32 * 4 * side;
    EXPECT_EQ(size, 40 + (bits == 8 ? 1024u : 0u) + colourBytes + maskBytes);
    formats.insert({side, bits});
  }
  EXPECT_EQ(expectedOffset, file.size()) << "the images fill the file exactly";
  EXPECT_EQ(formats, (std::set<std::pair<std::size_t, std::size_t>>{
                         {16, 8}, {24, 8}, {32, 8}, {48, 8}, {16, 32}, {24, 32}, {32, 32}, {48, 32}}));
}

}  // namespace
}  // namespace quillon::icon
