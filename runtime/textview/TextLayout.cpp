#include "runtime/textview/TextLayout.h"

#include <utility>

namespace quillon::runtime::textview {

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

/// True when `column` is the second half of a surrogate pair.
bool InsidePair(std::wstring_view line, std::size_t column) {
  return column > 0 && column < line.size() && IsLowSurrogate(line[column]) && IsHighSurrogate(line[column - 1]);
}

enum class CharClass { kBlank, kWord, kOther };

CharClass ClassOf(wchar_t unit) {
  if (unit == L' ' || unit == L'\t') return CharClass::kBlank;
  const bool word = (unit >= L'0' && unit <= L'9') || (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z') ||
                    unit == L'_' || unit >= 0x80;
  return word ? CharClass::kWord : CharClass::kOther;
}

}  // namespace

CharWidths::CharWidths(MeasureRange measureRange, MeasureOne measureOne, int tabWidth)
    : measureRange_(std::move(measureRange)), measureOne_(std::move(measureOne)), tabWidth_(tabWidth > 0 ? tabWidth : 1) {}

int CharWidths::Of(char32_t character) {
  if (character >= 0x10000) {
    const auto found = beyondBasicPlane_.find(character);
    if (found != beyondBasicPlane_.end()) return found->second;
    return beyondBasicPlane_[character] = measureOne_(character);
  }
  std::unique_ptr<int[]>& block = blocks_[character / kBlock];
  if (!block) {
    block = std::make_unique<int[]>(kBlock);
    measureRange_(static_cast<char32_t>(character - character % kBlock), kBlock, block.get());
  }
  return block[character % kBlock];
}

int LineLayout::Advance(std::wstring_view line, std::size_t column, int x) {
  const wchar_t unit = line[column];
  if (unit == L'\t') {
    const int tab = widths_.TabWidth();
    return (x / tab + 1) * tab - x;
  }
  if (InsidePair(line, column)) return 0;
  if (IsHighSurrogate(unit) && column + 1 < line.size() && IsLowSurrogate(line[column + 1])) {
    const char32_t character = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                               (static_cast<char32_t>(line[column + 1]) - 0xDC00);
    return widths_.Of(character);
  }
  return widths_.Of(unit);
}

int LineLayout::XOf(std::wstring_view line, std::size_t column) {
  int x = 0;
  const std::size_t end = column < line.size() ? column : line.size();
  for (std::size_t i = 0; i < end; ++i) x += Advance(line, i, x);
  return x;
}

std::size_t LineLayout::ColumnAt(std::wstring_view line, int x) {
  int left = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const int advance = Advance(line, i, left);
    if (advance == 0) continue;
    if (x < left + advance / 2 + advance % 2) return i;
    left += advance;
  }
  return line.size();
}

std::size_t LineLayout::FirstColumnReaching(std::wstring_view line, int x, int& startX) {
  int left = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const int advance = Advance(line, i, left);
    if (left + advance > x && !InsidePair(line, i)) {
      startX = left;
      return i;
    }
    left += advance;
  }
  startX = left;
  return line.size();
}

std::size_t SnapToBoundary(const TextDocument& document, std::size_t position) {
  if (position >= document.Length()) return document.Length();
  const std::size_t line = document.LineOf(position);
  if (position > document.LineEnd(line)) return document.LineEnd(line);  // the LF of the CR LF
  const std::wstring_view text = document.LineText(line);
  const std::size_t column = position - document.LineStart(line);
  return InsidePair(text, column) ? position - 1 : position;
}

std::size_t NextPosition(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  if (position >= document.Length()) return document.Length();
  const std::size_t line = document.LineOf(position);
  if (position == document.LineEnd(line)) return document.LineStart(line + 1);
  const std::wstring_view text = document.LineText(line);
  const std::size_t column = position - document.LineStart(line);
  return position + (InsidePair(text, column + 1) ? 2 : 1);
}

std::size_t PreviousPosition(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  if (position == 0) return 0;
  const std::size_t line = document.LineOf(position);
  if (position == document.LineStart(line)) return document.LineEnd(line - 1);
  const std::wstring_view text = document.LineText(line);
  const std::size_t column = position - document.LineStart(line);
  return position - (InsidePair(text, column - 1) ? 2 : 1);
}

std::size_t NextWordStart(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  const std::wstring_view text = document.LineText(line);
  std::size_t column = position - start;
  if (column == text.size()) return NextPosition(document, position);
  while (column < text.size() && ClassOf(text[column]) != CharClass::kBlank) ++column;
  while (column < text.size() && ClassOf(text[column]) == CharClass::kBlank) ++column;
  return start + column;
}

std::size_t PreviousWordStart(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  const std::wstring_view text = document.LineText(line);
  std::size_t column = position - start;
  if (column == 0) return PreviousPosition(document, position);
  while (column > 0 && ClassOf(text[column - 1]) == CharClass::kBlank) --column;
  while (column > 0 && ClassOf(text[column - 1]) != CharClass::kBlank) --column;
  return start + column;
}

std::pair<std::size_t, std::size_t> WordAround(const TextDocument& document, std::size_t position) {
  position = SnapToBoundary(document, position);
  const std::size_t line = document.LineOf(position);
  const std::size_t start = document.LineStart(line);
  const std::wstring_view text = document.LineText(line);
  if (text.empty()) return {position, position};
  std::size_t column = position - start;
  if (column == text.size()) --column;  // after the last character: the word it ends
  const CharClass kind = ClassOf(text[column]);
  std::size_t first = column;
  std::size_t last = column + 1;
  while (first > 0 && ClassOf(text[first - 1]) == kind) --first;
  while (last < text.size() && ClassOf(text[last]) == kind) ++last;
  return {start + first, start + last};
}

}  // namespace quillon::runtime::textview
