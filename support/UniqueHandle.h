#pragma once
/// One move-only owner for platform handles, in the spirit of WIL's unique_any. It lives in support/, a folder of
/// header-only helpers that belongs to no layer, so runtime/win32 and registry/win32 share it without either
/// including the other.

#include <cstdint>
#include <type_traits>
#include <utility>

namespace quillon::support {

/// Owns a handle of type `T` and frees it once, with `Close`, when it goes or is replaced. `Invalid` is the value
/// that holds nothing; it is an integer because a pointer such as INVALID_HANDLE_VALUE cannot be a template
/// argument. `T` may also be a small struct with `!=` when closing needs more than one value.
template <typename T, auto Close, std::intptr_t Invalid = 0>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());  // safe on itself: Release leaves nothing to close
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  [[nodiscard]] T Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != InvalidValue(); }
  /// Gives the handle up without freeing it: its caller, or the platform, owns it from now on.
  T Release() noexcept { return std::exchange(handle_, InvalidValue()); }
  /// Frees the handle held, if any, and holds `handle` instead.
  void Reset(T handle = InvalidValue()) noexcept {
    const T old = std::exchange(handle_, handle);
    if (old != InvalidValue()) Close(old);
  }

  [[nodiscard]] static T InvalidValue() noexcept {
    if constexpr (Invalid == 0) {
      return T{};
    } else if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<T>(Invalid);
    } else {
      return static_cast<T>(Invalid);
    }
  }

 private:
  T handle_ = InvalidValue();
};

}  // namespace quillon::support
