#include "runtime/strings/TextFunctions.h"

// The numeric test and the conversion to a 32-bit integer, with the en-US conventions of the classic BASIC runtime.
//
// Accepted forms, with any spaces and tabs before and after:
//   decimal      [+|-] digits [. digits] [(E|D) [+|-] digits]   at least one mantissa digit, on either side of the
//                point ("1.", ".5" and "1.e3" are numbers; ".", "+", "1e" and "e5" are not)
//   hexadecimal  &H followed by one or more of 0-9 A-F
//   octal        &O followed by one or more of 0-7
// Letters may be in either case. The radix forms take no sign, and no blank may stand inside a number.
//
// Thousands separators are lenient, as in the classic runtime: a "," may stand anywhere between two digits of the
// integer part, so "1,234" and also "1,2,3" and "12,34" are numbers (worth 1234, 123 and 1234). A "," at the start
// or end of the digits, two in a row, or one after the decimal point makes the text non-numeric.
//
// The numeric test is a test of form only: "&H123456789" and "1E999" are numeric, and converting them reports an
// overflow, which is what a user who typed a number too large should hear rather than "Type mismatch".

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace quillon::runtime {
namespace {

enum class NumberForm { kDecimal, kHexadecimal, kOctal };

/// A number as the text spells it, its separators and blanks removed; digits are ASCII.
struct ScannedNumber {
  NumberForm form = NumberForm::kDecimal;
  bool negative = false;
  std::string integerDigits;  // also the digits of the radix forms
  std::string fractionDigits;
  bool exponentNegative = false;
  std::string exponentDigits;
};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHexDigit(wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }
bool IsOctalDigit(wchar_t c) { return c >= L'0' && c <= L'7'; }
wchar_t ToUpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

/// Appends the run of digits starting at `pos` that `accept` allows; returns how many it took.
template <typename Accept>
std::size_t TakeDigits(const std::wstring& text, std::size_t& pos, std::size_t end, Accept accept, std::string& out) {
  const std::size_t start = pos;
  while (pos < end && accept(text[pos])) out.push_back(static_cast<char>(text[pos++]));
  return pos - start;
}

std::optional<ScannedNumber> ScanRadix(const std::wstring& text, std::size_t pos, std::size_t end) {
  // `pos` stands on the "&".
  if (end - pos < 3) return std::nullopt;
  ScannedNumber number;
  const wchar_t marker = ToUpperAscii(text[pos + 1]);
  pos += 2;
  std::size_t taken = 0;
  if (marker == L'H') {
    number.form = NumberForm::kHexadecimal;
    taken = TakeDigits(text, pos, end, IsHexDigit, number.integerDigits);
  } else if (marker == L'O') {
    number.form = NumberForm::kOctal;
    taken = TakeDigits(text, pos, end, IsOctalDigit, number.integerDigits);
  }
  if (taken == 0 || pos != end) return std::nullopt;
  return number;
}

std::optional<ScannedNumber> ScanDecimal(const std::wstring& text, std::size_t pos, std::size_t end) {
  ScannedNumber number;
  if (text[pos] == L'+' || text[pos] == L'-') number.negative = text[pos++] == L'-';

  // Integer part: digit runs joined by single separators.
  while (TakeDigits(text, pos, end, IsDigit, number.integerDigits) > 0) {
    if (pos + 1 < end && text[pos] == L',' && IsDigit(text[pos + 1])) {
      ++pos;
      continue;
    }
    break;
  }
  if (pos < end && text[pos] == L'.') {
    ++pos;
    TakeDigits(text, pos, end, IsDigit, number.fractionDigits);
  }
  if (number.integerDigits.empty() && number.fractionDigits.empty()) return std::nullopt;

  if (pos < end && (ToUpperAscii(text[pos]) == L'E' || ToUpperAscii(text[pos]) == L'D')) {
    ++pos;
    if (pos < end && (text[pos] == L'+' || text[pos] == L'-')) number.exponentNegative = text[pos++] == L'-';
    if (TakeDigits(text, pos, end, IsDigit, number.exponentDigits) == 0) return std::nullopt;
  }
  if (pos != end) return std::nullopt;
  return number;
}

std::optional<ScannedNumber> Scan(const std::wstring& text) {
  std::size_t pos = 0;
  std::size_t end = text.size();
  while (pos < end && IsBlank(text[pos])) ++pos;
  while (end > pos && IsBlank(text[end - 1])) --end;
  if (pos == end) return std::nullopt;
  if (text[pos] == L'&') return ScanRadix(text, pos, end);
  return ScanDecimal(text, pos, end);
}

std::string WithoutLeadingZeros(const std::string& digits) {
  const auto first = digits.find_first_not_of('0');
  return first == std::string::npos ? std::string() : digits.substr(first);
}

/// The exponent as a number; absurdly long ones are clamped, which changes no result: a double is then zero or
/// infinite whatever the (reasonably long) mantissa says.
long long ExponentValue(const ScannedNumber& number) {
  constexpr long long kClamp = 10'000'000;
  long long value = 0;
  for (const char digit : number.exponentDigits) {
    value = value * 10 + (digit - '0');
    if (value > kClamp) {
      value = kClamp;
      break;
    }
  }
  return number.exponentNegative ? -value : value;
}

/// The decimal number as the nearest double (correctly rounded), or an infinity when it is too large.
double DecimalValue(const ScannedNumber& number) {
  const std::string integerDigits = WithoutLeadingZeros(number.integerDigits);
  const long long exponent = ExponentValue(number);
  // from_chars reads the C++ "C" format whatever the process locale says the decimal point is, and rounds
  // correctly; a hand-made digit loop would round twice.
  std::string canonical = integerDigits.empty() ? std::string("0") : integerDigits;
  canonical += '.';
  canonical += number.fractionDigits.empty() ? std::string("0") : number.fractionDigits;
  canonical += 'e';
  canonical += std::to_string(exponent);

  double value = 0.0;
  const std::from_chars_result parsed = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (parsed.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: tell which by the position of the leading significant digit.
    long long order = 0;
    if (!integerDigits.empty()) {
      order = static_cast<long long>(integerDigits.size()) - 1 + exponent;
    } else {
      // Not all zeros: a zero never falls out of range.
      const auto firstSignificant = number.fractionDigits.find_first_not_of('0');
      order = -static_cast<long long>(firstSignificant) - 1 + exponent;
    }
    value = order >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return number.negative ? -value : value;
}

unsigned DigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return static_cast<unsigned>(digit - '0');
  if (digit >= 'a' && digit <= 'f') return static_cast<unsigned>(digit - 'a' + 10);
  return static_cast<unsigned>(digit - 'A' + 10);
}

/// The radix forms keep the classic reading: a value that fits in 16 bits is a 16-bit two's complement number
/// (&HFFFF is -1, &H8000 is -32768), one that fits in 32 bits a 32-bit one (&HFFFFFFFF is -1), anything larger
/// overflows. Leading zeros do not count, so &H0000FFFF is -1 as well.
std::optional<std::int32_t> RadixValue(const ScannedNumber& number) {
  const std::size_t bitsPerDigit = number.form == NumberForm::kHexadecimal ? 4 : 3;
  const std::string digits = WithoutLeadingZeros(number.integerDigits);
  // Rejecting long texts first keeps the accumulator below from overflowing; the value test settles the rest.
  if (digits.size() * bitsPerDigit > 33) return std::nullopt;
  std::int64_t value = 0;
  for (const char digit : digits) value = (value << bitsPerDigit) | DigitValue(digit);
  if (value <= 0xFFFF) return static_cast<std::int32_t>(value >= 0x8000 ? value - 0x10000 : value);
  if (value <= 0xFFFFFFFFLL) return static_cast<std::int32_t>(value >= 0x80000000LL ? value - 0x100000000LL : value);
  return std::nullopt;
}

/// Rounds to the nearest integer, an exact half to the even neighbour, without depending on the floating-point
/// environment's rounding mode. The rule is symmetric, so the magnitude is rounded, where taking the integer part
/// away leaves the fraction exactly.
double RoundHalfEven(double value) {
  const double magnitude = std::fabs(value);
  const double below = std::floor(magnitude);
  const double fraction = magnitude - below;
  double rounded = below + 1.0;
  if (fraction < 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) == 0.0)) rounded = below;
  return value < 0 ? -rounded : rounded;
}

RuntimeError Overflow() { return RuntimeError{6, L"Overflow"}; }

}  // namespace

bool IsNumeric(const std::wstring& text) { return Scan(text).has_value(); }

std::optional<RuntimeError> CLng(const std::wstring& text, std::int32_t& result) {
  const std::optional<ScannedNumber> number = Scan(text);
  if (!number) return RuntimeError{13, L"Type mismatch"};

  if (number->form != NumberForm::kDecimal) {
    const std::optional<std::int32_t> value = RadixValue(*number);
    if (!value) return Overflow();
    result = *value;
    return std::nullopt;
  }

  const double rounded = RoundHalfEven(DecimalValue(*number));
  // Both bounds are exact doubles; an infinity fails one of the tests.
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return Overflow();
  result = static_cast<std::int32_t>(rounded);
  return std::nullopt;
}

}  // namespace quillon::runtime
