#pragma once
/// The runtime's text functions that do not depend on the platform: trimming, the numeric test, conversion to a
/// 32-bit integer and the pattern match.

#include <cstdint>
#include <optional>
#include <string>

namespace quillon::runtime {

/// A runtime error: its number and the description the platform shows for it.
struct RuntimeError {
  int number;
  std::wstring description;
};

/// Removes spaces (only spaces) from both ends, the start, or the end.
std::wstring Trim(const std::wstring& text);
std::wstring LTrim(const std::wstring& text);
std::wstring RTrim(const std::wstring& text);

/// True when the text can be read as a number: blanks around, a sign, digits with thousands separators, a decimal
/// point, an exponent, or the hexadecimal and octal forms &H1F and &O17. The empty text is not numeric.
bool IsNumeric(const std::wstring& text);

/// Converts to a 32-bit integer: to a double first, then to the nearest integer with a half going to the even
/// neighbour. Returns the error (13 "Type mismatch", 6 "Overflow") instead of a result when it fails; `result` is
/// then left unchanged.
[[nodiscard]] std::optional<RuntimeError> CLng(const std::wstring& text, std::int32_t& result);

/// Why a pattern cannot be matched, or kWellFormed.
enum class PatternProblem { kWellFormed, kUnclosedList, kReversedRange };

PatternProblem CheckPattern(const std::wstring& pattern);

/// Matches `text` against `pattern` character by character: "*" any run, "?" one character, "#" one digit,
/// "[...]" one character of a list with ranges a-z, "[!...]" one character not in the list. Returns nothing for a
/// malformed pattern. Costs at most about text length times pattern length.
std::optional<bool> Like(const std::wstring& text, const std::wstring& pattern);

}  // namespace quillon::runtime
