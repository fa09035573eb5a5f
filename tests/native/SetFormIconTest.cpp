// SetFormIcon against a recording platform (the order of the user32 calls and their failures), and the layout of the
// icon file the build generates for the resource "AAA".
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/mdlSetFormIcon32.h"
#include "tools/QuillIcon.h"

namespace quillon {
namespace {

// Records every call as text. Distinct widths and heights show which metric fed which argument.
class RecordingIconPlatform : public IconPlatform {
 public:
  std::map<std::uint32_t, std::uint32_t> owners{{100, 200}, {200, 300}};
  std::map<int, int> metrics{{kSmCxIcon, 32}, {kSmCyIcon, 33}, {kSmCxSmIcon, 16}, {kSmCySmIcon, 17}};
  std::map<std::pair<int, int>, std::uintptr_t> images{{{32, 33}, 0xB16}, {{16, 17}, 0x5A11}};
  bool throwOnLoad = false;
  std::uint32_t throwOnGetWindowOf = 0;
  std::string calls;

  std::uint32_t GetWindow(std::uint32_t hWnd, unsigned command) override {
    calls += "GetWindow " + std::to_string(hWnd) + " " + std::to_string(command) + "; ";
    if (hWnd == throwOnGetWindowOf) throw std::runtime_error("GetWindow failed");
    const auto owner = owners.find(hWnd);
    return owner == owners.end() ? 0 : owner->second;
  }
  int GetSystemMetrics(int index) override {
    calls += "Metric " + std::to_string(index) + "; ";
    return metrics.at(index);
  }
  std::uintptr_t LoadIconImage(const std::string& name, int width, int height) override {
    calls += "Load " + name + " " + std::to_string(width) + "x" + std::to_string(height) + "; ";
    if (throwOnLoad) throw std::runtime_error("LoadImageA failed");
    const auto image = images.find({width, height});
    return image == images.end() ? 0 : image->second;
  }
  void SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) override {
    calls += "Send " + std::to_string(hWnd) + (which == kIconBig ? " big " : " small ") + std::to_string(icon) + "; ";
  }
};

TEST(SetFormIcon, SendsLargeThenSmallToTheTopOfTheOwnerChainBeforeTheWindowWhateverFails) {
  const std::string big = "Metric 11; Metric 12; Load AAA 32x33; ", small = "Metric 49; Metric 50; Load AAA 16x17; ";
  const std::string noIcons = "GetWindow 200 4; GetWindow 300 4; " + big + "Send 300 big 0; Send 200 big 0; " + small +
                              "Send 300 small 0; Send 200 small 0; ";
  const struct {
    const char* what;
    std::uint32_t hWnd;
    IconTarget target;
    int failure;  // 0 none, 1 the loads give 0, 2 the loads raise, 3 the owner walk raises at 200
    std::string calls;
  } cases[] = {
      {"the walk ends on the first window without owner", 100, IconTarget::kWindowAndOwner, 0,
       "GetWindow 100 4; GetWindow 200 4; GetWindow 300 4; " + big + "Send 300 big 2838; Send 100 big 2838; " + small +
           "Send 300 small 23057; Send 100 small 23057; "},
      {"a window without owner gets each message twice", 7, IconTarget::kWindowAndOwner, 0,
       "GetWindow 7 4; " + big + "Send 7 big 2838; Send 7 big 2838; " + small +
           "Send 7 small 23057; Send 7 small 23057; "},
      {"the window only", 100, IconTarget::kWindowOnly, 0,
       big + "Send 100 big 2838; " + small + "Send 100 small 23057; "},
      {"loads give 0", 200, IconTarget::kWindowAndOwner, 1, noIcons},
      {"loads raise", 200, IconTarget::kWindowAndOwner, 2, noIcons},
      {"the walk raises: the last owner found is kept", 100, IconTarget::kWindowAndOwner, 3,
       "GetWindow 100 4; GetWindow 200 4; " + big + "Send 200 big 2838; Send 100 big 2838; " + small +
           "Send 200 small 23057; Send 100 small 23057; "},
  };
  for (const auto& c : cases) {
    RecordingIconPlatform platform;
    if (c.failure == 1) platform.images.clear();
    platform.throwOnLoad = c.failure == 2;
    platform.throwOnGetWindowOf = c.failure == 3 ? 200 : 0;
    SetFormIcon(platform, c.hWnd, "AAA", c.target);
    EXPECT_EQ(platform.calls, c.calls) << c.what;
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
