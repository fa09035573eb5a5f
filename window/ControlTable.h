#pragma once
/// The window's layout as data: its client size, its font and its 29 controls in tab order.

#include <array>

#include "runtime/Form.h"

namespace quillon {

constexpr int kClientWidthTwips = 7275;
constexpr int kClientHeightTwips = 6690;
extern const runtime::FontSpec kWindowFont;
extern const std::array<runtime::ControlSpec, 29> kControlTable;

}  // namespace quillon
