#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "runtime/text/TextFunctions.h"

namespace quillon::runtime {
namespace {

TEST(IsNumeric, AcceptsTheNumberFormsAndNothingElse) {
  for (const wchar_t* text : {L"123", L"1.5", L"007", L" 12 ", L"\t7\t", L"-1", L"+1", L"2.5E3", L"2.5e-3", L"1D+2",
                              L".5", L"1.", L"1.e3", L"1,234", L"1,2,3", L"-1,234.50", L"&HFF", L"&hff", L"&O17",
                              L"&o17", L"&H123456789", L"1E999"}) {
    EXPECT_TRUE(IsNumeric(text)) << testing::PrintToString(std::wstring(text));
  }
  for (const wchar_t* text : {L"", L"  ", L"abc", L"12a", L"1.2.3", L"--1", L"+", L"-", L".", L"-.", L"1e", L"1e+",
                              L"e5", L"&H", L"&O", L"&O8", L"&HG", L"&X1", L"-&H1", L"&H 1", L"- 1", L"1 2", L"1,",
                              L",1", L"1,,2", L"1.5,3", L"0x1F", L"1\n"}) {
    EXPECT_FALSE(IsNumeric(text)) << testing::PrintToString(std::wstring(text));
  }
}

std::optional<std::int32_t> Convert(const wchar_t* text) {
  std::int32_t result = 0;
  if (CLng(text, result)) return std::nullopt;
  return result;
}

TEST(CLng, RoundsAnExactHalfToTheEvenNeighbour) {
  const std::pair<const wchar_t*, std::int32_t> cases[] = {
      {L"2.5", 2},   {L"3.5", 4},    {L"-2.5", -2},       {L"-3.5", -4},        {L"0.5", 0},   {L"-0.5", 0},
      {L"1.5", 2},   {L"-1.5", -2},  {L"2.5000001", 3},   {L"-2.4999999", -2},  {L"25E-1", 2}, {L"0.35D1", 4},
      // Parsed as the nearest double first: these long fractions are exactly 2.5 and 0.5 - 2^-54.
      {L"2.50000000000000000000000001", 2}, {L"0.49999999999999997", 0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(Convert(text), std::optional<std::int32_t>(expected)) << testing::PrintToString(std::wstring(text));
  }
}

TEST(CLng, ReadsSeparatorsExponentsAndRadixForms) {
  const std::pair<const wchar_t*, std::int32_t> cases[] = {
      {L" -7 ", -7},         {L"1,234", 1234},       {L"1,2,3", 123},        {L"1,234.5E1", 12345},
      {L"007", 7},           {L"1E-999", 0},         {L"&HFF", 255},         {L"&h7fff", 32767},
      {L"&H8000", -32768},   {L"&HFFFF", -1},        {L"&H0000FFFF", -1},    {L"&H10000", 65536},
      {L"&H7FFFFFFF", 2147483647}, {L"&H80000000", -2147483647 - 1}, {L"&HFFFFFFFF", -1},
      {L"&O17", 15},         {L"&O100000", -32768},  {L"&O177777", -1},      {L"&O200000", 65536},
      {L"&O37777777777", -1},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(Convert(text), std::optional<std::int32_t>(expected)) << testing::PrintToString(std::wstring(text));
  }
}

TEST(CLng, ReportsOverflowAfterRoundingAndTypeMismatchForText) {
  EXPECT_EQ(Convert(L"2147483647.4999"), std::optional<std::int32_t>(2147483647));
  EXPECT_EQ(Convert(L"-2147483648"), std::optional<std::int32_t>(std::numeric_limits<std::int32_t>::min()));
  EXPECT_EQ(Convert(L"-2147483648.5"), std::optional<std::int32_t>(std::numeric_limits<std::int32_t>::min()));
  const std::pair<const wchar_t*, RuntimeError> cases[] = {
      {L"2147483647.5", {6, L"Overflow"}},       {L"2147483648", {6, L"Overflow"}},
      {L"-2147483648.5001", {6, L"Overflow"}},   {L"-2147483649", {6, L"Overflow"}},
      {L"4294967295", {6, L"Overflow"}},         {L"3000000000", {6, L"Overflow"}},
      {L"1E999", {6, L"Overflow"}},              {L"-1E999", {6, L"Overflow"}},
      {L"&H100000000", {6, L"Overflow"}},        {L"&H000123456789", {6, L"Overflow"}},
      {L"&O40000000000", {6, L"Overflow"}},
      // The nearest double is 2147483647.5, which rounds up.
      {L"2147483647.49999999999999999999", {6, L"Overflow"}},
      {L"", {13, L"Type mismatch"}},             {L"abc", {13, L"Type mismatch"}},
      {L"1e", {13, L"Type mismatch"}},           {L"&H", {13, L"Type mismatch"}},
  };
  for (const auto& [text, expected] : cases) {
    std::int32_t result = 77;
    const std::optional<RuntimeError> error = CLng(text, result);
    ASSERT_TRUE(error.has_value()) << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(error->number, expected.number) << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(error->description, expected.description);
    EXPECT_EQ(result, 77) << "the result is left unchanged";
  }
}

}  // namespace
}  // namespace quillon::runtime
