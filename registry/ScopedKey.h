#pragma once
/// The owner of one key opened through a RegistryApi.

#include <utility>

#include "registry/RegistryApi.h"

namespace quillon::registry {

/// Owns one open key and closes it exactly once: by Close(), or when it goes. Hive handles are closed too, which
/// the platform allows and which leaves them usable.
class ScopedKey {
 public:
  ScopedKey(RegistryApi& registry, Key key) noexcept : registry_(&registry), key_(key) {}
  ScopedKey(ScopedKey&& other) noexcept : registry_(other.registry_), key_(other.Release()) {}
  ScopedKey& operator=(ScopedKey&& other) noexcept {
    if (this != &other) {
      Close();
      registry_ = other.registry_;
      key_ = other.Release();
    }
    return *this;
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  ~ScopedKey() { Close(); }

  [[nodiscard]] Key Get() const noexcept { return key_; }
  explicit operator bool() const noexcept { return key_ != 0; }
  [[nodiscard]] Key Release() noexcept { return std::exchange(key_, 0); }
  void Close() noexcept {
    if (key_ != 0) registry_->CloseKey(key_);
    key_ = 0;
  }

 private:
  RegistryApi* registry_;
  Key key_;
};

}  // namespace quillon::registry
