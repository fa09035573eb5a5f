// The numeric test and the conversion to a 32-bit integer: the conversion refuses exactly what the test refuses,
// leaves its result alone when it fails, and for plain decimal texts gives what the C library's correctly rounded
// reading, rounded half to even, gives.
#include <cmath>
#include <cstdlib>

#include "runtime/strings/TextFunctions.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

/// The text without its blanks and separators, in the C library's spelling, when it is a sign, digits with an
/// optional point and an optional exponent; nothing for any other text.
std::optional<std::string> PlainDecimal(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::nullopt;
  const std::wstring core = text.substr(first, text.find_last_not_of(L" \t") - first + 1);
  std::string out;
  std::size_t i = 0;
  std::size_t mantissaDigits = 0;
  if (core[i] == L'+' || core[i] == L'-') out.push_back(static_cast<char>(core[i++]));
  for (; i < core.size() && IsDigit(core[i]); ++i, ++mantissaDigits) {
    out.push_back(static_cast<char>(core[i]));
    // A thousands separator between two digits of the integer part is dropped, wherever it stands.
    if (i + 2 < core.size() && core[i + 1] == L',' && IsDigit(core[i + 2])) ++i;
  }
  if (i < core.size() && core[i] == L'.') out.push_back(static_cast<char>(core[i++]));
  for (; i < core.size() && IsDigit(core[i]); ++i, ++mantissaDigits) out.push_back(static_cast<char>(core[i]));
  if (mantissaDigits == 0) return std::nullopt;
  if (i < core.size() && std::wstring(L"eEdD").find(core[i]) != std::wstring::npos) {
    out.push_back('e');
    if (++i < core.size() && (core[i] == L'+' || core[i] == L'-')) out.push_back(static_cast<char>(core[i++]));
    const std::size_t start = i;
    for (; i < core.size() && IsDigit(core[i]); ++i) out.push_back(static_cast<char>(core[i]));
    if (i == start) return std::nullopt;
  }
  if (i != core.size()) return std::nullopt;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = fuzz::Decode(data, size);
  const bool numeric = runtime::IsNumeric(text);
  constexpr std::int32_t kUntouched = 0x5EED;
  std::int32_t result = kUntouched;
  const std::optional<runtime::RuntimeError> error = runtime::CLng(text, result);

  fuzz::Require(!error || result == kUntouched, "a failed conversion leaves the result alone");
  fuzz::Require(numeric == !(error && error->number == 13), "Type mismatch exactly for non-numeric texts");
  fuzz::Require(!error || error->number == 13 || error->number == 6, "only Type mismatch or Overflow");

  if (const std::optional<std::string> plain = PlainDecimal(text)) {
    fuzz::Require(numeric, "a plain decimal is numeric");
    const double rounded = std::nearbyint(std::strtod(plain->c_str(), nullptr));  // to nearest, ties to even
    if (rounded >= -2147483648.0 && rounded <= 2147483647.0) {
      fuzz::Require(!error && result == static_cast<std::int32_t>(rounded), "the correctly rounded value");
    } else {
      fuzz::Require(error && error->number == 6, "Overflow beyond 32 bits");
    }
  }
  return 0;
}
