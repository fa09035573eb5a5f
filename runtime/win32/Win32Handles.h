#pragma once
/// Move-only owners of the Win32 handles the runtime creates: windows, GDI objects, device contexts, menus,
/// clipboard memory, window classes and subclasses, all built on support::UniqueHandle. Nothing in the runtime frees
/// a handle by hand; each owner's destructor does it once.

#include <windows.h>

#include <commctrl.h>

#include "support/UniqueHandle.h"

namespace quillon::runtime::win32 {

/// Owns a window. A window the system already destroyed (its parent went, the user closed it) is forgotten with
/// Release() from its WM_NCDESTROY, so that the owner never destroys a handle value that may have been reused.
using UniqueWindow = support::UniqueHandle<HWND, &DestroyWindow>;

/// Owns a GDI object (font, brush, bitmap, region) and deletes it.
template <typename Handle>
using UniqueGdiObject = support::UniqueHandle<Handle, &DeleteObject>;

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;

/// Owns a memory device context made with CreateCompatibleDC.
using UniqueDc = support::UniqueHandle<HDC, &DeleteDC>;

/// Owns a menu.
using UniqueMenu = support::UniqueHandle<HMENU, &DestroyMenu>;

/// Owns global memory until the clipboard takes it.
using UniqueGlobal = support::UniqueHandle<HGLOBAL, &GlobalFree>;

/// Owns a screen device context taken with GetDC.
class ScreenDc {
 public:
  explicit ScreenDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

/// Selects a GDI object into a device context for the lifetime of the guard.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

/// A registered window class, as UnregisterClassW takes it.
struct ClassRegistration {
  HINSTANCE instance = nullptr;
  const wchar_t* name = nullptr;
  bool operator!=(const ClassRegistration& other) const noexcept {
    return instance != other.instance || name != other.name;
  }
};

inline void UnregisterWindowClass(ClassRegistration registration) noexcept {
  UnregisterClassW(registration.name, registration.instance);
}

/// Owns a registered window class.
class WindowClass {
 public:
  WindowClass() noexcept = default;
  WindowClass(HINSTANCE instance, const wchar_t* name) noexcept : registration_(ClassRegistration{instance, name}) {}

 private:
  support::UniqueHandle<ClassRegistration, &UnregisterWindowClass> registration_;
};

/// A subclass installed with SetWindowSubclass, as RemoveWindowSubclass takes it.
struct InstalledSubclass {
  HWND window = nullptr;
  SUBCLASSPROC procedure = nullptr;
  UINT_PTR id = 0;
  bool operator!=(const InstalledSubclass& other) const noexcept {
    return window != other.window || procedure != other.procedure || id != other.id;
  }
};

inline void RemoveInstalledSubclass(InstalledSubclass subclass) noexcept {
  RemoveWindowSubclass(subclass.window, subclass.procedure, subclass.id);
}

/// Owns a subclass installed with SetWindowSubclass. The subclass procedure removes it with Reset() when its window
/// is destroyed (WM_NCDESTROY), so the owner never touches a dead window.
class WindowSubclass {
 public:
  WindowSubclass() noexcept = default;
  WindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) noexcept {
    if (window && SetWindowSubclass(window, procedure, id, data)) installed_.Reset({window, procedure, id});
  }

  void Reset() noexcept { installed_.Reset(); }

 private:
  support::UniqueHandle<InstalledSubclass, &RemoveInstalledSubclass> installed_;
};

}  // namespace quillon::runtime::win32
