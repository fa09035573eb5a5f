#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "runtime/text/TextFunctions.h"

namespace quillon::runtime {
namespace {

struct LikeCase {
  const wchar_t* pattern;
  const wchar_t* text;
  bool matches;
};

TEST(Like, FollowsThePatternRules) {
  const LikeCase cases[] = {
      // The search wraps its text in stars.
      {L"*policies*", L"systempoliciesx", true}, {L"*policies*", L"policies", true},
      {L"*policies*", L"policy", false},         {L"*a?c*", L"abc", true},
      {L"*[ab]x*", L"ax", true},                 {L"*[ab]x*", L"bx", true},
      {L"*[ab]x*", L"cx", false},                {L"**", L"", true},
      // One character each, exactly.
      {L"", L"", true}, {L"", L"a", false}, {L"?", L"", false}, {L"?", L"ab", false}, {L"a?", L"a\u00e9", true},
      {L"##", L"09", true}, {L"#", L"x", false}, {L"#", L"/", false}, {L"#", L":", false}, {L"A", L"a", false},
      {L"]", L"]", true}, {L"a!-", L"a!-", true},
      // The last star has to give back characters.
      {L"*ab", L"aab", true}, {L"a*bc", L"abcbc", true}, {L"a*b*c", L"abcbx", false}, {L"*?", L"", false},
      {L"*#*#", L"x1y", false}, {L"*#*#", L"x1y2", true},
      // Lists and ranges.
      {L"[a-c]", L"b", true}, {L"[a-c]", L"d", false}, {L"[!a-c]", L"d", true}, {L"[!a-c]", L"b", false},
      {L"[!a-c]", L"", false}, {L"[a-cx]", L"x", true}, {L"[a-a]", L"a", true}, {L"[\u00e0-\u00ff]", L"\u00e9", true},
      // Pattern characters lose their meaning inside a list; "-" at either end and "!" after the start are literal.
      {L"[*]", L"*", true}, {L"[*]", L"a", false}, {L"[?]", L"x", false}, {L"[#]", L"#", true}, {L"[#]", L"1", false},
      {L"[[]", L"[", true}, {L"[-a]", L"-", true}, {L"[a-]", L"-", true}, {L"[!-]", L"-", false},
      {L"[a-c-e]", L"-", true}, {L"[a-c-e]", L"d", false}, {L"[a!]", L"!", true}, {L"[--/]", L".", true},
      // The empty list matches the empty run; the negated empty list any one character.
      {L"a[]b", L"ab", true}, {L"[]", L"", true}, {L"[]", L"x", false}, {L"[]]", L"]", true},
      {L"[!]", L"x", true}, {L"[!]", L"", false},
  };
  for (const LikeCase& c : cases) {
    EXPECT_EQ(Like(c.text, c.pattern), std::optional<bool>(c.matches)) << "pattern '" << testing::PrintToString(
        std::wstring(c.pattern)) << "' text " << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(Like, RefusesMalformedPatterns) {
  const std::pair<const wchar_t*, PatternProblem> cases[] = {
      {L"[", PatternProblem::kUnclosedList},        {L"ab[cd", PatternProblem::kUnclosedList},
      {L"[!", PatternProblem::kUnclosedList},       {L"[a][", PatternProblem::kUnclosedList},
      {L"[z-a", PatternProblem::kUnclosedList},     {L"[z-a]", PatternProblem::kReversedRange},
      {L"*[!9-0]*", PatternProblem::kReversedRange}, {L"[a-z][b-a]", PatternProblem::kReversedRange},
  };
  for (const auto& [pattern, problem] : cases) {
    EXPECT_EQ(CheckPattern(pattern), problem) << testing::PrintToString(std::wstring(pattern));
    EXPECT_EQ(Like(L"a", pattern), std::nullopt) << testing::PrintToString(std::wstring(pattern));
  }
  for (const wchar_t* pattern : {L"", L"]", L"a]b", L"[]", L"[a-a]", L"[]-[]", L"*[!]*"}) {
    EXPECT_EQ(CheckPattern(pattern), PatternProblem::kWellFormed) << testing::PrintToString(std::wstring(pattern));
  }
}

/// Reads the rules straight off the pattern text and tries every split of the text at a star: slow and plain.
/// Returns nothing for a malformed pattern.
std::optional<bool> ReferenceLike(const std::wstring& text, std::size_t t, const std::wstring& pattern,
                                  std::size_t p) {
  if (p == pattern.size()) return t == text.size();
  const wchar_t c = pattern[p];
  if (c == L'*') {
    const std::optional<bool> rest = ReferenceLike(text, t, pattern, p + 1);
    if (!rest || *rest || t == text.size()) return rest;
    return ReferenceLike(text, t + 1, pattern, p);
  }
  if (c != L'[') {
    const std::optional<bool> rest = ReferenceLike(text, t + (t < text.size() ? 1 : 0), pattern, p + 1);
    if (!rest) return rest;
    if (t == text.size()) return false;
    const bool takes = c == L'?' || (c == L'#' ? (text[t] >= L'0' && text[t] <= L'9') : text[t] == c);
    return takes && *rest;
  }
  const std::size_t close = pattern.find(L']', p + 1);
  if (close == std::wstring::npos) return std::nullopt;
  std::wstring list = pattern.substr(p + 1, close - p - 1);
  const bool negated = !list.empty() && list[0] == L'!';
  if (negated) list.erase(0, 1);
  bool inList = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const bool range = i + 2 < list.size() && list[i + 1] == L'-';
    const wchar_t last = range ? list[i + 2] : list[i];
    if (last < list[i]) return std::nullopt;
    inList = inList || (t < text.size() && text[t] >= list[i] && text[t] <= last);
    if (range) i += 2;
  }
  const bool emptyRun = list.empty() && !negated;
  const std::size_t next = emptyRun || t == text.size() ? t : t + 1;
  const std::optional<bool> rest = ReferenceLike(text, next, pattern, close + 1);
  if (!rest || emptyRun) return rest;
  return *rest && t < text.size() && inList != negated;
}

TEST(Like, AgreesWithAPlainRecursiveMatcher) {
  const std::wstring patternAlphabet = L"ab1**?#[]!-";
  const std::wstring textAlphabet = L"ab09-!]*";
  std::mt19937 random(20240611);
  const auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
  const std::size_t patternSize = patternAlphabet.size();
  const std::size_t textSize = textAlphabet.size();
  int malformed = 0;
  int matched = 0;
  int unmatched = 0;
  for (int i = 0; i < 5000; ++i) {
    std::wstring pattern;
    std::wstring text;
    for (std::size_t n = pick(9); n > 0; --n) pattern += patternAlphabet[pick(patternSize)];
    // Half the texts are spelled after their pattern, so that matches and near misses are common.
    const bool spellPattern = pick(2) == 0;
    for (const wchar_t c : spellPattern ? pattern : std::wstring()) {
      if (c == L'*' || c == L'?' || c == L'#') {
        for (std::size_t n = c == L'*' ? pick(3) : 1; n > 0; --n) text += textAlphabet[pick(textSize)];
      } else {
        text += c;
      }
    }
    for (std::size_t n = spellPattern ? 0 : pick(9); n > 0; --n) text += textAlphabet[pick(textSize)];
    const std::optional<bool> expected = ReferenceLike(text, 0, pattern, 0);
    ASSERT_EQ(Like(text, pattern), expected) << "pattern " << testing::PrintToString(pattern) << " text "
                                             << testing::PrintToString(text);
    EXPECT_EQ(CheckPattern(pattern) == PatternProblem::kWellFormed, expected.has_value());
    if (!expected) {
      ++malformed;
    } else if (*expected) {
      ++matched;
    } else {
      ++unmatched;
    }
  }
  // The comparison only means something if every outcome occurred often.
  EXPECT_GT(malformed, 500);
  EXPECT_GT(matched, 500);
  EXPECT_GT(unmatched, 500);
}

TEST(Like, ManyStarsOnALongTextStayFast) {
  const std::wstring text(100000, L'a');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Like(text, L"a*a*a*a*a*a*a*b"), std::optional<bool>(false));
  EXPECT_EQ(Like(text, L"*[ab]*[ab]*[ab]*[ab]*[ab]*[ab]*c"), std::optional<bool>(false));
  EXPECT_EQ(Like(text + L"b", L"a*a*a*a*a*a*a*b"), std::optional<bool>(true));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace quillon::runtime
