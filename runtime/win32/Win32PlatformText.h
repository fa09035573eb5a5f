#pragma once
/// The platform's text conversions on Windows: the ANSI code page and the user's letter case rules.

#include "runtime/Runtime.h"

namespace quillon::runtime::win32 {

class Win32PlatformText final : public PlatformText {
 public:
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  std::wstring UCase(const std::wstring& text) const override;
  std::wstring LCase(const std::wstring& text) const override;
};

}  // namespace quillon::runtime::win32
