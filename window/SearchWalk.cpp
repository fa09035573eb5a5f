#include "window/SearchWalk.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "registry/modRegistry.h"
#include "runtime/strings/TextFunctions.h"
#include "window/frmRegEdit.h"

// How the walk reaches each key: every subkey is opened below its parent, which is already open, instead of
// resolving its whole path from the hive again. That is one registry call per key instead of one per path
// component, and it tells exactly whether the key itself opened: a path resolved from the hive would quietly stop
// at the deepest ancestor that opens, and the walk would then list that ancestor's contents under the child's path.
//
// Links. A subkey is opened with OpenLink, which opens a link itself instead of the key it leads to, at the cost
// of an ordinary open. A link holds one value, its target, so the first value read tells a link apart; with Values
// or Data checked that value is read anyway, and only with Keys alone does telling cost a call, per key without
// subkeys (a link has none). A link is
// opened again by name, which follows it, and its key's name in the registry's namespace is asked (two calls per
// link). It is entered, walked under its own path, unless
//   - that key is on the way down from the start key, or above one: walking it would walk that key again, and
//     through the same link again, without end; or
//   - a link to the same key was entered before in this walk: links may lead into one subtree from many places, and
//     entering every one of them could take exponential time. The first one met lists the subtree.
// Either way the link is listed as a key of its parent, with nothing below it. Every key on the way down is either
// below the last link entered or below the start key, so it is named by that key's name and the path after it: no
// call per key is needed to know the way down.

namespace quillon {

namespace {

// Names come back in a buffer of 250 blanks; the platform writes the name and its NUL into the front of it.
constexpr std::uint32_t kNameBufferSize = 250;
// Data of this size or less comes back with the value's name in one call; larger data takes two more calls. Values
// of a few kilobytes are common enough that a 4 KB buffer made a search with "Data" a quarter slower.
constexpr std::size_t kDataBufferSize = 64 * 1024;

/// Where the first byte other than a blank is, or npos. Every list ends with a call that leaves its buffer all
/// blanks, so the whole buffer is looked at once per key and list: compared with blanks a whole block at a time,
/// which the library does many bytes at once.
std::size_t FirstNonBlank(const std::string& buffer) {
  static constexpr std::array<char, 256> kBlanks = [] {
    std::array<char, 256> blanks{};
    for (char& blank : blanks) blank = ' ';
    return blanks;
  }();
  std::size_t at = 0;
  while (at < buffer.size()) {
    const std::size_t block = std::min(kBlanks.size(), buffer.size() - at);
    if (std::memcmp(buffer.data() + at, kBlanks.data(), block) != 0) break;
    at += block;
  }
  for (; at < buffer.size(); ++at) {
    if (buffer[at] != ' ') return at;
  }
  return std::string::npos;
}

/// The entry name in a name buffer: blanks trimmed at both ends, then cut at the first NUL. False when the buffer
/// is still all blanks, which means the call delivered no entry. Blank is the same byte in every ANSI code page and
/// NUL is never the second byte of a double-byte character, so this works on the bytes as well as on the text.
/// A NUL after the first non-blank ends the name there (blanks before it are part of the name, as a trim of the
/// whole buffer leaves them); only a buffer without one is trimmed at its end, which spares a scan over the blanks
/// behind every name.
bool TakeName(const std::string& buffer, std::string_view& name) {
  const auto first = FirstNonBlank(buffer);
  if (first == std::string::npos) return false;
  const auto nul = buffer.find('\0', first);
  const auto end = nul != std::string::npos ? nul : buffer.find_last_not_of(' ') + 1;
  name = std::string_view(buffer).substr(first, end - first);
  return true;
}

bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t unit) { return static_cast<unsigned>(unit) < 0x80; });
}

wchar_t FoldAscii(wchar_t unit) { return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit + 32) : unit; }

/// Whether `lowerFindText`, lower-cased ASCII, is in the ASCII `text` when A to Z count as a to z.
bool ContainsFoldingAscii(std::wstring_view text, std::wstring_view lowerFindText) {
  if (lowerFindText.size() > text.size()) return false;
  const std::size_t lastStart = text.size() - lowerFindText.size();
  for (std::size_t start = 0; start <= lastStart; ++start) {
    std::size_t i = 0;
    while (i < lowerFindText.size() && FoldAscii(text[start + i]) == lowerFindText[i]) ++i;
    if (i == lowerFindText.size()) return true;
  }
  return false;
}

// Lines wait in the walk and go to the result box in one append: before events are processed, so that whatever
// runs then sees every line found so far, at the end of the walk, and whenever this many characters wait.
constexpr std::size_t kLinesToFlush = 64 * 1024;

enum class LinkOpening { kOpenLink, kFollow };

/// Opens `nameBytes` below the open `parent`, a link itself or where it leads; 0 unless that opened a key of its
/// own. An empty name would give back the parent itself, and walking that again under a deeper path would never
/// end.
registry::Key OpenChild(registry::RegistryApi& registry, registry::Key parent, const std::string& nameBytes,
                        LinkOpening opening) {
  if (nameBytes.empty()) return 0;
  registry::Key child = 0;
  static_cast<void>(opening == LinkOpening::kOpenLink ? registry.OpenLink(parent, nameBytes, child)
                                                      : registry.OpenKey(parent, nameBytes, child));
  return child == parent ? 0 : child;
}

bool IsLinkValueName(std::string_view name) {
  const std::string_view expected = registry::kLinkValueName;
  return name.size() == expected.size() &&
         std::equal(name.begin(), name.end(), expected.begin(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? a + 32 : a) == (b >= 'A' && b <= 'Z' ? b + 32 : b);
         });
}

/// Whether `key`, opened as it stands, is a link: a key whose value SymbolicLinkValue is of the link type. One call.
bool IsLink(registry::RegistryApi& registry, registry::Key key) {
  std::uint32_t type = registry::kRegNone;
  std::uint32_t size = 0;
  return registry.QueryValueEx(key, registry::kLinkValueName, &type, nullptr, &size) == registry::kSuccess &&
         type == registry::kRegLink;
}

std::wstring Widen(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

/// Whether the lower-cased name `inner` is `outer` or lies below it.
bool IsSameOrBelow(std::wstring_view inner, std::wstring_view outer) {
  if (inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
  return inner.size() == outer.size() || inner[outer.size()] == L'\\';
}

bool Checked(const runtime::CheckBox* box) { return box->Value() == 1; }

}  // namespace

SearchWalk::SearchWalk(frmRegEdit& window, runtime::Runtime& runtime, registry::RegistryApi& registry)
    : window_(window), runtime_(runtime), registry_(registry) {}

void SearchWalk::FindKeys(const std::wstring& startPath) {
  registry::ScopedKey key(registry_, OpenOwnKey(startPath));
  if (!key) return;
  path_ = startPath;
  // Where the start key stands in the registry's namespace, so that a link back to it or above it is known. When
  // the registry cannot tell, any link could lead back, and none is entered.
  std::u16string name;
  if (registry_.KeyName(key.Get(), name) == registry::kSuccess && !name.empty()) {
    anchors_.push_back({Widen(name), path_.size()});
  }
  WalkKeys(std::move(key));
  FlushLines();
}

void SearchWalk::FindValues(const std::wstring& startPath) {
  registry::ScopedKey key(registry_, OpenOwnKey(startPath));
  if (!key) return;
  path_ = startPath;
  static_cast<void>(WalkValues(key.Get(), false));
  FlushLines();
}

registry::Key SearchWalk::OpenOwnKey(const std::wstring& path) {
  // A path that opens only an ancestor of its key must yield nothing, or the ancestor's entries would be listed
  // under the path's name.
  return registry::OpenExactKeyPath(registry_, runtime_.Text(), path);
}

void SearchWalk::WalkKeys(registry::ScopedKey start) {
  const std::size_t startLength = path_.size();
  levels_.push_back({std::move(start), startLength});
  while (!levels_.empty()) {
    Level& level = levels_.back();
    if (level.done) {
      PopLevel();
      continue;
    }
    Yield();
    keyBuffer_.assign(kNameBufferSize, ' ');
    const registry::Key key = level.key.Get();
    // Any failure ends this key's walk: the end of the list, and also a name too long for the buffer, so that
    // the siblings after such a name are not visited. The buffer is still looked at.
    if (registry_.EnumKey(key, level.nextIndex++, keyBuffer_) != registry::kSuccess) level.done = true;
    std::string_view name;
    const bool listed = TakeName(keyBuffer_, name);
    // A link has no subkeys: only a key without any may be one, and is asked. `path_` and `nameBytes_` still name
    // it, as nothing was listed since it was entered.
    if (std::exchange(level.mayBeLink, false) && !listed && IsLink(registry_, key)) {
      levels_.pop_back();
      FollowLink(levels_.back().key.Get());
      continue;
    }
    if (!listed) continue;

    // The name is converted once, onto the end of the key's path.
    path_.resize(level.pathLength);
    path_ += L'\\';
    AppendFromAnsi(name, path_);
    if (CurrentOptions().keys && Matches(std::wstring_view(path_).substr(level.pathLength + 1))) {
      AppendLine(L"Key : ", {path_});
    }

    // A subkey that does not open (access refused, or gone since it was listed) is an entry of its parent like any
    // other, but nothing below it can be walked.
    nameBytes_.assign(name);
    registry::ScopedKey child(registry_, OpenChild(registry_, key, nameBytes_, LinkOpening::kOpenLink));
    if (child) EnterSubkey(key, std::move(child));
  }
  path_.resize(startLength);
}

void SearchWalk::EnterSubkey(registry::Key parent, registry::ScopedKey child) {
  // With Values or Data checked the first value read tells a link; with Keys alone the walk finds out whether the
  // key has a subkey first, and asks only when it has none.
  const bool valuesRead = CurrentOptions().values || CurrentOptions().datas;
  if (valuesRead && WalkValues(child.Get(), true) == ValueWalk::kLink) {
    child.Close();
    FollowLink(parent);
    return;
  }
  levels_.push_back({std::move(child), path_.size(), 0, false, false, !valuesRead});
}

void SearchWalk::FollowLink(registry::Key parent) {
  // Opened again by its name, so that the platform follows it (and any link it leads to) as every other program
  // would; a link that leads nowhere, or round in a loop of links, does not open. Where it arrived is asked of the
  // registry: the target a link names may itself pass through links, and only the name of the key reached tells
  // whether that key is on the way down.
  registry::ScopedKey followed(registry_, OpenChild(registry_, parent, nameBytes_, LinkOpening::kFollow));
  if (!followed) return;
  std::u16string name;
  if (registry_.KeyName(followed.Get(), name) != registry::kSuccess || name.empty()) return;
  std::wstring loweredName = runtime_.Text().LCase(Widen(name));
  if (!MayFollow(loweredName)) return;
  enteredTargets_.push_back(std::move(loweredName));
  anchors_.push_back({Widen(name), path_.size()});
  if (CurrentOptions().values || CurrentOptions().datas) static_cast<void>(WalkValues(followed.Get(), false));
  levels_.push_back({std::move(followed), path_.size(), 0, false, true});
}

bool SearchWalk::MayFollow(const std::wstring& loweredTarget) const {
  if (anchors_.empty()) return false;
  if (std::find(enteredTargets_.begin(), enteredTargets_.end(), loweredTarget) != enteredTargets_.end()) {
    return false;
  }
  // Each key on the way down is named by the last anchor at or above it and the path after that anchor.
  std::size_t anchor = 0;
  for (const Level& level : levels_) {
    while (anchor + 1 < anchors_.size() && anchors_[anchor + 1].pathLength <= level.pathLength) ++anchor;
    const Anchor& named = anchors_[anchor];
    const std::wstring name =
        named.name + path_.substr(named.pathLength, level.pathLength - named.pathLength);
    if (IsSameOrBelow(runtime_.Text().LCase(name), loweredTarget)) return false;
  }
  return true;
}

void SearchWalk::PopLevel() {
  if (levels_.back().reachedByLink) anchors_.pop_back();
  levels_.pop_back();
}

SearchWalk::ValueWalk SearchWalk::WalkValues(registry::Key key, bool linkCheck) {
  const std::size_t pathLength = path_.size();
  ValueEntry& entry = valueEntry_;  // values are never walked inside values: one entry serves the whole walk
  registry::Status status = registry::kSuccess;
  for (std::uint32_t index = 0; status == registry::kSuccess; ++index) {
    Yield();
    // "Data" cannot change between here and the data line: nothing is processed in between.
    const bool searchData = CurrentOptions().datas;
    // With data asked for, the status is that of the data fetch: a fetch that fails still lets this value be
    // handled to its end, and then ends the walk of the key.
    status = ReadValue(key, index, searchData, entry);
    // The unnamed value comes back as a lone NUL and goes on with an empty name.
    std::string_view name;
    if (!TakeName(entry.nameBuffer, name)) continue;
    if (linkCheck && index == 0 && entry.type == registry::kRegLink && IsLinkValueName(name)) return ValueWalk::kLink;

    path_ += L'\\';
    AppendFromAnsi(name, path_);
    if (CurrentOptions().values && Matches(std::wstring_view(path_).substr(pathLength + 1))) {
      AppendLine(L"Value : ", {path_});
    }
    if (searchData) {
      // Strings and numbers are searched byte by byte as text, binary data only when asked for, other types as
      // empty text; everything from the first zero byte on is dropped (65 reads "A", 0 reads as nothing).
      std::string_view bytes;
      switch (entry.type) {
        case registry::kRegSz:
        case registry::kRegExpandSz:
        case registry::kRegDword:
        case registry::kRegDwordBigEndian:
          bytes = entry.data;
          break;
        case registry::kRegBinary:
          if (CurrentOptions().findBinary) bytes = entry.data;
          break;
        default:
          break;
      }
      bytes = bytes.substr(0, bytes.find('\0'));
      dataText_.clear();
      AppendFromAnsi(bytes, dataText_);
      if (Matches(dataText_)) AppendLine(L"Data : ", {path_, L"\\", dataText_});
    }
    path_.resize(pathLength);
  }
  return ValueWalk::kWalked;
}

registry::Status SearchWalk::ReadValue(registry::Key key, std::uint32_t index, bool withData, ValueEntry& entry) {
  entry.nameBuffer.assign(kNameBufferSize, ' ');
  entry.type = registry::kRegNone;
  entry.data = std::string_view();
  std::uint32_t nameSize = kNameBufferSize;
  std::uint32_t dataSize = 0;
  if (!withData) return registry_.EnumValue(key, index, entry.nameBuffer, nameSize, &entry.type, nullptr, &dataSize);

  // Every registry call is a round trip to the registry's keeper (tens of microseconds under Wine), so the data is
  // asked for together with the name. When it does not fit, or the name does not, the value is read the long way,
  // in the two calls whose outcome this shortcut reproduces.
  if (data_.size() < kDataBufferSize) data_.resize(kDataBufferSize);
  dataSize = static_cast<std::uint32_t>(data_.size());
  const registry::Status status =
      registry_.EnumValue(key, index, entry.nameBuffer, nameSize, &entry.type, data_.data(), &dataSize);
  if (status == registry::kMoreData) return ReadValueInTwoCalls(key, index, entry);
  if (status == registry::kSuccess) {
    const std::size_t length = std::min<std::size_t>(dataSize, data_.size());
    entry.data = std::string_view(reinterpret_cast<const char*>(data_.data()), length);
  }
  return status;
}

registry::Status SearchWalk::ReadValueInTwoCalls(registry::Key key, std::uint32_t index, ValueEntry& entry) {
  // First the name, the type and the size of the data.
  entry.nameBuffer.assign(kNameBufferSize, ' ');
  entry.type = registry::kRegNone;
  entry.data = std::string_view();
  std::uint32_t nameSize = kNameBufferSize;
  std::uint32_t dataSize = 0;
  const registry::Status status =
      registry_.EnumValue(key, index, entry.nameBuffer, nameSize, &entry.type, nullptr, &dataSize);
  std::string_view unused;
  if (!TakeName(entry.nameBuffer, unused)) return status;

  // Then the data, into a buffer one byte larger than reported, with the reported size as its size; the type and
  // size this call reports replace the first ones, and its result decides whether the walk goes on.
  std::vector<std::uint8_t>& buffer = longData_;
  buffer.assign(static_cast<std::size_t>(dataSize) + 1, 0);
  std::string fetchName(kNameBufferSize, ' ');
  std::uint32_t fetchNameSize = kNameBufferSize;
  std::uint32_t fetchSize = dataSize;
  const registry::Status fetchStatus =
      registry_.EnumValue(key, index, fetchName, fetchNameSize, &entry.type, buffer.data(), &fetchSize);
  // A value that grew in between reports more than the buffer holds; only what the buffer holds can be read.
  const std::size_t length = std::min<std::size_t>(fetchSize, buffer.size());
  entry.data = std::string_view(reinterpret_cast<const char*>(buffer.data()), length);
  return fetchStatus;
}

void SearchWalk::ReadOptions() {
  options_ = {Checked(window_.chkKeys), Checked(window_.chkValues), Checked(window_.chkDatas),
              Checked(window_.chkFindBinary), Checked(window_.chkFastFind)};
  optionsRead_ = true;
}

void SearchWalk::Yield() {
  if (CurrentOptions().fast) return;
  // Until events are due nothing is processed, so nothing the window shows or reads can change.
  if (!runtime_.EventsDue()) return;
  // Whatever runs while events are processed sees every line found so far.
  FlushLines();
  // Events may have changed the options and the search text; until events are processed again nothing can.
  if (runtime_.DoEvents()) {
    optionsRead_ = false;
    findTextRead_ = false;
  }
}

bool SearchWalk::Matches(std::wstring_view text) {
  // A change the user makes to the search text while the walk yields counts from the next comparison on. The
  // text can only change while events are processed, so it is read again after every yield that processed them
  // and not in between: reading a text box is a round trip to the window system (under Wine through the controls
  // library's subclassing, hundreds of microseconds), and a large search makes over a million comparisons.
  // Lower-casing and wrapping it are only redone when it changed.
  if (findTextRead_) return MatchesPattern(text);
  findTextRead_ = true;
  const std::wstring findText = window_.txtFind->Text();
  if (!havePattern_ || findText != lastFindText_) {
    lastFindText_ = findText;
    lowerFindText_ = runtime_.Text().LCase(findText);
    plainText_ = lowerFindText_.find_first_of(L"*?#[") == std::wstring::npos;
    const bool hasLetters = std::any_of(lowerFindText_.begin(), lowerFindText_.end(),
                                        [](wchar_t unit) { return unit >= L'a' && unit <= L'z'; });
    comparison_ = !IsAscii(lowerFindText_) ? Comparison::kLowerCased
                  : hasLetters             ? Comparison::kAsciiFold
                                           : Comparison::kAsItStands;
    pattern_ = L"*" + lowerFindText_ + L"*";
    havePattern_ = true;
  }
  return MatchesPattern(text);
}

bool SearchWalk::MatchesPattern(std::wstring_view text) const {
  // Without pattern characters, fitting "*text*" is being found inside: a plain search, the common case. Lower
  // case only ever turns letters into letters, so a search text of ASCII without letters is found in the text as
  // it stands, and ASCII letters in ASCII text need only A to Z folded.
  if (plainText_ && comparison_ == Comparison::kAsItStands) return text.find(lowerFindText_) != std::wstring::npos;
  if (plainText_ && comparison_ == Comparison::kAsciiFold && IsAscii(text)) {
    return ContainsFoldingAscii(text, lowerFindText_);
  }
  const std::wstring lowerText = runtime_.Text().LCase(std::wstring(text));
  if (plainText_) return lowerText.find(lowerFindText_) != std::wstring::npos;
  // A search text that became malformed during the walk (a list still being typed) matches nothing until it is
  // whole again; Find refuses such a text before a walk starts.
  return runtime::Like(lowerText, pattern_).value_or(false);
}

void SearchWalk::AppendFromAnsi(std::string_view bytes, std::wstring& text) const {
  // Names and data are mostly ASCII, the same characters in every ANSI code page: those are copied as they are
  // checked, and only text with other bytes goes to the platform's conversion.
  const std::size_t start = text.size();
  text.resize(start + bytes.size());
  wchar_t* out = text.data() + start;
  for (const char byte : bytes) {
    const auto unit = static_cast<unsigned char>(byte);
    if (unit >= 0x80) {
      text.resize(start);
      text += runtime_.Text().FromAnsi(std::string(bytes));
      return;
    }
    *out++ = static_cast<wchar_t>(unit);
  }
}

void SearchWalk::AppendLine(const wchar_t* label, std::initializer_list<std::wstring_view> parts) {
  lines_ += label;
  for (std::wstring_view part : parts) lines_ += part;
  lines_ += L"\r\n";
  if (lines_.size() >= kLinesToFlush) FlushLines();
}

void SearchWalk::FlushLines() {
  if (lines_.empty()) return;
  window_.txtFindList->AppendText(lines_);
  lines_.clear();
}

}  // namespace quillon
