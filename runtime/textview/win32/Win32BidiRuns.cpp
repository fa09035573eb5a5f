#include "runtime/textview/win32/Win32BidiRuns.h"

#include <windows.h>
#include <usp10.h>

#include <algorithm>
#include <climits>
#include <cstddef>

namespace quillon::runtime::win32 {

bool HoldsRightToLeft(std::wstring_view line) noexcept {
  return std::any_of(line.begin(), line.end(), [](wchar_t u) {
    return (u >= 0x0590 && u <= 0x08FF) || (u >= 0xFB1D && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF) ||
           u == 0x200F || u == 0x202B || u == 0x202E || u == 0x2067 || (u >= 0xD802 && u <= 0xD803) ||
           (u >= 0xD83A && u <= 0xD83B);
  });
}

std::vector<textview::VisualRun> VisualRunsOf(std::wstring_view line) {
  const std::size_t length = line.size();
  if (!HoldsRightToLeft(line) || length > INT_MAX / 2) return textview::VisualLine::LeftToRight(length);
  SCRIPT_CONTROL control{};
  SCRIPT_STATE state{};  // level 0: a left-to-right paragraph
  std::vector<SCRIPT_ITEM> items(length + 2);
  int count = 0;
  if (FAILED(ScriptItemize(line.data(), static_cast<int>(length), static_cast<int>(items.size() - 1), &control, &state,
                           items.data(), &count)) ||
      count <= 0) {
    return textview::VisualLine::LeftToRight(length);
  }
  std::vector<BYTE> levels(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) levels[static_cast<std::size_t>(i)] = static_cast<BYTE>(items[i].a.s.uBidiLevel);
  std::vector<int> visualToLogical(static_cast<std::size_t>(count));
  if (FAILED(ScriptLayout(count, levels.data(), visualToLogical.data(), nullptr)))
    return textview::VisualLine::LeftToRight(length);
  std::vector<textview::VisualRun> runs;
  runs.reserve(static_cast<std::size_t>(count));
  for (const int item : visualToLogical) {
    if (item < 0 || item >= count) return textview::VisualLine::LeftToRight(length);
    const auto start = static_cast<std::size_t>(items[item].iCharPos);
    const auto end = static_cast<std::size_t>(items[item + 1].iCharPos);
    if (end > start) runs.push_back({start, end, (levels[static_cast<std::size_t>(item)] & 1) != 0});
  }
  return runs;  // VisualLine checks that they cover the line once
}

}  // namespace quillon::runtime::win32
