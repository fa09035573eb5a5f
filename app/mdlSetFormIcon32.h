#pragma once
/// SetFormIcon: gives a window its large and small icons, and on request the last window of its owner chain too.

#include <cstdint>
#include <string>

namespace quillon {

/// The four user32 calls SetFormIcon makes, so that the routine can be proved without a screen.
class IconPlatform {
 public:
  /// The platform's numbers for the calls below.
  static constexpr unsigned kGwOwner = 4;
  static constexpr int kSmCxIcon = 11;
  static constexpr int kSmCyIcon = 12;
  static constexpr int kSmCxSmIcon = 49;
  static constexpr int kSmCySmIcon = 50;
  static constexpr int kIconSmall = 0;
  static constexpr int kIconBig = 1;

  virtual ~IconPlatform() = default;
  virtual std::uint32_t GetWindow(std::uint32_t hWnd, unsigned command) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  /// LoadImageA(instance, name, IMAGE_ICON, width, height, LR_SHARED); 0 when the image cannot be loaded.
  /// Not called LoadIcon: windows.h defines that name as a macro.
  virtual std::uintptr_t LoadIconImage(const std::string& name, int width, int height) = 0;
  /// SendMessageA(hWnd, WM_SETICON, which, icon).
  virtual void SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) = 0;
};

enum class IconTarget { kWindowOnly, kWindowAndOwner };

/// Loads `iconName` at the system's large and then small icon size and sends each to the top of the owner chain
/// (with kWindowAndOwner) and then to `hWnd`. Failures are ignored: a failed load sends icon 0 all the same.
void SetFormIcon(IconPlatform& platform, std::uint32_t hWnd, const std::string& iconName, IconTarget target) noexcept;

}  // namespace quillon
