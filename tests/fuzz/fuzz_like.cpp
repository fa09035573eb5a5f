// The pattern match: no crash, nothing exactly when the pattern is malformed, every text matches the patterns that
// take each of its characters and none that refuses one, and stars around a matching pattern take any head and tail.
#include "runtime/text/TextFunctions.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

namespace {

/// A pattern for `text` that takes each character by a means `choices` picks: itself (a character that means
/// something in a pattern going into a one-character list), "?", "#" for a digit, a list holding it, or a negated
/// list of another character; with no choices, each character by itself, so that only `text` matches. The
/// character at position `refuse` is instead asked for by a means that cannot take it, so the pattern (which has
/// no star) must not match.
std::wstring Generalized(const std::wstring& text, const std::wstring& choices = L"",
                         std::size_t refuse = std::wstring::npos) {
  std::wstring pattern;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    const bool digit = c >= L'0' && c <= L'9';
    const auto other = static_cast<wchar_t>(c ^ 1);
    if (i == refuse) {
      pattern += digit ? std::wstring(L"[!") + c + L"]" : std::wstring(L"#");
      continue;
    }
    const unsigned choice = choices.empty() ? 0 : choices[i % choices.size()] % 5;
    if (choice == 1) {
      pattern += L'?';
    } else if (choice == 2 && digit) {
      pattern += L'#';
    } else if (choice == 4 && other != L']' && other != L'!') {
      pattern.append(L"[!").append(1, other).append(L"]");
    } else if ((choice == 3 || std::wstring(L"*?#[").find(c) != std::wstring::npos) && c != L']' && c != L'!') {
      pattern.append(L"[").append(1, c).append(L"]");
    } else {
      pattern += c;
    }
  }
  return pattern;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> pieces = fuzz::Pieces(data, size);
  const std::wstring text = pieces[0];
  const std::wstring pattern = pieces.size() > 1 ? pieces[1] : std::wstring();

  const std::optional<bool> matched = runtime::Like(text, pattern);
  const bool wellFormed = runtime::CheckPattern(pattern) == runtime::PatternProblem::kWellFormed;
  fuzz::Require(matched.has_value() == wellFormed, "Like refuses exactly the malformed patterns");
  fuzz::Require(runtime::Like(text, Generalized(text)) == std::optional<bool>(true), "a text matches itself");
  fuzz::Require(runtime::Like(text, L"*") == std::optional<bool>(true), "a star matches everything");
  fuzz::Require(runtime::Like(text, Generalized(text, pattern)) == std::optional<bool>(true),
                "a text matches every pattern that takes each of its characters");
  if (!text.empty()) {
    const std::size_t refuse = pattern.size() % text.size();
    fuzz::Require(runtime::Like(text, Generalized(text, pattern, refuse)) == std::optional<bool>(false),
                  "no match when one character is refused");
  }
  if (matched.value_or(false)) {
    const std::optional<bool> wrapped = runtime::Like(L"<" + text + L">", L"*" + pattern + L"*");
    fuzz::Require(wrapped == std::optional<bool>(true), "stars around a pattern take any head and tail");
  }
  return 0;
}
