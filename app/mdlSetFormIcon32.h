#pragma once
/// SetFormIcon: gives a window its large and small icons, and on request the last window of its owner chain too.

#include <cstdint>
#include <string>

namespace quillon {

/// The four user32 calls SetFormIcon makes, so that the routine can be proved without a screen.
class IconPlatform {
 public:
  virtual ~IconPlatform() = default;
  virtual std::uint32_t GetWindow(std::uint32_t hWnd, unsigned command) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  /// LoadImageA(instance, name, IMAGE_ICON, width, height, LR_SHARED).
  virtual std::uintptr_t LoadIcon(const std::string& name, int width, int height) = 0;
  /// SendMessageA(hWnd, WM_SETICON, which, icon).
  virtual void SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) = 0;
};

enum class IconTarget { kWindowOnly, kWindowAndOwner };

void SetFormIcon(IconPlatform& platform, std::uint32_t hWnd, const std::string& iconName, IconTarget target);

}  // namespace quillon
