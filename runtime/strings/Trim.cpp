#include "runtime/strings/TextFunctions.h"

namespace quillon::runtime {

std::wstring LTrim(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

std::wstring RTrim(const std::wstring& text) {
  const auto last = text.find_last_not_of(L' ');
  return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::wstring Trim(const std::wstring& text) { return LTrim(RTrim(text)); }

}  // namespace quillon::runtime
