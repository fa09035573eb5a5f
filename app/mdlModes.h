#pragma once
/// The product identity, kept in one record so that the window and the application title share it.

#include <string>

#include "runtime/Runtime.h"

namespace quillon {

struct ProductInfoRecord {
  std::wstring ProductName;
  std::wstring Version;
  std::wstring TitleColor;  ///< a decimal colour word stored as text
};

/// The module-level record, alive for the whole run.
extern ProductInfoRecord ProductInfo;

/// Fills ProductInfo and sets the application title; running it twice gives the same state.
void InitProductInfo(runtime::Application& app);

}  // namespace quillon
