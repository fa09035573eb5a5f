#pragma once
/// An in-memory registry with the platform's semantics, for tests: seven hive roots, names matched without case,
/// subkeys listed in the platform's order, values in the order first written, links followed as the platform
/// follows them, and the platform's result codes. Names are bytes of code page 1252, the ANSI code page the tests'
/// platform uses. In the registry's own namespace HKEY_LOCAL_MACHINE is \REGISTRY\MACHINE, HKEY_USERS
/// \REGISTRY\USER and HKEY_CURRENT_USER the user S-1-5-21-0-0-0-1000 below it (as under Wine); the other hives
/// have no name there, so no link leads into them.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "registry/RegistryApi.h"

namespace quillon::registry {

/// One stored value, as a test reads it back.
struct StoredValue {
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
};

/// The operations a test can make fail on purpose, and whose calls it can count.
enum class Operation {
  OpenKey,
  OpenLink,
  KeyName,
  CreateKey,
  EnumKey,
  EnumValue,
  QueryValueEx,
  SetValueEx,
  DeleteKey,
  DeleteValue,
  CloseKey,
  FlushKey,
};
inline constexpr std::size_t kOperationCount = 12;

class MemoryRegistry : public RegistryApi {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

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

  /// Handles obtained from OpenKey/CreateKey and not yet closed; hive handles do not count.
  [[nodiscard]] std::size_t OpenHandleCount() const noexcept { return handles_.size(); }

  // Fixture helpers. Paths start with a hive name or alias in any case ("HKCU\\Software\\A"); missing keys on the
  // way are created. They throw std::invalid_argument for an unknown hive.

  /// Creates the key and every missing key above it.
  void Put(const std::string& path);
  /// Makes `path` a link to `target`: a path in the helpers' form, or a name in the registry's namespace when it
  /// starts with a backslash (which need not lead anywhere).
  void PutLink(const std::string& path, const std::string& target);
  void PutString(const std::string& path, const std::string& name, const std::string& text);
  void PutDword(const std::string& path, const std::string& name, std::uint32_t number);
  void PutBinary(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& bytes);
  void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& bytes);

  [[nodiscard]] bool KeyExists(const std::string& path) const;
  /// The value as stored, or nothing when the key or the value does not exist.
  [[nodiscard]] std::optional<StoredValue> GetValue(const std::string& path, const std::string& name) const;
  /// Subkey names of the key in enumeration order (empty when it does not exist).
  [[nodiscard]] std::vector<std::string> SubkeyNames(const std::string& path) const;

  /// Makes the `nth` call (1-based, counted from now) of `operation` return `status` without doing anything: out
  /// keys are 0 and buffers and sizes stay as they were. A failed close still lets go of the handle, as nothing
  /// the caller could do would close it otherwise; only the result tells of the failure.
  void FailNthCall(Operation operation, std::uint32_t nth, Status status);
  /// Drops the failures planned and not yet reached.
  void ClearFailures() noexcept { failures_.clear(); }
  /// Calls of `operation` made since the registry was created, failed ones included; fixture helpers not counted.
  [[nodiscard]] std::uint32_t CallCount(Operation operation) const noexcept {
    return callCounts_[static_cast<std::size_t>(operation)];
  }

 private:
  struct Node;
  using NodePtr = std::shared_ptr<Node>;

  enum class LastLink { kFollow, kOpen };

  [[nodiscard]] Node* Resolve(Key key) const noexcept;
  [[nodiscard]] NodePtr SharedNode(Key key) const noexcept;
  [[nodiscard]] Status Open(Operation operation, Key parent, const std::string& name, LastLink last,
                            Key& out) noexcept;
  [[nodiscard]] Status OpenBelow(Key parent, const std::string& name, LastLink last, Key& out);
  /// Goes down `components` from `node`, following every link on the way and, with kFollow, the one reached.
  [[nodiscard]] Status Descend(NodePtr node, const std::vector<std::string>& components, LastLink last,
                               NodePtr& out, int& hops) const;
  /// Replaces a link by the key it leads to, as often as it takes.
  [[nodiscard]] Status FollowLinks(NodePtr& node, int& hops) const;
  [[nodiscard]] Status FindByNamespaceName(std::u16string_view name, NodePtr& out, int& hops) const;
  [[nodiscard]] Node* NodeAt(const std::string& path, bool create) const;
  [[nodiscard]] std::u16string NamespaceNameOf(const std::string& path) const;
  [[nodiscard]] Key AddHandle(const NodePtr& node);
  [[nodiscard]] bool InjectedFailure(Operation operation, Status& status) noexcept;

  std::vector<NodePtr> hives_;
  std::unordered_map<Key, NodePtr> handles_;
  Key nextHandle_ = 0x100;

  struct PlannedFailure {
    Operation operation;
    std::uint32_t callsLeft;
    Status status;
  };
  std::vector<PlannedFailure> failures_;
  std::uint32_t callCounts_[kOperationCount] = {};
};

}  // namespace quillon::registry
