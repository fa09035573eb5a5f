#include "app/win32/Win32IconPlatform.h"

namespace quillon {

HWND WindowFromNumber(std::uint32_t hWnd) noexcept {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(hWnd)));
}

std::uint32_t NumberFromWindow(HWND window) noexcept {
  return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window));
}

std::uint32_t Win32IconPlatform::GetWindow(std::uint32_t hWnd, unsigned command) {
  return NumberFromWindow(::GetWindow(WindowFromNumber(hWnd), command));
}

int Win32IconPlatform::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

std::uintptr_t Win32IconPlatform::LoadIconImage(const std::string& name, int width, int height) {
  // Shared images belong to the system: loading the same name and size again gives the same handle, and the
  // program never frees them.
  return reinterpret_cast<std::uintptr_t>(::LoadImageA(instance_, name.c_str(), IMAGE_ICON, width, height, LR_SHARED));
}

void Win32IconPlatform::SendSetIcon(std::uint32_t hWnd, int which, std::uintptr_t icon) {
  ::SendMessageA(WindowFromNumber(hWnd), WM_SETICON, static_cast<WPARAM>(which), static_cast<LPARAM>(icon));
}

}  // namespace quillon
