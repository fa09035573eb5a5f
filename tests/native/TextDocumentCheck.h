#pragma once
// What a text document holding a text must answer, read off a plain string: shared by the native tests and
// fuzz_text_document.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/textview/TextDocument.h"

namespace quillon::tests {

/// The first of the document's answers that differs from what `expected` gives, or "" when none does. Long texts
/// are read at every position for lines and characters, and here and there for copies.
inline std::string DocumentMismatch(const runtime::textview::TextDocument& document, const std::wstring& expected) {
  const std::size_t length = expected.size();
  if (document.Length() != length || document.Empty() != expected.empty()) return "length";
  if (document.Text() != expected) return "text";
  std::vector<std::size_t> starts{0};  // lines break at CR LF only, or not at all
  if (document.GetLineBreaks() == runtime::textview::LineBreaks::kCrLf) {
    for (std::size_t at = expected.find(L"\r\n"); at != std::wstring::npos; at = expected.find(L"\r\n", at + 1))
      starts.push_back(at + 2);
  }
  if (document.LineCount() != starts.size()) return "line count";
  for (std::size_t line = 0; line < starts.size(); ++line) {
    const std::size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : length;
    if (document.LineStart(line) != starts[line]) return "start of line " + std::to_string(line);
    if (document.LineLength(line) != end - starts[line] || document.LineEnd(line) != end) return "line length";
    if (document.LineText(line) != std::wstring_view(expected).substr(starts[line], end - starts[line]))
      return "text of line " + std::to_string(line);
  }
  const std::size_t stride = length < 4096 ? 1 : 997;
  for (std::size_t position = 0, line = 0; position <= length; ++position) {
    while (line + 1 < starts.size() && starts[line + 1] <= position) ++line;
    if (document.LineOf(position) != line) return "line of " + std::to_string(position);
    if (document.At(position) != (position < length ? expected[position] : L'\0')) return "character at";
    if (position % stride != 0) continue;
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{9}, std::size_t{300}}) {
      if (document.Substring(position, count) != expected.substr(position, count))
        return "substring at " + std::to_string(position);
    }
  }
  for (const std::size_t position : {std::size_t{0}, length / 2, length + 1}) {
    if (document.Substring(position, std::wstring::npos) != expected.substr(std::min(position, length)))
      return "substring to the end";
  }
  for (const std::size_t capacity : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{5}, length / 2,
                                     length - (length > 0), length, length + 1}) {
    std::wstring copied(capacity, L'#');
    copied.resize(document.CopyTo(copied.data(), capacity));
    if (copied != expected.substr(0, capacity)) return "copy of " + std::to_string(capacity);
  }
  return "";
}

}  // namespace quillon::tests
