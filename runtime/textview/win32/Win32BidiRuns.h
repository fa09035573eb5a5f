#pragma once
/// The order a line is drawn in when it holds right-to-left text: Uniscribe's itemizer and its ordering only (nothing
/// here shapes or places glyphs, see Win32TextView.h for why).

#include <string_view>
#include <vector>

#include "runtime/textview/VisualLine.h"

namespace quillon::runtime::win32 {

/// True when a line holds characters that read right to left (or marks that make text do so).
bool HoldsRightToLeft(std::wstring_view line) noexcept;

/// The runs of a line from left to right, in a left-to-right paragraph as the edit control's default is. A line
/// without right-to-left characters is one run, without asking Uniscribe.
std::vector<textview::VisualRun> VisualRunsOf(std::wstring_view line);

}  // namespace quillon::runtime::win32
