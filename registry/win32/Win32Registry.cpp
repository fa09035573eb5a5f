#include "registry/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace quillon::registry {

namespace {

// The one place where the platform's result codes become ours. They share the platform's numbering, so this is a
// plain conversion; it is still the only spot to change should that ever stop being true.
[[nodiscard]] Status ToStatus(LONG result) noexcept { return static_cast<Status>(result); }

// The platform's predefined handles are the 32-bit constants sign-extended to pointer size.
[[nodiscard]] HKEY PredefinedHkey(Key key) noexcept {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<std::int32_t>(key))));
}

[[nodiscard]] DWORD Capacity(std::size_t size) noexcept {
  return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

// advapi32 has no call that deletes a link itself (RegDeleteKey opens its name following links) and none that tells
// a key's name, so these two come from ntdll, the layer below it, which every process has loaded.
using NtDeleteKeyFunction = LONG(NTAPI*)(HANDLE key);
using NtQueryKeyFunction = LONG(NTAPI*)(HANDLE key, int informationClass, void* information, ULONG length,
                                        ULONG* resultLength);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(LONG status);

struct NtRegistryFunctions {
  NtDeleteKeyFunction deleteKey = nullptr;
  NtQueryKeyFunction queryKey = nullptr;
  RtlNtStatusToDosErrorFunction toDosError = nullptr;
};

template <typename Function>
Function NtdllFunction(const char* name) noexcept {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(ntdll, name)));
}

const NtRegistryFunctions& Ntdll() noexcept {
  static const NtRegistryFunctions functions{NtdllFunction<NtDeleteKeyFunction>("NtDeleteKey"),
                                             NtdllFunction<NtQueryKeyFunction>("NtQueryKey"),
                                             NtdllFunction<RtlNtStatusToDosErrorFunction>("RtlNtStatusToDosError")};
  return functions;
}

[[nodiscard]] Status FromNtStatus(LONG status) noexcept {
  if (status == 0) return kSuccess;
  return Ntdll().toDosError != nullptr ? ToStatus(static_cast<LONG>(Ntdll().toDosError(status))) : kBadDatabase;
}

/// The name of an open platform key in the registry's namespace (NtQueryKey's KeyNameInformation).
/// May throw when memory runs out; its callers catch.
[[nodiscard]] Status QueryKeyName(HKEY key, std::u16string& name) {
  if (Ntdll().queryKey == nullptr) return kInvalidParameter;
  constexpr int kKeyNameInformation = 3;
  // KEY_NAME_INFORMATION: the name's length in bytes, then the name without a NUL.
  std::vector<ULONG> buffer(256);
  for (int attempt = 0; attempt < 2; ++attempt) {
    ULONG needed = 0;
    const auto bytes = static_cast<ULONG>(buffer.size() * sizeof(ULONG));
    const LONG status = Ntdll().queryKey(key, kKeyNameInformation, buffer.data(), bytes, &needed);
    constexpr LONG kBufferOverflow = static_cast<LONG>(0x80000005);
    constexpr LONG kBufferTooSmall = static_cast<LONG>(0xC0000023);
    if ((status == kBufferOverflow || status == kBufferTooSmall) && needed > bytes) {
      buffer.resize(needed / sizeof(ULONG) + 1);
      continue;
    }
    if (status != 0) return FromNtStatus(status);
    const ULONG length = std::min<ULONG>(buffer[0], bytes - static_cast<ULONG>(sizeof(ULONG))) / 2;
    const auto* units = reinterpret_cast<const unsigned char*>(buffer.data() + 1);
    name.assign(length, u'\0');
    for (ULONG i = 0; i < length; ++i) name[i] = static_cast<char16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    return kSuccess;
  }
  return kMoreData;
}

}  // namespace

long CloseHkey(HKEY__* key) noexcept { return RegCloseKey(key); }

HKEY__* Win32Registry::ToPlatform(Key key) const noexcept {
  if (IsPredefinedKey(key)) return PredefinedHkey(key);
  const auto found = keys_.find(key);
  return found == keys_.end() ? nullptr : found->second.Get();
}

Status Win32Registry::Adopt(Key parent, HKEY__* parentKey, HKEY__* opened, Key& out) noexcept {
  // An empty name makes the platform hand back the parent's own handle: it is still the caller's one handle.
  if (opened == parentKey) {
    out = parent;
    return kSuccess;
  }
  UniqueHkey owner(opened);
  try {
    const Key handle = nextHandle_;
    keys_.emplace(handle, std::move(owner));
    // Handles are not reused, so a stale program handle never reaches another key.
    nextHandle_ += 4;
    if (IsPredefinedKey(nextHandle_) || nextHandle_ == 0) nextHandle_ = 0x100;
    out = handle;
    return kSuccess;
  } catch (...) {
    return kBadDatabase;  // `owner` closes the platform key.
  }
}

Status Win32Registry::OpenKey(Key parent, const std::string& name, Key& out) noexcept {
  out = 0;
  HKEY parentKey = ToPlatform(parent);
  if (parentKey == nullptr) return kInvalidHandle;
  HKEY opened = nullptr;
  const Status status = ToStatus(RegOpenKeyA(parentKey, name.c_str(), &opened));
  if (status != kSuccess) return status;
  return Adopt(parent, parentKey, opened, out);
}

Status Win32Registry::OpenLink(Key parent, const std::string& name, Key& out) noexcept {
  out = 0;
  HKEY parentKey = ToPlatform(parent);
  if (parentKey == nullptr) return kInvalidHandle;
  // As OpenKey: an empty name hands back the handle given, and the rights are whatever the user has.
  if (name.empty()) {
    out = parent;
    return kSuccess;
  }
  HKEY opened = nullptr;
  const Status status =
      ToStatus(RegOpenKeyExA(parentKey, name.c_str(), REG_OPTION_OPEN_LINK, MAXIMUM_ALLOWED, &opened));
  if (status != kSuccess) return status;
  return Adopt(parent, parentKey, opened, out);
}

Status Win32Registry::KeyName(Key key, std::u16string& name) noexcept {
  try {
    // The hives' handles are not keys the kernel knows; their names are the registry's fixed roots. The current
    // user's depends on who runs the program, so it is asked of a real handle to it.
    switch (key) {
      case kLocalMachine:
        name = u"\\REGISTRY\\MACHINE";
        return kSuccess;
      case kUsers:
        name = u"\\REGISTRY\\USER";
        return kSuccess;
      case kClassesRoot:
        // Windows merges the user's classes into this view; its own keys are the machine's.
        name = u"\\REGISTRY\\MACHINE\\SOFTWARE\\Classes";
        return kSuccess;
      case kCurrentConfig:
        name = u"\\REGISTRY\\MACHINE\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current";
        return kSuccess;
      case kCurrentUser: {
        HKEY user = nullptr;
        if (const Status status = ToStatus(RegOpenCurrentUser(KEY_READ, &user)); status != kSuccess) return status;
        UniqueHkey owner(user);
        return QueryKeyName(user, name);
      }
      default:
        break;
    }
    if (IsPredefinedKey(key)) return kFileNotFound;
    HKEY platformKey = ToPlatform(key);
    if (platformKey == nullptr) return kInvalidHandle;
    return QueryKeyName(platformKey, name);
  } catch (...) {
    return kBadDatabase;
  }
}

Status Win32Registry::CreateLink(Key parent, const std::string& name, Key& out) noexcept {
  out = 0;
  HKEY parentKey = ToPlatform(parent);
  if (parentKey == nullptr) return kInvalidHandle;
  HKEY created = nullptr;
  const Status status = ToStatus(RegCreateKeyExA(parentKey, name.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                                 KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &created, nullptr));
  if (status != kSuccess) return status;
  return Adopt(parent, parentKey, created, out);
}

Status Win32Registry::CreateKey(Key parent, const std::string& name, Key& out) noexcept {
  out = 0;
  HKEY parentKey = ToPlatform(parent);
  if (parentKey == nullptr) return kInvalidHandle;
  HKEY created = nullptr;
  const Status status = ToStatus(RegCreateKeyA(parentKey, name.c_str(), &created));
  if (status != kSuccess) return status;
  return Adopt(parent, parentKey, created, out);
}

Status Win32Registry::CloseKey(Key key) noexcept {
  // Closing a hive handle is harmless on the platform; pass it on so the platform's answer is the one reported.
  if (IsPredefinedKey(key)) return ToStatus(RegCloseKey(PredefinedHkey(key)));
  const auto found = keys_.find(key);
  if (found == keys_.end()) return kInvalidHandle;
  HKEY platformKey = found->second.Release();
  keys_.erase(found);
  return ToStatus(RegCloseKey(platformKey));
}

Status Win32Registry::EnumKey(Key key, std::uint32_t index, std::string& buffer) noexcept {
  HKEY platformKey = ToPlatform(key);
  if (platformKey == nullptr) return kInvalidHandle;
  return ToStatus(RegEnumKeyA(platformKey, index, buffer.data(), Capacity(buffer.size())));
}

Status Win32Registry::EnumValue(Key key, std::uint32_t index, std::string& nameBuffer, std::uint32_t& nameSize,
                                std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) noexcept {
  HKEY platformKey = ToPlatform(key);
  if (platformKey == nullptr) return kInvalidHandle;
  // Never let the platform write past the string, whatever size the caller claims.
  const DWORD capacity = std::min(static_cast<DWORD>(nameSize), Capacity(nameBuffer.size()));
  DWORD nameChars = capacity;
  // Out values start as the caller's, so whatever the platform leaves alone stays as the caller had it.
  DWORD valueType = type != nullptr ? *type : 0;
  DWORD bytes = dataSize != nullptr ? *dataSize : 0;
  const Status status =
      ToStatus(RegEnumValueA(platformKey, index, nameBuffer.data(), &nameChars, nullptr,
                             type != nullptr ? &valueType : nullptr, data, dataSize != nullptr ? &bytes : nullptr));
  if (nameChars != capacity) nameSize = nameChars;
  if (type != nullptr) *type = valueType;
  if (dataSize != nullptr) *dataSize = bytes;
  return status;
}

Status Win32Registry::QueryValueEx(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                   std::uint32_t* size) noexcept {
  HKEY platformKey = ToPlatform(key);
  if (platformKey == nullptr) return kInvalidHandle;
  DWORD valueType = type != nullptr ? *type : 0;
  DWORD bytes = size != nullptr ? *size : 0;
  const Status status = ToStatus(RegQueryValueExA(platformKey, name.c_str(), nullptr,
                                                  type != nullptr ? &valueType : nullptr, data,
                                                  size != nullptr ? &bytes : nullptr));
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = bytes;
  return status;
}

Status Win32Registry::SetValueEx(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                 std::uint32_t size) noexcept {
  HKEY platformKey = ToPlatform(key);
  if (platformKey == nullptr) return kInvalidHandle;
  return ToStatus(RegSetValueExA(platformKey, name.c_str(), 0, type, data, size));
}

Status Win32Registry::FlushKey(Key key) noexcept {
  HKEY platformKey = ToPlatform(key);
  if (platformKey == nullptr) return kInvalidHandle;
  return ToStatus(RegFlushKey(platformKey));
}

Status Win32Registry::DeleteKey(Key parent, const std::string& name) noexcept {
  HKEY parentKey = ToPlatform(parent);
  if (parentKey == nullptr) return kInvalidHandle;
  if (!name.empty()) return ToStatus(RegDeleteKeyA(parentKey, name.c_str()));
  // The key the handle is open on, exactly: RegDeleteKeyA would open the empty name again, and a reopened link
  // may be followed. A hive is no key of its own to delete.
  if (IsPredefinedKey(parent)) return kAccessDenied;
  if (Ntdll().deleteKey == nullptr) return kInvalidParameter;
  return FromNtStatus(Ntdll().deleteKey(parentKey));
}

Status Win32Registry::DeleteValue(Key key, const std::string& name) noexcept {
  HKEY platformKey = ToPlatform(key);
  if (platformKey == nullptr) return kInvalidHandle;
  return ToStatus(RegDeleteValueA(platformKey, name.c_str()));
}

}  // namespace quillon::registry
