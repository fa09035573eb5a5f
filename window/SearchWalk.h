#pragma once
/// The search walk behind AddFindKeys and AddFindValues: a depth-first walk over the registry below a start path
/// that matches key names, value names and value data against the search text and appends one result line per hit.
/// The registry is a graph, not a tree: links may lead anywhere, back to a key the walk came by too, so the walk
/// tells links apart and decides which to enter (see SearchWalk.cpp).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryApi.h"
#include "registry/ScopedKey.h"
#include "runtime/Runtime.h"

namespace quillon {

class frmRegEdit;

/// One walk's working state. A Find started while another one yields gets its own walk, so nothing here is shared
/// between the two; options and the search text are still read from the window's controls at every entry. Result
/// lines wait in the walk and reach the result box in one append whenever events are about to be processed, and at
/// the end: every line found before an event is in the box when the event is handled.
class SearchWalk {
 public:
  SearchWalk(frmRegEdit& window, runtime::Runtime& runtime, registry::RegistryApi& registry);

  /// Lists the matching keys below `startPath` (and their values, when Values or Data is checked).
  void FindKeys(const std::wstring& startPath);
  /// Lists the matching values of the key `startPath` itself.
  void FindValues(const std::wstring& startPath);

 private:
  /// Opens the key the path names, or returns 0 when any part of it does not open: a search must never list the
  /// contents of an ancestor under a deeper path.
  [[nodiscard]] registry::Key OpenOwnKey(const std::wstring& path);
  /// Walks the subtree below `start`, whose path `path_` holds, and leaves `path_` as it found it. Depth first, with
  /// the keys on the way held in `levels_`, so that no depth of the registry can exhaust the thread's stack.
  void WalkKeys(registry::ScopedKey start);
  /// Lists the values of a subkey just opened with OpenLink, or follows it when it turns out to be a link, and then
  /// puts it on the way down.
  void EnterSubkey(registry::Key parent, registry::ScopedKey child);
  /// Enters the link named `nameBytes_` below `parent`, unless where it leads may not be entered.
  void FollowLink(registry::Key parent);
  /// Whether a link leading to the key named `loweredTarget` may be entered: not when that key is on the way down or
  /// above one, and not when a link to it was entered before in this walk.
  [[nodiscard]] bool MayFollow(const std::wstring& loweredTarget) const;
  void PopLevel();

  enum class ValueWalk { kWalked, kLink };
  /// Walks the values of the key whose path `path_` holds. With `linkCheck`, a key whose first value is a link's
  /// target is reported as a link, with nothing listed; the first value is read in any case, so this costs nothing.
  ValueWalk WalkValues(registry::Key key, bool linkCheck);

  struct ValueEntry {
    std::string nameBuffer;
    std::uint32_t type = registry::kRegNone;
    std::string_view data;  // the bytes the data fetch brought, at most as many as it reported, in a walk's buffer
  };
  [[nodiscard]] registry::Status ReadValue(registry::Key key, std::uint32_t index, bool withData, ValueEntry& entry);
  [[nodiscard]] registry::Status ReadValueInTwoCalls(registry::Key key, std::uint32_t index, ValueEntry& entry);

  /// The check boxes the walk reads at every entry. They can change only while events are processed, so they are
  /// read again only after a yield that processed some: a check box's state is a round trip to its window.
  struct Options {
    bool keys, values, datas, findBinary, fast;
  };
  const Options& CurrentOptions() {
    if (!optionsRead_) ReadOptions();
    return options_;
  }
  void ReadOptions();

  void Yield();
  [[nodiscard]] bool Matches(std::wstring_view text);
  [[nodiscard]] bool MatchesPattern(std::wstring_view text) const;
  /// Appends the characters of `bytes`, text in the ANSI code page, to `text`.
  void AppendFromAnsi(std::string_view bytes, std::wstring& text) const;
  /// Adds the label, the parts joined as they stand, and CR LF to the lines waiting for the result box.
  void AppendLine(const wchar_t* label, std::initializer_list<std::wstring_view> parts);
  /// Hands the waiting lines to the result box in one append.
  void FlushLines();

  frmRegEdit& window_;
  runtime::Runtime& runtime_;
  registry::RegistryApi& registry_;

  bool optionsRead_ = false;  // read since events were last processed
  Options options_{};

  // The search text as last read and the pattern made from it; rebuilt whenever the text read differs.
  bool findTextRead_ = false;  // read since events were last processed
  bool havePattern_ = false;
  std::wstring lastFindText_;
  std::wstring lowerFindText_;
  bool plainText_ = false;  // no pattern characters: a substring test gives the same answer as the match
  /// How a plain search text meets a name or data text without lower-casing a copy of it: as it stands when the
  /// search text has nothing that lower-casing could produce from another character (ASCII other than letters),
  /// by folding A to Z on the fly when both are ASCII, and otherwise through the platform's lower case.
  enum class Comparison { kAsItStands, kAsciiFold, kLowerCased };
  Comparison comparison_ = Comparison::kLowerCased;
  std::wstring pattern_;

  /// A key on the way down: it is open while its subkeys are walked.
  struct Level {
    registry::ScopedKey key;
    std::size_t pathLength;  // `path_` cut to this length is the key's path
    std::uint32_t nextIndex = 0;
    bool done = false;
    bool reachedByLink = false;  // its name in the registry's namespace is `anchors_.back()`
    bool mayBeLink = false;      // opened as it stands and not yet known to have a subkey
  };
  /// The name in the registry's namespace of a key on the way down whose path `path_` holds up to `pathLength`: the
  /// start key and every key reached through a link. The keys below it are named by the path after that point.
  struct Anchor {
    std::wstring name;
    std::size_t pathLength;
  };
  std::vector<Level> levels_;
  std::vector<Anchor> anchors_;
  std::vector<std::wstring> enteredTargets_;  // lower-cased targets of the links entered so far

  std::wstring path_;       // the path of the key being walked, and then of its entry
  std::wstring lines_;      // result lines not yet in the result box
  std::wstring dataText_;   // the data of the value being looked at, as text
  std::string nameBytes_;   // the name of the subkey to open, in the ANSI code page
  std::string keyBuffer_;   // the buffer subkey names come back in
  ValueEntry valueEntry_;   // the value being looked at

  // Data of most values fits here, so one enumeration call per value brings name, type and data together.
  std::vector<std::uint8_t> data_;
  // Data too large for that comes here, in two more calls.
  std::vector<std::uint8_t> longData_;
};

}  // namespace quillon
