// SetFormIcon against a recording platform: the order of the user32 calls and the documented edge cases.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/mdlSetFormIcon32.h"

namespace quillon {
namespace {

// Records every call as text; owners, metrics and loadable sizes are set up by each test. Distinct widths and
// heights show which metric fed which argument.
class RecordingIconPlatform : public IconPlatform {
 public:
  std::map<std::uint32_t, std::uint32_t> owners;
  std::map<int, int> metrics{{kSmCxIcon, 32}, {kSmCyIcon, 33}, {kSmCxSmIcon, 16}, {kSmCySmIcon, 17}};
  std::map<std::pair<int, int>, std::uintptr_t> images{{{32, 33}, 0xB16}, {{16, 17}, 0x5A11}};
  bool throwOnLoad = false;
  std::uint32_t throwOnGetWindowOf = 0;
  std::vector<std::string> calls;

  std::uint32_t GetWindow(std::uint32_t hWnd, unsigned command) override {
    calls.push_back("GetWindow " + std::to_string(hWnd) + " " + std::to_string(command));
    if (hWnd == throwOnGetWindowOf) throw std::runtime_error("GetWindow failed");
    const auto owner = owners.find(hWnd);
    return owner == owners.end() ? 0 : owner->second;
  }
  int GetSystemMetrics(int index) override {
    calls.push_back("Metric " + std::to_string(index));
    return metrics.at(index);
  }
  std::uintptr_t LoadIconImage(const std::string& name, int width, int height) override {
    calls.push_back("Load " + name + " " + std::to_string(width) + "x" + std::to_string(height));
    if (throwOnLoad) throw std::runtime_error("LoadImageA failed");
    const auto image = images.find({width, height});
    return image == images.end() ? 0 : image->second;
  }
  void SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) override {
    calls.push_back("Send " + std::to_string(hWnd) + (which == kIconBig ? " big " : " small ") +
                    std::to_string(icon));
  }
};

const std::string kBig = std::to_string(0xB16);
const std::string kSmall = std::to_string(0x5A11);

TEST(SetFormIcon, WalksOwnerChainThenSendsLargeThenSmallToTopBeforeWindow) {
  RecordingIconPlatform platform;
  platform.owners = {{100, 200}, {200, 300}};
  SetFormIcon(platform, 100, "AAA", IconTarget::kWindowAndOwner);
  const std::vector<std::string> expected{
      "GetWindow 100 4", "GetWindow 200 4", "GetWindow 300 4",  // the walk ends on the first window without owner
      "Metric 11",       "Metric 12",       "Load AAA 32x33",   "Send 300 big " + kBig,       "Send 100 big " + kBig,
      "Metric 49",       "Metric 50",       "Load AAA 16x17",   "Send 300 small " + kSmall,   "Send 100 small " + kSmall,
  };
  EXPECT_EQ(platform.calls, expected);
}

TEST(SetFormIcon, WindowWithoutOwnerGetsEachMessageTwice) {
  RecordingIconPlatform platform;
  SetFormIcon(platform, 7, "AAA", IconTarget::kWindowAndOwner);
  const std::vector<std::string> expected{
      "GetWindow 7 4",
      "Metric 11", "Metric 12", "Load AAA 32x33", "Send 7 big " + kBig,     "Send 7 big " + kBig,
      "Metric 49", "Metric 50", "Load AAA 16x17", "Send 7 small " + kSmall, "Send 7 small " + kSmall,
  };
  EXPECT_EQ(platform.calls, expected);
}

TEST(SetFormIcon, WindowOnlyNeitherWalksNorTouchesOwner) {
  RecordingIconPlatform platform;
  platform.owners = {{100, 200}};
  SetFormIcon(platform, 100, "AAA", IconTarget::kWindowOnly);
  const std::vector<std::string> expected{
      "Metric 11", "Metric 12", "Load AAA 32x33", "Send 100 big " + kBig,
      "Metric 49", "Metric 50", "Load AAA 16x17", "Send 100 small " + kSmall,
  };
  EXPECT_EQ(platform.calls, expected);
}

TEST(SetFormIcon, FailedLoadsStillSendIconZero) {
  // Both failure kinds: the platform's 0 (no such image) and an error raised inside the load.
  for (const bool throwOnLoad : {false, true}) {
    SCOPED_TRACE(throwOnLoad ? "load raises" : "load returns 0");
    RecordingIconPlatform platform;
    platform.owners = {{100, 200}};
    platform.images.clear();
    platform.throwOnLoad = throwOnLoad;
    SetFormIcon(platform, 100, "MISSING", IconTarget::kWindowAndOwner);
    const std::vector<std::string> expected{
        "GetWindow 100 4", "GetWindow 200 4",
        "Metric 11",       "Metric 12",        "Load MISSING 32x33", "Send 200 big 0",   "Send 100 big 0",
        "Metric 49",       "Metric 50",        "Load MISSING 16x17", "Send 200 small 0", "Send 100 small 0",
    };
    EXPECT_EQ(platform.calls, expected);
  }
}

TEST(SetFormIcon, ErrorDuringOwnerWalkKeepsLastOwnerFoundAndGoesOn) {
  RecordingIconPlatform platform;
  platform.owners = {{100, 200}, {200, 300}};
  platform.throwOnGetWindowOf = 200;
  SetFormIcon(platform, 100, "AAA", IconTarget::kWindowAndOwner);
  const std::vector<std::string> expected{
      "GetWindow 100 4", "GetWindow 200 4",
      "Metric 11",       "Metric 12",       "Load AAA 32x33", "Send 200 big " + kBig,     "Send 100 big " + kBig,
      "Metric 49",       "Metric 50",       "Load AAA 16x17", "Send 200 small " + kSmall, "Send 100 small " + kSmall,
  };
  EXPECT_EQ(platform.calls, expected);
}

}  // namespace
}  // namespace quillon
