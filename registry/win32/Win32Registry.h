#pragma once
/// The registry operations over advapi32's ANSI functions, with the program's 32-bit handles mapped to the
/// platform's pointer-sized ones.

#include <cstddef>
#include <unordered_map>

#include "registry/RegistryApi.h"
#include "support/UniqueHandle.h"

struct HKEY__;  // The platform's key handle type; windows.h stays out of this header.

namespace quillon::registry {

/// RegCloseKey, declared here so that this header needs no windows.h.
long CloseHkey(HKEY__* key) noexcept;

/// Owns one open platform key and closes it when it goes. Predefined hive handles are never held by it.
using UniqueHkey = support::UniqueHandle<HKEY__*, &CloseHkey>;

class Win32Registry : public RegistryApi {
 public:
  Win32Registry() = default;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

  [[nodiscard]] Status OpenKey(Key parent, const std::string& name, Key& out) noexcept override;
  [[nodiscard]] Status OpenLink(Key parent, const std::string& name, Key& out) noexcept override;
  [[nodiscard]] Status KeyName(Key key, std::u16string& name) noexcept override;
  [[nodiscard]] Status CreateKey(Key parent, const std::string& name, Key& out) noexcept override;
  Status CloseKey(Key key) noexcept override;
  [[nodiscard]] Status EnumKey(Key key, std::uint32_t index, std::string& buffer) noexcept override;
  [[nodiscard]] Status EnumValue(Key key, std::uint32_t index, std::string& nameBuffer, std::uint32_t& nameSize,
                                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) noexcept override;
  [[nodiscard]] Status QueryValueEx(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) noexcept override;
  Status SetValueEx(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) noexcept override;
  Status FlushKey(Key key) noexcept override;
  Status DeleteKey(Key parent, const std::string& name) noexcept override;
  Status DeleteValue(Key key, const std::string& name) noexcept override;

  /// RegCreateKeyExA with REG_OPTION_CREATE_LINK: makes `name` below `parent` a new link, opened as OpenLink opens
  /// it; where it leads is then written as its SymbolicLinkValue. The program never makes links; tests do.
  [[nodiscard]] Status CreateLink(Key parent, const std::string& name, Key& out) noexcept;

  /// Platform keys this object holds open for the program; hive handles do not count.
  [[nodiscard]] std::size_t OpenHandleCount() const noexcept { return keys_.size(); }

 private:
  /// The platform handle for a program handle, or null when the program handle is not open.
  [[nodiscard]] HKEY__* ToPlatform(Key key) const noexcept;
  /// Takes a key the platform just opened and gives the program its handle for it.
  [[nodiscard]] Status Adopt(Key parent, HKEY__* parentKey, HKEY__* opened, Key& out) noexcept;

  std::unordered_map<Key, UniqueHkey> keys_;
  Key nextHandle_ = 0x100;
};

}  // namespace quillon::registry
