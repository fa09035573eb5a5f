// The pattern match against a plain reading of its rules: for any text and pattern, the answer of a slow recursive
// matcher that reads the rules straight off the pattern text and tries every split of the text at a star; nothing
// exactly for the malformed patterns; every text matches itself written as a pattern, and stars around a matching
// pattern take any head and tail.
#include <map>
#include <utility>

#include "runtime/strings/TextFunctions.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

namespace {

/// The rules read straight off the pattern: "*" any run, "?" any character, "#" a digit, "[...]" one character in
/// the list (ranges, "!" first negates, "[]" the empty run), anything else itself. Each answer is kept, so that many
/// stars cost no more than the text times the pattern. Nothing for a malformed pattern.
class ReferenceLike {
 public:
  ReferenceLike(const std::wstring& text, const std::wstring& pattern) : text_(text), pattern_(pattern) {}

  std::optional<bool> Match(std::size_t t = 0, std::size_t p = 0) {
    if (const auto known = answers_.find({t, p}); known != answers_.end()) return known->second;
    const std::optional<bool> answer = Compute(t, p);
    answers_[{t, p}] = answer;
    return answer;
  }

 private:
  std::optional<bool> Compute(std::size_t t, std::size_t p) {
    if (p == pattern_.size()) return t == text_.size();
    const wchar_t c = pattern_[p];
    if (c == L'*') {
      const std::optional<bool> rest = Match(t, p + 1);
      if (!rest || *rest || t == text_.size()) return rest;
      return Match(t + 1, p);
    }
    if (c != L'[') {
      const std::optional<bool> rest = Match(t + (t < text_.size() ? 1 : 0), p + 1);
      if (!rest) return rest;
      if (t == text_.size()) return false;
      const bool takes = c == L'?' || (c == L'#' ? (text_[t] >= L'0' && text_[t] <= L'9') : text_[t] == c);
      return takes && *rest;
    }
    const std::size_t close = pattern_.find(L']', p + 1);
    if (close == std::wstring::npos) return std::nullopt;
    std::wstring list = pattern_.substr(p + 1, close - p - 1);
    const bool negated = !list.empty() && list[0] == L'!';
    if (negated) list.erase(0, 1);
    bool inList = false;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const bool range = i + 2 < list.size() && list[i + 1] == L'-';
      const wchar_t last = range ? list[i + 2] : list[i];
      if (last < list[i]) return std::nullopt;
      inList = inList || (t < text_.size() && text_[t] >= list[i] && text_[t] <= last);
      if (range) i += 2;
    }
    const bool emptyRun = list.empty() && !negated;
    const std::optional<bool> rest = Match(emptyRun || t == text_.size() ? t : t + 1, close + 1);
    if (!rest || emptyRun) return rest;
    return *rest && t < text_.size() && inList != negated;
  }

  const std::wstring& text_;
  const std::wstring& pattern_;
  std::map<std::pair<std::size_t, std::size_t>, std::optional<bool>> answers_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> pieces = fuzz::Pieces(data, size);
  const std::wstring text = pieces[0];
  const std::wstring pattern = pieces.size() > 1 ? pieces[1] : std::wstring();

  const std::optional<bool> matched = runtime::Like(text, pattern);
  const bool wellFormed = runtime::CheckPattern(pattern) == runtime::PatternProblem::kWellFormed;
  fuzz::Require(matched.has_value() == wellFormed, "Like refuses exactly the malformed patterns");
  if (text.size() * pattern.size() <= 4096)
    fuzz::Require(matched == ReferenceLike(text, pattern).Match(), "Like answers as the rules read plainly");
  // Each character itself, or in a one-character list where it means something.
  std::wstring itself;
  for (const wchar_t c : text) itself += std::wstring(L"*?#[").find(c) == std::wstring::npos ? std::wstring(1, c)
                                                                                           : L"[" + std::wstring(1, c) + L"]";
  fuzz::Require(runtime::Like(text, itself) == std::optional<bool>(true), "a text matches itself");
  fuzz::Require(runtime::Like(text, L"*") == std::optional<bool>(true), "a star matches everything");
  if (matched.value_or(false)) {
    const std::optional<bool> wrapped = runtime::Like(L"<" + text + L">", L"*" + pattern + L"*");
    fuzz::Require(wrapped == std::optional<bool>(true), "stars around a pattern take any head and tail");
  }
  return 0;
}
