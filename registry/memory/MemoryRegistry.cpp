#include "registry/memory/MemoryRegistry.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "support/CodePage1252.h"

namespace quillon::registry {

namespace {

using support::FromCodePage1252;
using support::ToCodePage1252;

// A name as the platform compares it: every byte taken to its character in code page 1252 and upper-cased. The
// platform matches names through this form and lists subkeys in its code-unit order, so "aB" comes before "a_".
using FoldedName = std::u16string;

char16_t FoldByte(unsigned char byte) noexcept {
  if (byte >= 'a' && byte <= 'z') return static_cast<char16_t>(byte - 0x20);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char16_t>(byte - 0x20);
  if (byte == 0xFF) return 0x0178;  // ÿ -> Ÿ
  if (byte == 0x9A) return 0x0160;  // š -> Š
  if (byte == 0x9C) return 0x0152;  // œ -> Œ
  if (byte == 0x9E) return 0x017D;  // ž -> Ž
  return FromCodePage1252(byte);
}

FoldedName Fold(const std::string& name) {
  FoldedName folded;
  folded.reserve(name.size());
  for (char c : name) folded.push_back(FoldByte(static_cast<unsigned char>(c)));
  return folded;
}

char16_t UpperAscii(char16_t unit) noexcept { return unit >= u'a' && unit <= u'z' ? unit - 0x20 : unit; }

bool EqualWithoutAsciiCase(std::u16string_view a, std::u16string_view b) noexcept {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

// Links are followed at most this many times while one name is resolved; a longer chain, or a loop of links, ends
// with the answer the platform gives for it.
constexpr int kMaxLinkHops = 16;

// Splits a subkey path as the platform reads it: a leading backslash makes the path unusable, and empty
// components elsewhere (doubled or trailing backslashes) are passed over.
[[nodiscard]] Status SplitSubkeyPath(const std::string& path, std::vector<std::string>& components) {
  components.clear();
  if (!path.empty() && path.front() == '\\') return kBadPathname;
  std::string::size_type start = 0;
  while (start < path.size()) {
    auto slash = path.find('\\', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash > start) components.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return kSuccess;
}

constexpr Key kHiveHandles[] = {kClassesRoot, kCurrentUser, kLocalMachine, kUsers,
                                kPerformanceData, kCurrentConfig, kDynData};

// Hive names and aliases the fixture helpers accept, matched after upper-casing.
struct HiveName {
  const char* name;
  Key handle;
};
constexpr HiveName kHiveNames[] = {
    {"HKEY_CLASSES_ROOT", kClassesRoot},       {"HKCR", kClassesRoot},     {"HKR", kClassesRoot},
    {"CR", kClassesRoot},                      {"HKEY_CURRENT_CONFIG", kCurrentConfig},
    {"HKCC", kCurrentConfig},                  {"HCC", kCurrentConfig},    {"CC", kCurrentConfig},
    {"HKEY_CURRENT_USER", kCurrentUser},       {"HKCU", kCurrentUser},     {"HCU", kCurrentUser},
    {"CU", kCurrentUser},                      {"HKEY_LOCAL_MACHINE", kLocalMachine},
    {"HKLM", kLocalMachine},                   {"HLM", kLocalMachine},     {"LM", kLocalMachine},
    {"HKEY_USERS", kUsers},                    {"HKU", kUsers},            {"HU", kUsers},
    {"U", kUsers},                             {"HKEY_DYN_DATA", kDynData}, {"HKDD", kDynData},
    {"HDD", kDynData},                         {"DD", kDynData},           {"HKEY_PERFORMANCE_DATA", kPerformanceData},
    {"HKPD", kPerformanceData},                {"HPD", kPerformanceData},  {"PD", kPerformanceData},
};

// Where the hives stand in the registry's own namespace; the longer name of two that both fit is tried first.
struct NamespaceRoot {
  Key hive;
  const char16_t* name;
};
constexpr NamespaceRoot kNamespaceRoots[] = {
    {kCurrentUser, u"\\REGISTRY\\USER\\S-1-5-21-0-0-0-1000"},
    {kUsers, u"\\REGISTRY\\USER"},
    {kLocalMachine, u"\\REGISTRY\\MACHINE"},
};

}  // namespace

struct MemoryRegistry::Node {
  using SubkeyMap = std::map<FoldedName, NodePtr>;

  std::string name;
  Node* parent = nullptr;  // null for a hive and once the key is deleted
  bool deleted = false;
  bool link = false;  // leads to the key its SymbolicLinkValue names; never has subkeys
  SubkeyMap subkeys;
  std::vector<std::pair<std::string, StoredValue>> values;  // in the order first written
  std::unordered_map<FoldedName, std::size_t> valueIndex;   // folded name -> position in `values`

  // Enumeration goes index by index, so the last position reached is kept: the next index is one step away, which
  // keeps listing a key with many subkeys linear overall.
  std::size_t cursorIndex = 0;
  SubkeyMap::iterator cursor;
  bool cursorValid = false;

  explicit Node(std::string keyName) : name(std::move(keyName)) {}

  Node* FindSubkey(const std::string& subkeyName) const {
    const auto found = subkeys.find(Fold(subkeyName));
    return found == subkeys.end() ? nullptr : found->second.get();
  }

  NodePtr AddSubkey(const std::string& subkeyName) {
    auto [it, inserted] = subkeys.try_emplace(Fold(subkeyName), nullptr);
    if (inserted) {
      it->second = std::make_shared<Node>(subkeyName);
      it->second->parent = this;
      cursorValid = false;
    }
    return it->second;
  }

  void RemoveSubkey(const std::string& subkeyName) {
    const auto found = subkeys.find(Fold(subkeyName));
    if (found == subkeys.end()) return;
    found->second->deleted = true;
    found->second->parent = nullptr;
    subkeys.erase(found);
    cursorValid = false;
  }

  const Node* SubkeyAt(std::size_t index) {
    const std::size_t count = subkeys.size();
    if (index >= count) return nullptr;
    // Walk from whichever of the start, the cursor and the end is nearest.
    SubkeyMap::iterator it = subkeys.begin();
    std::size_t distance = index;
    if (cursorValid) {
      const std::size_t fromCursor = index >= cursorIndex ? index - cursorIndex : cursorIndex - index;
      if (fromCursor < distance) {
        it = cursor;
        if (index >= cursorIndex) {
          std::advance(it, static_cast<std::ptrdiff_t>(fromCursor));
        } else {
          std::advance(it, -static_cast<std::ptrdiff_t>(fromCursor));
        }
        distance = 0;
      }
    }
    if (distance != 0 && count - index < distance) {
      it = subkeys.end();
      std::advance(it, -static_cast<std::ptrdiff_t>(count - index));
      distance = 0;
    }
    if (distance != 0) std::advance(it, static_cast<std::ptrdiff_t>(distance));
    cursor = it;
    cursorIndex = index;
    cursorValid = true;
    return it->second.get();
  }

  const StoredValue* FindValue(const std::string& valueName) const {
    const auto found = valueIndex.find(Fold(valueName));
    return found == valueIndex.end() ? nullptr : &values[found->second].second;
  }

  void SetValue(const std::string& valueName, StoredValue value) {
    auto [it, inserted] = valueIndex.try_emplace(Fold(valueName), values.size());
    if (inserted) {
      values.emplace_back(valueName, std::move(value));
      return;
    }
    // Overwriting keeps the value's place and the name as first written.
    values[it->second].second = std::move(value);
  }

  bool RemoveValue(const std::string& valueName) {
    const auto found = valueIndex.find(Fold(valueName));
    if (found == valueIndex.end()) return false;
    const std::size_t position = found->second;
    valueIndex.erase(found);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& entry : valueIndex) {
      if (entry.second > position) --entry.second;
    }
    return true;
  }
};

MemoryRegistry::MemoryRegistry() {
  for (std::size_t i = 0; i < std::size(kHiveHandles); ++i) hives_.push_back(std::make_shared<Node>(std::string()));
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Resolve(Key key) const noexcept { return SharedNode(key).get(); }

MemoryRegistry::NodePtr MemoryRegistry::SharedNode(Key key) const noexcept {
  if (IsPredefinedKey(key)) return hives_[key - kClassesRoot];
  const auto found = handles_.find(key);
  return found == handles_.end() ? nullptr : found->second;
}

Key MemoryRegistry::AddHandle(const NodePtr& node) {
  // Handles are never reused, so a stale handle in a test cannot reach another key by accident.
  const Key handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, node);
  return handle;
}

bool MemoryRegistry::InjectedFailure(Operation operation, Status& status) noexcept {
  ++callCounts_[static_cast<std::size_t>(operation)];
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->operation != operation) continue;
    if (--it->callsLeft != 0) continue;
    status = it->status;
    failures_.erase(it);
    return true;
  }
  return false;
}

void MemoryRegistry::FailNthCall(Operation operation, std::uint32_t nth, Status status) {
  if (nth == 0) throw std::invalid_argument("FailNthCall counts calls from 1");
  failures_.push_back({operation, nth, status});
}

Status MemoryRegistry::OpenKey(Key parent, const std::string& name, Key& out) noexcept {
  return Open(Operation::OpenKey, parent, name, LastLink::kFollow, out);
}

Status MemoryRegistry::OpenLink(Key parent, const std::string& name, Key& out) noexcept {
  return Open(Operation::OpenLink, parent, name, LastLink::kOpen, out);
}

Status MemoryRegistry::Open(Operation operation, Key parent, const std::string& name, LastLink last,
                            Key& out) noexcept {
  out = 0;
  Status injected = kSuccess;
  if (InjectedFailure(operation, injected)) return injected;
  try {
    return OpenBelow(parent, name, last, out);
  } catch (...) {
    out = 0;
    return kBadDatabase;
  }
}

Status MemoryRegistry::OpenBelow(Key parent, const std::string& name, LastLink last, Key& out) {
  Node* node = Resolve(parent);
  if (node == nullptr) return kInvalidHandle;
  // An empty name gives back the very handle passed in, even that of a deleted key; nothing new is opened.
  if (name.empty()) {
    out = parent;
    return kSuccess;
  }
  if (node->deleted) return kKeyDeleted;
  std::vector<std::string> components;
  if (const Status status = SplitSubkeyPath(name, components); status != kSuccess) return status;
  NodePtr found;
  int hops = 0;
  if (const Status status = Descend(SharedNode(parent), components, last, found, hops); status != kSuccess) {
    return status;
  }
  out = AddHandle(found);
  return kSuccess;
}

Status MemoryRegistry::Descend(NodePtr node, const std::vector<std::string>& components, LastLink last,
                               NodePtr& out, int& hops) const {
  for (const auto& component : components) {
    // A name below a link, also below a handle opened on the link itself, is looked for where the link leads.
    if (const Status status = FollowLinks(node, hops); status != kSuccess) return status;
    const auto found = node->subkeys.find(Fold(component));
    if (found == node->subkeys.end()) return kFileNotFound;
    node = found->second;
  }
  if (last == LastLink::kFollow) {
    if (const Status status = FollowLinks(node, hops); status != kSuccess) return status;
  }
  out = std::move(node);
  return kSuccess;
}

Status MemoryRegistry::FollowLinks(NodePtr& node, int& hops) const {
  while (node->link) {
    if (++hops > kMaxLinkHops) return kInvalidParameter;
    const StoredValue* value = node->FindValue(kLinkValueName);
    if (value == nullptr || value->type != kRegLink) return kFileNotFound;
    std::u16string target;
    for (std::size_t i = 0; i + 1 < value->data.size(); i += 2) {
      target.push_back(static_cast<char16_t>(value->data[i] | (value->data[i + 1] << 8)));
    }
    NodePtr next;
    if (const Status status = FindByNamespaceName(target, next, hops); status != kSuccess) return status;
    node = std::move(next);
  }
  return kSuccess;
}

Status MemoryRegistry::FindByNamespaceName(std::u16string_view name, NodePtr& out, int& hops) const {
  for (const NamespaceRoot& root : kNamespaceRoots) {
    const std::u16string_view rootName = root.name;
    if (name.size() < rootName.size() || !EqualWithoutAsciiCase(name.substr(0, rootName.size()), rootName)) continue;
    const std::u16string_view rest = name.substr(rootName.size());
    if (!rest.empty() && rest.front() != u'\\') continue;
    std::vector<std::string> components;
    for (std::size_t start = 1; start <= rest.size();) {
      std::size_t end = rest.find(u'\\', start);
      if (end == std::u16string_view::npos) end = rest.size();
      std::string component;
      for (const char16_t unit : rest.substr(start, end - start)) {
        unsigned char byte = 0;
        if (!ToCodePage1252(unit, byte)) return kFileNotFound;
        component.push_back(static_cast<char>(byte));
      }
      if (component.empty()) return kFileNotFound;
      components.push_back(std::move(component));
      start = end + 1;
    }
    return Descend(hives_[root.hive - kClassesRoot], components, LastLink::kFollow, out, hops);
  }
  return kFileNotFound;
}

Status MemoryRegistry::KeyName(Key key, std::u16string& name) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::KeyName, injected)) return injected;
  const Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  try {
    std::vector<const Node*> chain;
    for (; node->parent != nullptr; node = node->parent) chain.push_back(node);
    const auto hive = std::find_if(hives_.begin(), hives_.end(), [&](const NodePtr& root) { return root.get() == node; });
    const Key hiveKey = kClassesRoot + static_cast<Key>(hive - hives_.begin());
    const auto root = std::find_if(std::begin(kNamespaceRoots), std::end(kNamespaceRoots),
                                   [&](const NamespaceRoot& candidate) { return candidate.hive == hiveKey; });
    if (root == std::end(kNamespaceRoots)) return kFileNotFound;
    name = root->name;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      name.push_back(u'\\');
      for (const char byte : (*it)->name) name.push_back(FromCodePage1252(static_cast<unsigned char>(byte)));
    }
    return kSuccess;
  } catch (...) {
    return kBadDatabase;
  }
}

Status MemoryRegistry::CreateKey(Key parent, const std::string& name, Key& out) noexcept {
  out = 0;
  Status injected = kSuccess;
  if (InjectedFailure(Operation::CreateKey, injected)) return injected;
  Node* node = Resolve(parent);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  try {
    std::vector<std::string> components;
    if (const Status status = SplitSubkeyPath(name, components); status != kSuccess) return status;
    // Unlike opening, creating with an empty name gives a new handle to the same key. Links on the way, and one
    // that already has the name asked for, lead to where they point.
    NodePtr current = SharedNode(parent);
    int hops = 0;
    for (const auto& component : components) {
      if (const Status status = FollowLinks(current, hops); status != kSuccess) return status;
      current = current->AddSubkey(component);
    }
    if (!components.empty()) {
      if (const Status status = FollowLinks(current, hops); status != kSuccess) return status;
    }
    out = AddHandle(current);
    return kSuccess;
  } catch (...) {
    out = 0;
    return kBadDatabase;
  }
}

Status MemoryRegistry::CreateLink(Key parent, const std::string& name, Key& out) noexcept {
  out = 0;
  Node* node = Resolve(parent);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  try {
    std::vector<std::string> components;
    if (const Status status = SplitSubkeyPath(name, components); status != kSuccess) return status;
    if (components.empty()) return kInvalidParameter;
    const std::string leaf = components.back();
    components.pop_back();
    NodePtr where;
    int hops = 0;
    if (const Status status = Descend(SharedNode(parent), components, LastLink::kFollow, where, hops);
        status != kSuccess) {
      return status;
    }
    if (where->FindSubkey(leaf) != nullptr) return kAccessDenied;
    NodePtr link = where->AddSubkey(leaf);
    link->link = true;
    out = AddHandle(link);
    return kSuccess;
  } catch (...) {
    return kBadDatabase;
  }
}

Status MemoryRegistry::CloseKey(Key key) noexcept {
  Status injected = kSuccess;
  const bool failed = InjectedFailure(Operation::CloseKey, injected);
  if (IsPredefinedKey(key)) return failed ? injected : kSuccess;
  const Status status = handles_.erase(key) != 0 ? kSuccess : kInvalidHandle;
  return failed ? injected : status;
}

Status MemoryRegistry::EnumKey(Key key, std::uint32_t index, std::string& buffer) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::EnumKey, injected)) return injected;
  Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  const Node* subkey = node->SubkeyAt(index);
  if (subkey == nullptr) return kNoMoreItems;
  if (subkey->name.size() >= buffer.size()) return kMoreData;
  std::memcpy(buffer.data(), subkey->name.data(), subkey->name.size());
  buffer[subkey->name.size()] = '\0';
  return kSuccess;
}

Status MemoryRegistry::EnumValue(Key key, std::uint32_t index, std::string& nameBuffer, std::uint32_t& nameSize,
                                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::EnumValue, injected)) return injected;
  Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if (data != nullptr && dataSize == nullptr) return kInvalidParameter;
  if (index >= node->values.size()) return kNoMoreItems;
  const auto& [name, value] = node->values[index];
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  // Type and size are reported whatever else goes wrong.
  if (type != nullptr) *type = value.type;
  const std::uint32_t room = dataSize != nullptr ? *dataSize : 0;
  if (dataSize != nullptr) *dataSize = needed;
  // Data that does not fit fails the call before the name is looked at: the name buffer stays as it was.
  if (data != nullptr && room < needed) return kMoreData;
  if (data != nullptr && needed != 0) std::memcpy(data, value.data.data(), needed);
  const std::size_t capacity = std::min<std::size_t>(nameSize, nameBuffer.size());
  if (name.size() >= capacity) {
    // A name too long for its buffer comes back cut to fit, with its NUL, and the size left as given.
    if (capacity != 0) {
      std::memcpy(nameBuffer.data(), name.data(), capacity - 1);
      nameBuffer[capacity - 1] = '\0';
    }
    return kMoreData;
  }
  std::memcpy(nameBuffer.data(), name.data(), name.size());
  nameBuffer[name.size()] = '\0';
  nameSize = static_cast<std::uint32_t>(name.size());
  return kSuccess;
}

Status MemoryRegistry::QueryValueEx(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::QueryValueEx, injected)) return injected;
  Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if (data != nullptr && size == nullptr) return kInvalidParameter;
  const StoredValue* value = node->FindValue(name);
  if (value == nullptr) return kFileNotFound;
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  if (type != nullptr) *type = value->type;
  if (size == nullptr) return kSuccess;
  const bool fits = data == nullptr || *size >= needed;
  if (data != nullptr && fits && needed != 0) std::memcpy(data, value->data.data(), needed);
  *size = needed;
  return fits ? kSuccess : kMoreData;
}

Status MemoryRegistry::SetValueEx(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t size) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::SetValueEx, injected)) return injected;
  Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if (data == nullptr && size != 0) return kNoAccess;
  try {
    StoredValue value;
    value.type = type;
    if (size != 0) value.data.assign(data, data + size);
    node->SetValue(name, std::move(value));
    return kSuccess;
  } catch (...) {
    return kBadDatabase;
  }
}

Status MemoryRegistry::FlushKey(Key key) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::FlushKey, injected)) return injected;
  Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  return node->deleted ? kKeyDeleted : kSuccess;
}

Status MemoryRegistry::DeleteKey(Key parent, const std::string& name) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::DeleteKey, injected)) return injected;
  Node* node = Resolve(parent);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  try {
    std::vector<std::string> components;
    if (const Status status = SplitSubkeyPath(name, components); status != kSuccess) return status;
    // An empty name deletes the key the handle is open on; a hive cannot be deleted.
    if (components.empty()) {
      if (node->parent == nullptr) return kAccessDenied;
      if (!node->subkeys.empty()) return kAccessDenied;
      node->parent->RemoveSubkey(node->name);
      return kSuccess;
    }
    // A link named here is followed: the key it leads to is the one deleted, as the platform does.
    NodePtr doomed;
    int hops = 0;
    if (const Status status = Descend(SharedNode(parent), components, LastLink::kFollow, doomed, hops);
        status != kSuccess) {
      return status;
    }
    if (doomed->parent == nullptr || !doomed->subkeys.empty()) return kAccessDenied;
    doomed->parent->RemoveSubkey(doomed->name);
    return kSuccess;
  } catch (...) {
    return kBadDatabase;
  }
}

Status MemoryRegistry::DeleteValue(Key key, const std::string& name) noexcept {
  Status injected = kSuccess;
  if (InjectedFailure(Operation::DeleteValue, injected)) return injected;
  Node* node = Resolve(key);
  if (node == nullptr) return kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  return node->RemoveValue(name) ? kSuccess : kFileNotFound;
}

// Fixture helpers.

MemoryRegistry::Node* MemoryRegistry::NodeAt(const std::string& path, bool create) const {
  const auto slash = path.find('\\');
  std::string hive = path.substr(0, slash);
  std::transform(hive.begin(), hive.end(), hive.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; });
  const HiveName* row = std::find_if(std::begin(kHiveNames), std::end(kHiveNames),
                                     [&](const HiveName& candidate) { return hive == candidate.name; });
  if (row == std::end(kHiveNames)) throw std::invalid_argument("unknown hive in path: " + path);
  Node* node = hives_[row->handle - kClassesRoot].get();
  if (slash == std::string::npos) return node;
  std::vector<std::string> components;
  if (SplitSubkeyPath(path.substr(slash + 1), components) != kSuccess) {
    throw std::invalid_argument("malformed path: " + path);
  }
  for (const auto& component : components) {
    // The helpers name keys as they are stored; nothing lies below a link itself.
    if (node->link && create) throw std::invalid_argument("path goes through a link: " + path);
    Node* next = create ? node->AddSubkey(component).get() : node->FindSubkey(component);
    if (next == nullptr) return nullptr;
    node = next;
  }
  return node;
}

std::u16string MemoryRegistry::NamespaceNameOf(const std::string& path) const {
  std::u16string name;
  if (!path.empty() && path.front() == '\\') {
    for (const char byte : path) name.push_back(FromCodePage1252(static_cast<unsigned char>(byte)));
    return name;
  }
  const auto slash = path.find('\\');
  // The hive part is read as Put reads it; the rest is taken as it stands.
  const Node* root = NodeAt(path.substr(0, slash), false);
  const auto hiveIt = std::find_if(hives_.begin(), hives_.end(), [&](const NodePtr& candidate) {
    return candidate.get() == root;
  });
  const Key hiveKey = kClassesRoot + static_cast<Key>(hiveIt - hives_.begin());
  const auto rootName = std::find_if(std::begin(kNamespaceRoots), std::end(kNamespaceRoots),
                                     [&](const NamespaceRoot& candidate) { return candidate.hive == hiveKey; });
  if (rootName == std::end(kNamespaceRoots)) throw std::invalid_argument("no link leads into the hive of " + path);
  name = rootName->name;
  if (slash == std::string::npos) return name;
  for (const char byte : path.substr(slash)) name.push_back(FromCodePage1252(static_cast<unsigned char>(byte)));
  return name;
}

void MemoryRegistry::Put(const std::string& path) { static_cast<void>(NodeAt(path, true)); }

void MemoryRegistry::PutLink(const std::string& path, const std::string& target) {
  const std::u16string targetName = NamespaceNameOf(target);
  const auto slash = path.rfind('\\');
  if (slash == std::string::npos) throw std::invalid_argument("a hive cannot be a link: " + path);
  Node* parent = NodeAt(path.substr(0, slash), true);
  const std::string name = path.substr(slash + 1);
  if (parent->FindSubkey(name) != nullptr) throw std::invalid_argument("key exists already: " + path);
  Node* link = parent->AddSubkey(name).get();
  link->link = true;
  std::vector<std::uint8_t> bytes;
  for (const char16_t unit : targetName) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  link->SetValue(kLinkValueName, StoredValue{kRegLink, std::move(bytes)});
}

void MemoryRegistry::PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& bytes) {
  NodeAt(path, true)->SetValue(name, StoredValue{type, bytes});
}

void MemoryRegistry::PutString(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  PutValue(path, name, kRegSz, bytes);
}

void MemoryRegistry::PutDword(const std::string& path, const std::string& name, std::uint32_t number) {
  PutValue(path, name, kRegDword,
           {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)});
}

void MemoryRegistry::PutBinary(const std::string& path, const std::string& name,
                               const std::vector<std::uint8_t>& bytes) {
  PutValue(path, name, kRegBinary, bytes);
}

bool MemoryRegistry::KeyExists(const std::string& path) const { return NodeAt(path, false) != nullptr; }

std::optional<StoredValue> MemoryRegistry::GetValue(const std::string& path, const std::string& name) const {
  const Node* node = NodeAt(path, false);
  if (node == nullptr) return std::nullopt;
  const StoredValue* value = node->FindValue(name);
  if (value == nullptr) return std::nullopt;
  return *value;
}

std::vector<std::string> MemoryRegistry::SubkeyNames(const std::string& path) const {
  std::vector<std::string> names;
  const Node* node = NodeAt(path, false);
  if (node == nullptr) return names;
  for (const auto& entry : node->subkeys) names.push_back(entry.second->name);
  return names;
}

}  // namespace quillon::registry
