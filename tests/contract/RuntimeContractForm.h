#pragma once
/// The form the runtime contract works on: its controls, one or more of each kind and option the window uses.

#include <array>

#include "runtime/Form.h"

namespace quillon::contract {

// clang-format off
inline const std::array<runtime::ControlSpec, 11> kRuntimeContractSpecs{{
  {"Sorted",    runtime::ControlKind::ListBox,       L"",       120,  120, 1695, 2790, runtime::kSorted,            8.25, nullptr},
  {"Unsorted",  runtime::ControlKind::ListBox,       L"",      1920,  120, 1695, 2790, runtime::kNoOptions,         8.25, nullptr},
  {"Extended",  runtime::ControlKind::ListBox,       L"",      3720,  120, 1695, 2790, runtime::kExtendedSelection, 8.25, nullptr},
  {"Combo",     runtime::ControlKind::ComboBox,      L"",       120, 3000, 4215,  315, runtime::kNoOptions,         8.25, nullptr},
  {"Single",    runtime::ControlKind::TextBox,       L"start",  120, 3480, 1335,  285, runtime::kNoOptions,         8.25, nullptr},
  {"Results",   runtime::ControlKind::TextBox,       L"",       120, 3900, 7000,  975,
                runtime::kMultiLine | runtime::kScrollBars | runtime::kReadOnly,                                      8.25, nullptr},
  {"Check",     runtime::ControlKind::CheckBox,      L"Keys",   120, 5000,  735,  255, runtime::kNoOptions,         8.25, nullptr},
  {"Button",    runtime::ControlKind::CommandButton, L"Find",  1000, 5000,  975,  375, runtime::kNoOptions,         8.25, nullptr},
  {"Picture",   runtime::ControlKind::PictureBox,    L"",         0, 5500, 9045,  375, runtime::kNoOptions,         8.25, nullptr},
  {"Banner",    runtime::ControlKind::Label,         L"",       120,   60, 5835,  240, runtime::kWhiteTransparent,  11.25, "Picture"},
  {"AutoLabel", runtime::ControlKind::Label,         L"Type",  5520,  120,  795,  195, runtime::kAutoSize,          8.25, nullptr},
}};
// clang-format on

inline constexpr int kContractClientWidth = 7275;
inline constexpr int kContractClientHeight = 6690;
inline const runtime::FontSpec kContractFont{L"Tahoma", 400, 177};

/// The controls of the contract's form, created in the order of kRuntimeContractSpecs.
struct RuntimeContractControls {
  explicit RuntimeContractControls(runtime::Form& form)
      : sorted(form.AddListBox(kRuntimeContractSpecs[0])),
        unsorted(form.AddListBox(kRuntimeContractSpecs[1])),
        extended(form.AddListBox(kRuntimeContractSpecs[2])),
        combo(form.AddComboBox(kRuntimeContractSpecs[3])),
        single(form.AddTextBox(kRuntimeContractSpecs[4])),
        results(form.AddTextBox(kRuntimeContractSpecs[5])),
        check(form.AddCheckBox(kRuntimeContractSpecs[6])),
        button(form.AddCommandButton(kRuntimeContractSpecs[7])),
        picture(form.AddPictureBox(kRuntimeContractSpecs[8])),
        banner(form.AddLabel(kRuntimeContractSpecs[9])),
        autoLabel(form.AddLabel(kRuntimeContractSpecs[10])) {}

  runtime::ListBox& sorted;
  runtime::ListBox& unsorted;
  runtime::ListBox& extended;
  runtime::ComboBox& combo;
  runtime::TextBox& single;
  runtime::TextBox& results;
  runtime::CheckBox& check;
  runtime::CommandButton& button;
  runtime::PictureBox& picture;
  runtime::Label& banner;
  runtime::Label& autoLabel;
};

}  // namespace quillon::contract
