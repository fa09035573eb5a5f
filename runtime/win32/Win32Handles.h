#pragma once
/// Move-only owners of the Win32 handles the runtime creates: windows, GDI objects, window classes and subclasses.
/// Nothing in the runtime frees a handle by hand; each owner's destructor does it once.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>

namespace quillon::runtime::win32 {

/// Owns a window. A window the system already destroyed (its parent went, the user closed it) is forgotten with
/// Release() from its WM_NCDESTROY, so that the owner never destroys a handle value that may have been reused.
class UniqueWindow {
 public:
  UniqueWindow() noexcept = default;
  explicit UniqueWindow(HWND window) noexcept : window_(window) {}
  UniqueWindow(UniqueWindow&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
  UniqueWindow& operator=(UniqueWindow&& other) noexcept {
    if (this != &other) {
      Reset();
      window_ = std::exchange(other.window_, nullptr);
    }
    return *this;
  }
  UniqueWindow(const UniqueWindow&) = delete;
  UniqueWindow& operator=(const UniqueWindow&) = delete;
  ~UniqueWindow() { Reset(); }

  HWND Get() const noexcept { return window_; }
  explicit operator bool() const noexcept { return window_ != nullptr; }
  /// Forgets the window without destroying it.
  HWND Release() noexcept { return std::exchange(window_, nullptr); }
  void Reset() noexcept {
    if (HWND window = std::exchange(window_, nullptr)) DestroyWindow(window);
  }

 private:
  HWND window_ = nullptr;
};

/// Owns a GDI object (font, brush) and deletes it.
template <typename Handle>
class UniqueGdiObject {
 public:
  UniqueGdiObject() noexcept = default;
  explicit UniqueGdiObject(Handle object) noexcept : object_(object) {}
  UniqueGdiObject(UniqueGdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  UniqueGdiObject(const UniqueGdiObject&) = delete;
  UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
  ~UniqueGdiObject() { Reset(); }

  Handle Get() const noexcept { return object_; }
  void Reset(Handle object = nullptr) noexcept {
    if (Handle old = std::exchange(object_, object)) DeleteObject(old);
  }

 private:
  Handle object_ = nullptr;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;

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

/// Owns a registered window class.
class WindowClass {
 public:
  WindowClass() noexcept = default;
  WindowClass(HINSTANCE instance, const wchar_t* name) noexcept : instance_(instance), name_(name) {}
  WindowClass(WindowClass&& other) noexcept
      : instance_(other.instance_), name_(std::exchange(other.name_, nullptr)) {}
  WindowClass& operator=(WindowClass&& other) noexcept {
    if (this != &other) {
      Reset();
      instance_ = other.instance_;
      name_ = std::exchange(other.name_, nullptr);
    }
    return *this;
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  ~WindowClass() { Reset(); }

  const wchar_t* Name() const noexcept { return name_; }
  void Reset() noexcept {
    if (const wchar_t* name = std::exchange(name_, nullptr)) UnregisterClassW(name, instance_);
  }

 private:
  HINSTANCE instance_ = nullptr;
  const wchar_t* name_ = nullptr;
};

/// Owns a subclass installed with SetWindowSubclass. The subclass procedure calls Release() when its window is
/// destroyed (WM_NCDESTROY), after removing itself, so the owner never touches a dead window.
class WindowSubclass {
 public:
  WindowSubclass() noexcept = default;
  WindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) noexcept {
    if (window && SetWindowSubclass(window, procedure, id, data)) {
      window_ = window;
      procedure_ = procedure;
      id_ = id;
    }
  }
  WindowSubclass(WindowSubclass&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), procedure_(other.procedure_), id_(other.id_) {}
  WindowSubclass& operator=(WindowSubclass&& other) noexcept {
    if (this != &other) {
      Reset();
      window_ = std::exchange(other.window_, nullptr);
      procedure_ = other.procedure_;
      id_ = other.id_;
    }
    return *this;
  }
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  ~WindowSubclass() { Reset(); }

  void Release() noexcept { window_ = nullptr; }
  void Reset() noexcept {
    if (HWND window = std::exchange(window_, nullptr)) RemoveWindowSubclass(window, procedure_, id_);
  }

 private:
  HWND window_ = nullptr;
  SUBCLASSPROC procedure_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace quillon::runtime::win32
