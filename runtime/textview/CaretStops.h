#pragma once
/// Where the caret may stand and where words start and end: the one rule the keys, the mouse, the drawing and the
/// double-click share.
///
/// A cluster is what the caret never enters: a surrogate pair; a character with the combining marks and variation
/// selectors after it; characters a zero-width joiner joins (a woman, a joiner and a laptop are one emoji); a pair of
/// regional indicators (a flag). A line break takes no marks and joins nothing. In a multi-line document a CR LF
/// ending a line is passed in one step, and so is the CR before it (CR CR LF, the platform's soft line break).

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>
#include <string_view>

#include "runtime/textview/TextDocument.h"

namespace quillon::runtime::textview {

/// True for a nonspacing or enclosing mark or a variation selector: it belongs to the character before it.
bool IsCombiningMark(char32_t character) noexcept;

/// True when the caret may stand before `column` of a line's text: the line's ends always, never inside a cluster.
bool IsClusterStart(std::wstring_view line, std::size_t column) noexcept;
std::size_t NextClusterStart(std::wstring_view line, std::size_t column) noexcept;
std::size_t PreviousClusterStart(std::wstring_view line, std::size_t column) noexcept;

/// True when the caret may stand at `position` of the document.
bool IsCaretStop(const TextDocument& document, std::size_t position) noexcept;
/// The first stop after `position` (Right, Delete) and the last one before it (Left); the text's ends stay.
std::size_t NextCaretStop(const TextDocument& document, std::size_t position) noexcept;
std::size_t PreviousCaretStop(const TextDocument& document, std::size_t position) noexcept;
/// The stop at or before `position`.
std::size_t SnapToCaretStop(const TextDocument& document, std::size_t position) noexcept;
/// Where Backspace deletes back to: one code point (a mark of a cluster alone, a surrogate pair whole), or a whole
/// line break of a multi-line document.
std::size_t PreviousCodePoint(const TextDocument& document, std::size_t position) noexcept;

/// The last stop of a line: its end, before the CR of a CR CR LF ending it.
std::size_t LineEndStop(const TextDocument& document, std::size_t line) noexcept;

/// Where the platform's line breaker lets a line break (ScriptBreak's fSoftBreak): for a line of the document, one
/// flag per code unit of its text, true before a unit that may start a new line. Word moves follow these, as the
/// platform's edit control's do; one inside a cluster counts at the cluster's edge.
using SoftBreaksOfLine = std::function<const std::vector<bool>&(std::size_t line)>;

/// Ctrl+Left and Ctrl+Right: to the last soft break before the caret or the first after the character at it; at a
/// line's start or end first to the other side of the line break.
std::size_t WordLeft(const TextDocument& document, std::size_t caret, const SoftBreaksOfLine& breaks);
std::size_t WordRight(const TextDocument& document, std::size_t caret, const SoftBreaksOfLine& breaks);
/// The word a double-click at `caret` selects, [start, end): from the last soft break before it to the first from it
/// on, both within its line (from a caret at a line's start, the word starts there).
std::pair<std::size_t, std::size_t> WordAround(const TextDocument& document, std::size_t caret,
                                               const SoftBreaksOfLine& breaks);

}  // namespace quillon::runtime::textview
