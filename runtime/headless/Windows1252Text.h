#pragma once
/// The platform text functions for the headless runtime: code page 1252, the ANSI code page of Wine and most
/// Western systems, and letter case for the characters that code page holds.

#include "runtime/Runtime.h"

namespace quillon::runtime {

class Windows1252Text : public PlatformText {
 public:
  /// Characters outside the code page become "?", as the platform's default character does.
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  std::wstring UCase(const std::wstring& text) const override;
  std::wstring LCase(const std::wstring& text) const override;
};

}  // namespace quillon::runtime
