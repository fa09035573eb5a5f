#include "runtime/textview/CaretStops.h"

#include <algorithm>
#include <iterator>

#include "support/Utf16.h"

namespace quillon::runtime::textview {

namespace {

using support::CombineSurrogates;
using support::IsHighSurrogate;
using support::IsLowSurrogate;

constexpr char32_t kZeroWidthJoiner = 0x200D;

bool IsLineBreak(char32_t character) { return character == L'\r' || character == L'\n'; }
bool IsRegionalIndicator(char32_t character) { return character >= 0x1F1E6 && character <= 0x1F1FF; }

/// True when `column` is the second half of a surrogate pair.
bool InsidePair(std::wstring_view line, std::size_t column) {
  return column > 0 && column < line.size() && IsLowSurrogate(line[column]) && IsHighSurrogate(line[column - 1]);
}

/// The code point that starts at `column` (a lone surrogate stands for itself).
char32_t CodePointAt(std::wstring_view line, std::size_t column) {
  const wchar_t unit = line[column];
  if (IsHighSurrogate(unit) && column + 1 < line.size() && IsLowSurrogate(line[column + 1])) {
    return CombineSurrogates(unit, line[column + 1]);
  }
  return static_cast<char32_t>(unit);
}

/// The code point that ends just before `column` (> 0).
char32_t CodePointBefore(std::wstring_view line, std::size_t column) {
  if (column >= 2 && IsLowSurrogate(line[column - 1]) && IsHighSurrogate(line[column - 2])) {
    return CombineSurrogates(line[column - 2], line[column - 1]);
  }
  return static_cast<char32_t>(line[column - 1]);
}

/// Regional indicators pair off from the first of a run: a stop falls between two only after an even count.
bool EvenIndicatorsBefore(std::wstring_view line, std::size_t column) {
  std::size_t count = 0;
  for (; column >= 2 && IsRegionalIndicator(CodePointBefore(line, column)); column -= 2) ++count;
  return count % 2 == 0;
}

/// True when the line break after `line` starts with the line's last CR (a CR CR LF): the caret passes it whole.
bool BreakTakesLastCr(const TextDocument& document, std::size_t line) {
  if (document.GetLineBreaks() != LineBreaks::kCrLf || line + 1 >= document.LineCount()) return false;
  const std::wstring_view text = document.LineText(line);
  return !text.empty() && text.back() == L'\r';
}

struct CodePointRange {
  char32_t first;
  char32_t last;
};

// Nonspacing and enclosing marks of the scripts a registry's texts are most often written in, and the variation
// selectors; sorted, for a binary search.
constexpr CodePointRange kCombiningMarks[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xE0100, 0xE01EF},
};

bool SoftBreakBefore(const TextDocument& document, std::size_t position, const SoftBreaksOfLine& breaks) {
  const std::size_t line = document.LineOf(position);
  const std::size_t column = position - document.LineStart(line);
  const std::vector<bool>& flags = breaks(line);
  return column < flags.size() && flags[column];
}

// A break the line breaker puts inside a cluster (before the selector of a joined emoji, say) moves to the
// cluster's edge in the direction of the move: the caret never stands inside one.

/// The last soft break before `position` on its line, or the line's start: the platform's word break procedure is
/// given one line, so from a line's start a word starts there.
std::size_t BreakBefore(const TextDocument& document, std::size_t position, const SoftBreaksOfLine& breaks) {
  const std::size_t lineStart = document.LineStart(document.LineOf(position));
  if (position <= lineStart) return position;
  std::size_t at = position - 1;
  while (at > lineStart && !SoftBreakBefore(document, at, breaks)) --at;
  return SnapToCaretStop(document, at);
}

/// The first soft break from `position` on, at most `lineEnd`.
std::size_t BreakFrom(const TextDocument& document, std::size_t position, std::size_t lineEnd,
                      const SoftBreaksOfLine& breaks) {
  const std::size_t end = std::min(lineEnd, document.Length());
  std::size_t at = position;
  while (at < end && !SoftBreakBefore(document, at, breaks)) ++at;
  return at < end && !IsCaretStop(document, at) ? NextCaretStop(document, at) : at;
}

}  // namespace

bool IsCombiningMark(char32_t character) noexcept {
  const auto after = std::upper_bound(std::begin(kCombiningMarks), std::end(kCombiningMarks), character,
                                      [](char32_t value, const CodePointRange& range) { return value < range.first; });
  return after != std::begin(kCombiningMarks) && character <= (after - 1)->last;
}

bool IsClusterStart(std::wstring_view line, std::size_t column) noexcept {
  if (column == 0 || column >= line.size()) return true;
  if (InsidePair(line, column)) return false;
  const char32_t before = CodePointBefore(line, column);
  const char32_t here = CodePointAt(line, column);
  if (IsLineBreak(before) || IsLineBreak(here)) return true;
  if (IsCombiningMark(here) || here == kZeroWidthJoiner || before == kZeroWidthJoiner) return false;
  return !(IsRegionalIndicator(here) && IsRegionalIndicator(before)) || EvenIndicatorsBefore(line, column);
}

std::size_t NextClusterStart(std::wstring_view line, std::size_t column) noexcept {
  if (column >= line.size()) return line.size();
  do ++column;
  while (!IsClusterStart(line, column));
  return column;
}

std::size_t PreviousClusterStart(std::wstring_view line, std::size_t column) noexcept {
  if (column == 0) return 0;
  column = std::min(column, line.size());
  do --column;
  while (!IsClusterStart(line, column));
  return column;
}

bool IsCaretStop(const TextDocument& document, std::size_t position) noexcept {
  if (position == 0 || position >= document.Length()) return true;
  const std::size_t line = document.LineOf(position);
  const std::wstring_view text = document.LineText(line);
  const std::size_t column = position - document.LineStart(line);
  if (column > text.size()) return false;  // between the CR and the LF
  if (column == text.size()) return !BreakTakesLastCr(document, line);
  return IsClusterStart(text, column);
}

std::size_t NextCaretStop(const TextDocument& document, std::size_t position) noexcept {
  if (position >= document.Length()) return document.Length();
  do ++position;
  while (!IsCaretStop(document, position));
  return position;
}

std::size_t PreviousCaretStop(const TextDocument& document, std::size_t position) noexcept {
  position = std::min(position, document.Length());
  if (position == 0) return 0;
  do --position;
  while (!IsCaretStop(document, position));
  return position;
}

std::size_t SnapToCaretStop(const TextDocument& document, std::size_t position) noexcept {
  position = std::min(position, document.Length());
  while (!IsCaretStop(document, position)) --position;
  return position;
}

std::size_t PreviousCodePoint(const TextDocument& document, std::size_t position) noexcept {
  position = std::min(position, document.Length());
  if (position == 0) return 0;
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  if (position == start) return LineEndStop(document, line - 1);
  if (position > document.LineEnd(line)) return document.LineEnd(line);  // between the CR and the LF
  return InsidePair(document.LineText(line), position - start - 1) ? position - 2 : position - 1;
}

std::size_t LineEndStop(const TextDocument& document, std::size_t line) noexcept {
  return document.LineEnd(line) - (BreakTakesLastCr(document, line) ? 1 : 0);
}

std::size_t WordLeft(const TextDocument& document, std::size_t caret, const SoftBreaksOfLine& breaks) {
  caret = std::min(caret, document.Length());
  const std::size_t line = document.LineOf(caret);
  if (caret != document.LineStart(line)) return BreakBefore(document, caret, breaks);
  return line > 0 ? LineEndStop(document, line - 1) : caret;
}

std::size_t WordRight(const TextDocument& document, std::size_t caret, const SoftBreaksOfLine& breaks) {
  caret = std::min(caret, document.Length());
  const std::size_t line = document.LineOf(caret);
  const std::size_t end = LineEndStop(document, line);
  if (caret < end) return BreakFrom(document, caret + 1, end, breaks);
  return line + 1 < document.LineCount() ? document.LineStart(line + 1) : caret;
}

std::pair<std::size_t, std::size_t> WordAround(const TextDocument& document, std::size_t caret,
                                               const SoftBreaksOfLine& breaks) {
  caret = std::min(caret, document.Length());
  const std::size_t lineEnd = LineEndStop(document, document.LineOf(caret));
  return {BreakBefore(document, caret, breaks), BreakFrom(document, caret, lineEnd, breaks)};
}

}  // namespace quillon::runtime::textview
