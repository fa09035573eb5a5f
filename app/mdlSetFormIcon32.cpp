#include "app/mdlSetFormIcon32.h"

namespace quillon {

namespace {

// The routine ignores every error and goes on with its next step, so each step runs on its own and a failure in
// one (an exception from the platform layer or an allocation) leaves the values the step would have set untouched.
template <typename Step>
void ResumeNext(Step&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

// The last window of hWnd's owner chain, or hWnd itself when it has no owner. A failing step ends the walk where
// it is: retrying the same call could never make progress.
std::uint32_t TopOfOwnerChain(IconPlatform& platform, std::uint32_t hWnd) noexcept {
  std::uint32_t top = hWnd;
  std::uint32_t h = hWnd;
  while (h != 0) {
    std::uint32_t next = 0;
    ResumeNext([&] { next = platform.GetWindow(h, IconPlatform::kGwOwner); });
    h = next;
    if (h != 0) top = h;
  }
  return top;
}

// Loads the icon at the size the two metrics give and sends it to the owner-chain top (when asked) and then to
// the window itself.
void SetOneIcon(IconPlatform& platform, std::uint32_t hWnd, std::uint32_t top, IconTarget target,
                const std::string& iconName, int which, int widthMetric, int heightMetric) noexcept {
  int width = 0;
  int height = 0;
  std::uintptr_t icon = 0;
  ResumeNext([&] { width = platform.GetSystemMetrics(widthMetric); });
  ResumeNext([&] { height = platform.GetSystemMetrics(heightMetric); });
  ResumeNext([&] { icon = platform.LoadIconImage(iconName, width, height); });
  if (target == IconTarget::kWindowAndOwner) ResumeNext([&] { platform.SendSetIcon(top, which, icon); });
  ResumeNext([&] { platform.SendSetIcon(hWnd, which, icon); });
}

}  // namespace

void SetFormIcon(IconPlatform& platform, std::uint32_t hWnd, const std::string& iconName, IconTarget target) noexcept {
  std::uint32_t top = hWnd;
  if (target == IconTarget::kWindowAndOwner) top = TopOfOwnerChain(platform, hWnd);
  SetOneIcon(platform, hWnd, top, target, iconName, IconPlatform::kIconBig, IconPlatform::kSmCxIcon,
             IconPlatform::kSmCyIcon);
  SetOneIcon(platform, hWnd, top, target, iconName, IconPlatform::kIconSmall, IconPlatform::kSmCxSmIcon,
             IconPlatform::kSmCySmIcon);
}

}  // namespace quillon
