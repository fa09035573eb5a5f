#pragma once
/// The registry operations the program uses, with the platform's result codes and 32-bit key handles. Names and
/// string data are bytes of the ANSI code page. Two implementations: Win32Registry over advapi32 and MemoryRegistry
/// for tests; one contract suite holds them to the same behaviour.
///
/// The registry is not a tree: a link (a key made with REG_OPTION_CREATE_LINK) holds one value, SymbolicLinkValue
/// of type REG_LINK, naming another key in the registry's own namespace ("\REGISTRY\USER\...\Software\X"), and
/// opening, creating and deleting by name go on to that key. OpenLink opens a link itself, and KeyName tells a
/// key's name in that namespace, so that a walk can tell where a link leads before it goes there.

#include <cstdint>
#include <string>

namespace quillon::registry {

using Key = std::uint32_t;
using Status = std::int32_t;

/// Result codes, as the platform numbers them.
enum : Status {
  kSuccess = 0,
  kFileNotFound = 2,
  kAccessDenied = 5,
  kInvalidHandle = 6,
  kInvalidParameter = 87,
  kBadPathname = 161,
  kMoreData = 234,
  kNoMoreItems = 259,
  kNoAccess = 998,
  kBadDatabase = 1009,
  kKeyDeleted = 1018,
};

/// The predefined hive handles. Closing one does no harm and it stays usable.
enum : Key {
  kClassesRoot = 0x80000000u,
  kCurrentUser = 0x80000001u,
  kLocalMachine = 0x80000002u,
  kUsers = 0x80000003u,
  kPerformanceData = 0x80000004u,
  kCurrentConfig = 0x80000005u,
  kDynData = 0x80000006u,
};

inline bool IsPredefinedKey(Key key) { return key >= kClassesRoot && key <= kDynData; }

/// Value types, as the platform numbers them.
enum : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegLink = 6,
  kRegMultiSz = 7,
};

/// The one value of a link: where it leads, as UTF-16 without a closing NUL.
inline constexpr const char* kLinkValueName = "SymbolicLinkValue";

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  /// RegOpenKeyA: opens `name` below `parent`; `out` is 0 unless it opened. Links on the way are followed.
  [[nodiscard]] virtual Status OpenKey(Key parent, const std::string& name, Key& out) noexcept = 0;
  /// RegOpenKeyExA with REG_OPTION_OPEN_LINK: as OpenKey, except that a link named by the last component is opened
  /// itself, not the key it leads to.
  [[nodiscard]] virtual Status OpenLink(Key parent, const std::string& name, Key& out) noexcept = 0;
  /// The key's full name in the registry's own namespace, the form in which links name their targets.
  [[nodiscard]] virtual Status KeyName(Key key, std::u16string& name) noexcept = 0;
  /// RegCreateKeyA: creates `name` below `parent`, or opens it when it exists.
  [[nodiscard]] virtual Status CreateKey(Key parent, const std::string& name, Key& out) noexcept = 0;
  /// RegCloseKey.
  virtual Status CloseKey(Key key) noexcept = 0;
  /// RegEnumKeyA: writes the NUL-terminated name of subkey `index` into `buffer`, whose size is the buffer's
  /// capacity. The buffer is left as it was when the call fails (234 when the name does not fit, 259 at the end).
  [[nodiscard]] virtual Status EnumKey(Key key, std::uint32_t index, std::string& buffer) noexcept = 0;
  /// RegEnumValueA: `nameSize` is the name buffer's capacity on entry and the name's length on return. `type`,
  /// `data` and `dataSize` may each be null; data without room for it gives 234 and the size needed.
  [[nodiscard]] virtual Status EnumValue(Key key, std::uint32_t index, std::string& nameBuffer,
                                         std::uint32_t& nameSize, std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* dataSize) noexcept = 0;
  /// RegQueryValueExA: with `data` null, reports type and size; otherwise reads at most `*size` bytes.
  [[nodiscard]] virtual Status QueryValueEx(Key key, const std::string& name, std::uint32_t* type,
                                            std::uint8_t* data, std::uint32_t* size) noexcept = 0;
  /// RegSetValueExA.
  virtual Status SetValueEx(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                            std::uint32_t size) noexcept = 0;
  /// RegFlushKey.
  virtual Status FlushKey(Key key) noexcept = 0;
  /// RegDeleteKeyA: refuses a key that has subkeys. A link named by `name` is followed, and the key it leads to
  /// is the one deleted. An empty name deletes the key `parent` is open on: a link opened with OpenLink is then
  /// deleted itself, never the key it leads to.
  virtual Status DeleteKey(Key parent, const std::string& name) noexcept = 0;
  /// RegDeleteValueA.
  virtual Status DeleteValue(Key key, const std::string& name) noexcept = 0;
};

}  // namespace quillon::registry
