#include "runtime/textview/TextLayout.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "runtime/textview/CaretStops.h"
#include "support/Utf16.h"

namespace quillon::runtime::textview {

namespace {

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
    return support::CombineSurrogates(unit, line[column + 1]);
  }
  return static_cast<char32_t>(unit);
}

}  // namespace

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

}  // namespace quillon::runtime::textview
