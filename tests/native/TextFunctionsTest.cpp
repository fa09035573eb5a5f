// The pattern match, the numeric test and the conversion to a 32-bit integer.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "runtime/strings/TextFunctions.h"

namespace quillon::runtime {
namespace {

using testing::PrintToString;

TEST(Like, FollowsThePatternRulesAndRefusesMalformedPatterns) {
  const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {  // pattern, text, whether it matches
      {L"*policies*", L"systempoliciesx", true}, {L"*policies*", L"policy", false}, {L"*[ab]x*", L"cx", false},
      // One character each, exactly; "#" only for 0 to 9; case counts.
      {L"", L"", true}, {L"", L"a", false}, {L"?", L"", false}, {L"?", L"ab", false}, {L"a?", L"a\u00e9", true},
      {L"##", L"09", true}, {L"#", L"/", false}, {L"#", L":", false}, {L"A", L"a", false}, {L"]", L"]", true},
      // The last star has to give back characters.
      {L"*ab", L"aab", true}, {L"a*bc", L"abcbc", true}, {L"a*b*c", L"abcbx", false}, {L"*?", L"", false},
      // Lists and ranges; pattern characters lose their meaning inside a list; "-" at either end and "!" after the
      // start are literal.
      {L"[a-c]", L"b", true}, {L"[a-c]", L"d", false}, {L"[!a-c]", L"d", true}, {L"[!a-c]", L"b", false},
      {L"[!a-c]", L"", false}, {L"[a-cx]", L"x", true}, {L"[\u00e0-\u00ff]", L"\u00e9", true},
      {L"[*]", L"a", false}, {L"[?]", L"x", false}, {L"[#]", L"1", false}, {L"[[]", L"[", true},
      {L"[-a]", L"-", true}, {L"[a-]", L"-", true}, {L"[!-]", L"-", false}, {L"[a-c-e]", L"-", true},
      {L"[a-c-e]", L"d", false}, {L"[a!]", L"!", true}, {L"[--/]", L".", true},
      // The empty list matches the empty run; the negated empty list any one character.
      {L"a[]b", L"ab", true}, {L"[]", L"x", false}, {L"[]]", L"]", true}, {L"[!]", L"x", true}, {L"[!]", L"", false},
  };
  for (const auto& [pattern, text, matches] : cases)
    EXPECT_EQ(Like(text, pattern), std::optional<bool>(matches))
        << "pattern " << PrintToString(std::wstring(pattern)) << " text " << PrintToString(std::wstring(text));
  const std::pair<const wchar_t*, PatternProblem> malformed[] = {
      {L"[", PatternProblem::kUnclosedList},         {L"[a][", PatternProblem::kUnclosedList},
      {L"[z-a", PatternProblem::kUnclosedList},      {L"[z-a]", PatternProblem::kReversedRange},
      {L"*[!9-0]*", PatternProblem::kReversedRange}, {L"[a-z][b-a]", PatternProblem::kReversedRange},
  };
  for (const auto& [pattern, problem] : malformed) {
    EXPECT_EQ(CheckPattern(pattern), problem) << PrintToString(std::wstring(pattern));
    EXPECT_EQ(Like(L"a", pattern), std::nullopt) << PrintToString(std::wstring(pattern));
  }
}

TEST(IsNumeric, AcceptsTheNumberFormsAndNothingElse) {
  for (const wchar_t* text : {L"1.5", L"\t7\t", L"+1", L"2.5e-3", L"1D+2", L".5", L"1.", L"1,2,3", L"-1,234.50",
                              L"&hff", L"&O17", L"&H123456789", L"1E999"}) {
    EXPECT_TRUE(IsNumeric(text)) << PrintToString(std::wstring(text));
  }
  for (const wchar_t* text :
       {L"",    L"  ",   L"12a",  L"1.2.3", L"--1", L"-",  L".",  L"-.",   L"1e+",   L"&H",   L"&O8",
        L"&HG", L"-&H1", L"&H 1", L"- 1",   L"1 2", L"1,", L",1", L"1,,2", L"1.5,3", L"0x1F", L"1\n"}) {
    EXPECT_FALSE(IsNumeric(text)) << PrintToString(std::wstring(text));
  }
}

TEST(CLng, RoundsHalfToEvenReadsSeparatorsExponentsAndRadixFormsAndReportsOverflowAndMismatch) {
  const std::pair<const wchar_t*, std::int32_t> converted[] = {
      {L"2.5", 2}, {L"3.5", 4}, {L"-2.5", -2}, {L"-3.5", -4}, {L"0.5", 0}, {L"-0.5", 0}, {L"2.5000001", 3},
      {L"-2.4999999", -2}, {L"25E-1", 2}, {L"0.35D1", 4},
      // Parsed as the nearest double first: these long fractions are exactly 2.5 and 0.5 - 2^-54.
      {L"2.50000000000000000000000001", 2}, {L"0.49999999999999997", 0},
      {L" -7 ", -7}, {L"1,2,3", 123}, {L"1,234.5E1", 12345}, {L"007", 7}, {L"1E-999", 0},
      // Radix forms up to four digits are 16-bit numbers, longer ones 32-bit; leading zeros do not lengthen them.
      {L"&h7fff", 32767}, {L"&H8000", -32768}, {L"&HFFFF", -1}, {L"&H0000FFFF", -1}, {L"&H10000", 65536},
      {L"&H80000000", INT32_MIN}, {L"&O17", 15}, {L"&O100000", -32768}, {L"&O200000", 65536}, {L"&O37777777777", -1},
      {L"2147483647.4999", INT32_MAX}, {L"-2147483648.5", INT32_MIN},
  };
  for (const auto& [text, expected] : converted) {
    std::int32_t result = 0;
    EXPECT_EQ(CLng(text, result), std::nullopt) << PrintToString(std::wstring(text));
    EXPECT_EQ(result, expected) << PrintToString(std::wstring(text));
  }
  const std::pair<const wchar_t*, int> refused[] = {
      {L"2147483647.5", 6}, {L"2147483648", 6}, {L"-2147483648.5001", 6}, {L"-2147483649", 6}, {L"4294967295", 6},
      {L"-1E999", 6}, {L"&H100000000", 6}, {L"&H000123456789", 6}, {L"&O40000000000", 6},
      // The nearest double is 2147483647.5, which rounds up.
      {L"2147483647.49999999999999999999", 6}, {L"", 13}, {L"abc", 13}, {L"1e", 13}, {L"&H", 13},
  };
  for (const auto& [text, number] : refused) {
    std::int32_t result = 77;
    const std::optional<RuntimeError> error = CLng(text, result);
    ASSERT_TRUE(error.has_value()) << PrintToString(std::wstring(text));
    EXPECT_EQ(error->number, number) << PrintToString(std::wstring(text));
    EXPECT_EQ(error->description, number == 6 ? L"Overflow" : L"Type mismatch");
    EXPECT_EQ(result, 77) << "the result is left unchanged";
  }
}

}  // namespace
}  // namespace quillon::runtime
