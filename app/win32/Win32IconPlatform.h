#pragma once
/// The real IconPlatform: user32's GetWindow, GetSystemMetrics, LoadImageA and SendMessageA.

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/mdlSetFormIcon32.h"

namespace quillon {

class Win32IconPlatform final : public IconPlatform {
 public:
  /// Icons are loaded from the resources of `instance` (the program's own module).
  explicit Win32IconPlatform(HINSTANCE instance) noexcept : instance_(instance) {}

  std::uint32_t GetWindow(std::uint32_t hWnd, unsigned command) override;
  int GetSystemMetrics(int index) override;
  std::uintptr_t LoadIconImage(const std::string& name, int width, int height) override;
  void SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) override;

 private:
  HINSTANCE instance_;
};

/// A window handle from its 32-bit number. Window handles carry 32 significant bits on 64-bit Windows too, and the
/// platform's rule for widening them is sign extension.
HWND WindowFromNumber(std::uint32_t hWnd) noexcept;
/// The 32-bit number of a window handle (the platform's rule for narrowing is truncation).
std::uint32_t NumberFromWindow(HWND window) noexcept;

}  // namespace quillon
