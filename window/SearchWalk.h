#pragma once
/// The search walk behind AddFindKeys and AddFindValues: a depth-first walk over the registry below a start path
/// that matches key names, value names and value data against the search text and appends one result line per hit.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryApi.h"
#include "runtime/Runtime.h"

namespace quillon {

class frmRegEdit;

/// One walk's working state. A Find started while another one yields gets its own walk, so nothing here is shared
/// between the two; options and the search text are still read from the window's controls at every entry.
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
  void WalkKeys(registry::Key key, const std::wstring& path);
  void WalkValues(registry::Key key, const std::wstring& path);

  struct ValueEntry;
  [[nodiscard]] registry::Status ReadValue(registry::Key key, std::uint32_t index, bool withData, ValueEntry& entry);
  [[nodiscard]] registry::Status ReadValueInTwoCalls(registry::Key key, std::uint32_t index, ValueEntry& entry);

  /// The check boxes the walk reads at every entry. They can change only while events are processed, so they are
  /// read again only after a yield that processed some: a check box's state is a round trip to its window.
  struct Options {
    bool keys, values, datas, findBinary, fast;
  };
  const Options& CurrentOptions();

  void Yield();
  [[nodiscard]] bool Matches(const std::wstring& text);
  [[nodiscard]] bool MatchesPattern(const std::wstring& text) const;
  /// Appends the label, the parts joined as they stand, and CR LF.
  void AppendLine(const wchar_t* label, std::initializer_list<std::wstring_view> parts);

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
  std::wstring pattern_;

  // Data of most values fits here, so one enumeration call per value brings name, type and data together.
  std::vector<std::uint8_t> data_;
};

}  // namespace quillon
