#include "runtime/strings/TextFunctions.h"

// The pattern match. The search calls it for every key name, value name and data text it walks, so the pattern is
// compiled into tokens once per call and matched without recursion: the cost is bounded by text length times
// pattern length, whatever the pattern.
//
// Choices the rules leave open:
// - "[]", an empty list, stands for no character at all: it matches the empty run, so "a[]b" matches "ab". This is
//   how the classic runtime documents it, and it cannot turn a pattern into one that matches nothing by surprise.
// - "[!]" is a negated empty list: any one character.
// - Inside a list, a "-" between two characters makes a range (so "[--/]" is the range from "-" to "/"); a "-" that
//   cannot join two characters, at the start (also right after "!"), at the end or right after a range, is
//   literal. "!" anywhere but first in a list is literal, and so is "]" outside a list.
// - Characters are compared by their code units, exactly.

#include <cstddef>
#include <vector>

namespace quillon::runtime {
namespace {

enum class TokenKind { kLiteral, kAnyCharacter, kDigit, kList, kAnyRun };

struct CharacterRange {
  wchar_t first;
  wchar_t last;
};

struct Token {
  TokenKind kind;
  wchar_t literal;           // kLiteral
  bool negated;              // kList
  std::size_t rangesBegin;   // kList: this token's ranges in CompiledPattern::ranges
  std::size_t rangesEnd;
};

struct CompiledPattern {
  PatternProblem problem = PatternProblem::kWellFormed;
  std::vector<Token> tokens;
  std::vector<CharacterRange> ranges;
};

/// Compiles the list whose "[" stands at `open`; returns the position after its "]", or 0 on a problem.
std::size_t CompileList(const std::wstring& pattern, std::size_t open, CompiledPattern& compiled) {
  const std::size_t close = pattern.find(L']', open + 1);
  if (close == std::wstring::npos) {
    compiled.problem = PatternProblem::kUnclosedList;
    return 0;
  }
  std::size_t pos = open + 1;
  const bool negated = pos < close && pattern[pos] == L'!';
  if (negated) ++pos;
  if (pos == close && !negated) return close + 1;  // "[]": no token, it matches the empty run

  Token token{TokenKind::kList, L'\0', negated, compiled.ranges.size(), 0};
  while (pos < close) {
    const wchar_t first = pattern[pos];
    if (pos + 2 < close && pattern[pos + 1] == L'-') {
      const wchar_t last = pattern[pos + 2];
      if (last < first) {
        compiled.problem = PatternProblem::kReversedRange;
        return 0;
      }
      compiled.ranges.push_back({first, last});
      pos += 3;
      continue;
    }
    compiled.ranges.push_back({first, first});
    ++pos;
  }
  token.rangesEnd = compiled.ranges.size();
  compiled.tokens.push_back(token);
  return close + 1;
}

CompiledPattern Compile(const std::wstring& pattern) {
  CompiledPattern compiled;
  compiled.tokens.reserve(pattern.size());
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const wchar_t c = pattern[pos];
    if (c == L'[') {
      pos = CompileList(pattern, pos, compiled);
      if (compiled.problem != PatternProblem::kWellFormed) return compiled;
      continue;
    }
    ++pos;
    if (c == L'*') {
      // A run of stars is one star; the matcher relies on that to stay linear per backtrack.
      if (compiled.tokens.empty() || compiled.tokens.back().kind != TokenKind::kAnyRun) {
        compiled.tokens.push_back({TokenKind::kAnyRun, L'\0', false, 0, 0});
      }
      continue;
    }
    const TokenKind kind = c == L'?' ? TokenKind::kAnyCharacter : c == L'#' ? TokenKind::kDigit : TokenKind::kLiteral;
    compiled.tokens.push_back({kind, c, false, 0, 0});
  }
  return compiled;
}

bool InList(const CompiledPattern& compiled, const Token& token, wchar_t c) {
  for (std::size_t i = token.rangesBegin; i < token.rangesEnd; ++i) {
    if (c >= compiled.ranges[i].first && c <= compiled.ranges[i].last) return !token.negated;
  }
  return token.negated;
}

/// Whether a token other than a star takes the character.
bool TakesCharacter(const CompiledPattern& compiled, const Token& token, wchar_t c) {
  switch (token.kind) {
    case TokenKind::kLiteral:
      return c == token.literal;
    case TokenKind::kAnyCharacter:
      return true;
    case TokenKind::kDigit:
      return c >= L'0' && c <= L'9';
    case TokenKind::kList:
      return InList(compiled, token, c);
    case TokenKind::kAnyRun:
      break;
  }
  return false;
}

/// Every token but the star takes exactly one character, so it is enough to remember the last star: when the
/// tokens after it fail, let that star take one character more and try again from there. Going back to an earlier
/// star never helps, because the last star can already absorb whatever an earlier one would have. Each retry
/// advances the star's start, so the work is at most text length times pattern length.
bool Match(const std::wstring& text, const CompiledPattern& compiled) {
  const std::vector<Token>& tokens = compiled.tokens;
  std::size_t t = 0;
  std::size_t p = 0;
  bool haveStar = false;
  std::size_t starToken = 0;
  std::size_t starText = 0;
  while (t < text.size()) {
    if (p < tokens.size() && tokens[p].kind == TokenKind::kAnyRun) {
      haveStar = true;
      starToken = p++;
      starText = t;
      continue;
    }
    if (p < tokens.size() && TakesCharacter(compiled, tokens[p], text[t])) {
      ++p;
      ++t;
      continue;
    }
    if (!haveStar) return false;
    p = starToken + 1;
    t = ++starText;
  }
  while (p < tokens.size() && tokens[p].kind == TokenKind::kAnyRun) ++p;
  return p == tokens.size();
}

}  // namespace

PatternProblem CheckPattern(const std::wstring& pattern) { return Compile(pattern).problem; }

std::optional<bool> Like(const std::wstring& text, const std::wstring& pattern) {
  const CompiledPattern compiled = Compile(pattern);
  if (compiled.problem != PatternProblem::kWellFormed) return std::nullopt;
  return Match(text, compiled);
}

}  // namespace quillon::runtime
