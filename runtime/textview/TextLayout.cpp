#include "runtime/textview/TextLayout.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "support/Utf16.h"

namespace quillon::runtime::textview {

namespace {

using support::CombineSurrogates;
using support::IsHighSurrogate;
using support::IsLowSurrogate;

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

/// The code point that ends just before `column`.
char32_t CodePointBefore(std::wstring_view line, std::size_t column) {
  if (column >= 2 && IsLowSurrogate(line[column - 1]) && IsHighSurrogate(line[column - 2])) {
    return CombineSurrogates(line[column - 2], line[column - 1]);
  }
  return static_cast<char32_t>(line[column - 1]);
}

constexpr char32_t kZeroWidthJoiner = 0x200D;

bool IsControl(char32_t character) { return character < 0x20 || (character >= 0x7F && character < 0xA0); }

/// True when the caret may stand at `column`: not inside a pair, nor before a mark or after a joiner that continue
/// the cluster before it. Controls (a tab, a lone CR or LF) neither take marks nor join.
bool IsClusterStart(std::wstring_view line, std::size_t column) {
  if (column == 0 || column >= line.size()) return true;
  if (InsidePair(line, column)) return false;
  const char32_t before = CodePointBefore(line, column);
  const char32_t here = CodePointAt(line, column);
  if (IsControl(before) || IsControl(here)) return true;
  return !IsCombiningMark(here) && here != kZeroWidthJoiner && before != kZeroWidthJoiner;
}

std::size_t NextClusterStart(std::wstring_view line, std::size_t column) {
  if (column >= line.size()) return line.size();
  do ++column;
  while (!IsClusterStart(line, column));
  return column;
}

std::size_t PreviousClusterStart(std::wstring_view line, std::size_t column) {
  if (column == 0) return 0;
  do --column;
  while (!IsClusterStart(line, column));
  return column;
}

enum class CharClass { kBlank, kWord, kOther };

CharClass ClassOf(wchar_t unit) {
  if (unit == L' ' || unit == L'\t') return CharClass::kBlank;
  const bool word = (unit >= L'0' && unit <= L'9') || (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z') ||
                    unit == L'_' || unit >= 0x80;
  return word ? CharClass::kWord : CharClass::kOther;
}

/// A cluster is of the class of the character it starts with.
CharClass ClassAt(std::wstring_view line, std::size_t column) { return ClassOf(line[column]); }

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

}  // namespace

bool IsCombiningMark(char32_t character) noexcept {
  const auto after = std::upper_bound(std::begin(kCombiningMarks), std::end(kCombiningMarks), character,
                                      [](char32_t value, const CodePointRange& range) { return value < range.first; });
  return after != std::begin(kCombiningMarks) && character <= (after - 1)->last;
}

std::size_t CodeUnitsWithin(std::wstring_view text, std::size_t limit) noexcept {
  if (limit >= text.size()) return text.size();
  return InsidePair(text, limit) ? limit - 1 : limit;
}

CharWidths::CharWidths(MeasureRange measureRange, MeasureOne measureOne, int tabWidth)
    : measureRange_(std::move(measureRange)), measureOne_(std::move(measureOne)), tabWidth_(tabWidth > 0 ? tabWidth : 0) {}

int CharWidths::Of(char32_t character) {
  if (character >= 0x10000) {
    const auto found = beyondBasicPlane_.find(character);
    if (found != beyondBasicPlane_.end()) return found->second;
    return beyondBasicPlane_[character] = measureOne_(character);
  }
  return Block(character)[character % kBlock];
}

const int* CharWidths::Latin1() { return Block(0); }

int CharWidths::WidestLatin1() {
  if (widestLatin1_ < 0) {
    const int* latin1 = Latin1();
    widestLatin1_ = *std::max_element(latin1, latin1 + kBlock);
  }
  return widestLatin1_;
}

const int* CharWidths::Block(char32_t character) {
  std::unique_ptr<int[]>& block = blocks_[character / kBlock];
  if (!block) {
    block = std::make_unique<int[]>(kBlock);
    measureRange_(static_cast<char32_t>(character - character % kBlock), kBlock, block.get());
  }
  return block.get();
}

int LineLayout::Advance(std::wstring_view line, std::size_t column, int x) {
  const wchar_t unit = line[column];
  if (unit == L'\t') {
    // Tabs stop at every multiple of the tab width; with none (one line) a tab takes no room.
    const int tab = widths_.TabWidth();
    return tab > 0 ? (x / tab + 1) * tab - x : 0;
  }
  if (InsidePair(line, column)) return 0;
  return widths_.Of(CodePointAt(line, column));
}

int LineLayout::XOf(std::wstring_view line, std::size_t column) {
  const std::size_t end = column < line.size() ? column : line.size();
  // A search result box measures every line it is given: Latin-1 is summed straight from its table.
  const int* latin1 = widths_.Latin1();
  int x = 0;
  for (std::size_t i = 0; i < end; ++i) {
    const auto unit = static_cast<std::uint32_t>(line[i]);  // wchar_t is signed on some platforms
    x += unit <= 0xFF && unit != L'\t' ? latin1[unit] : Advance(line, i, x);
  }
  return x;
}

bool LineLayout::SurelyWithin(std::wstring_view line, int width) {
  if (static_cast<long long>(line.size()) * widths_.WidestLatin1() > width) return false;
  // Without early exits, so that the compiler checks many characters at once.
  bool other = false;
  for (const wchar_t unit : line) other |= static_cast<std::uint32_t>(unit) > 0xFF || unit == L'\t';
  return !other;
}

std::size_t LineLayout::ColumnAt(std::wstring_view line, int x) {
  int left = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t next = NextClusterStart(line, i);
    int advance = 0;
    for (std::size_t j = i; j < next; ++j) advance += Advance(line, j, left + advance);
    // A click on a character's right half, or on the edge after it, lands after it: before any characters without
    // width that follow it.
    if (advance == 0 ? x <= left : x < left + advance / 2 + advance % 2) return i;
    left += advance;
    i = next;
  }
  return line.size();
}

std::size_t LineLayout::FirstColumnReaching(std::wstring_view line, int x, int& startX) {
  int left = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t next = NextClusterStart(line, i);
    int advance = 0;
    for (std::size_t j = i; j < next; ++j) advance += Advance(line, j, left + advance);
    if (left + advance > x) {
      startX = left;
      return i;
    }
    left += advance;
    i = next;
  }
  startX = left;
  return line.size();
}

std::size_t SnapToBoundary(const TextDocument& document, std::size_t position) {
  if (position >= document.Length()) return document.Length();
  const std::size_t line = document.LineOf(position);
  if (position > document.LineEnd(line)) return document.LineEnd(line);  // the LF of the CR LF
  const std::wstring_view text = document.LineText(line);
  std::size_t column = position - document.LineStart(line);
  while (!IsClusterStart(text, column)) --column;
  return document.LineStart(line) + column;
}

std::size_t NextPosition(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  if (position >= document.Length()) return document.Length();
  const std::size_t line = document.LineOf(position);
  if (position == document.LineEnd(line)) return document.LineStart(line + 1);
  const std::size_t start = document.LineStart(line);
  return start + NextClusterStart(document.LineText(line), position - start);
}

std::size_t PreviousPosition(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  if (position == 0) return 0;
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  if (position == start) return document.LineEnd(line - 1);
  return start + PreviousClusterStart(document.LineText(line), position - start);
}

std::size_t PreviousCodePoint(const TextDocument& document, std::size_t position) {
  position = std::min(position, document.Length());
  if (position == 0) return 0;
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  if (position == start) return document.LineEnd(line - 1);
  if (position > document.LineEnd(line)) return document.LineEnd(line);  // between the CR and the LF
  const std::wstring_view text = document.LineText(line);
  const std::size_t column = position - start;
  return InsidePair(text, column - 1) ? position - 2 : position - 1;
}

std::size_t NextWordStart(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  const std::wstring_view text = document.LineText(line);
  std::size_t column = position - start;
  if (column == text.size()) return NextPosition(document, position);
  while (column < text.size() && ClassAt(text, column) != CharClass::kBlank) column = NextClusterStart(text, column);
  while (column < text.size() && ClassAt(text, column) == CharClass::kBlank) column = NextClusterStart(text, column);
  return start + column;
}

std::size_t PreviousWordStart(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  const std::wstring_view text = document.LineText(line);
  std::size_t column = position - start;
  if (column == 0) return PreviousPosition(document, position);
  const auto previousIs = [&](bool blank) {
    return column > 0 && (ClassAt(text, PreviousClusterStart(text, column)) == CharClass::kBlank) == blank;
  };
  while (previousIs(true)) column = PreviousClusterStart(text, column);
  while (previousIs(false)) column = PreviousClusterStart(text, column);
  return start + column;
}

std::pair<std::size_t, std::size_t> WordAround(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  const std::wstring_view text = document.LineText(line);
  if (text.empty()) return {position, position};
  std::size_t column = position - start;
  if (column == text.size()) column = PreviousClusterStart(text, column);  // after the last character: the word it ends
  const CharClass kind = ClassAt(text, column);
  std::size_t first = column;
  std::size_t last = NextClusterStart(text, column);
  while (first > 0 && ClassAt(text, PreviousClusterStart(text, first)) == kind) first = PreviousClusterStart(text, first);
  while (last < text.size() && ClassAt(text, last) == kind) last = NextClusterStart(text, last);
  return {start + first, start + last};
}

}  // namespace quillon::runtime::textview
