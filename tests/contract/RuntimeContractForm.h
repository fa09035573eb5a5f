#pragma once
/// The form the runtime contract works on: one or more controls of each kind and option the window's lists and
/// boxes use, created in tab order; and a list's entries as the tests read them.

#include <string>
#include <vector>

#include "runtime/Form.h"

namespace quillon::contract {

inline constexpr int kContractClientWidth = 7275;
inline constexpr int kContractClientHeight = 6690;
inline const runtime::FontSpec kContractFont{L"Tahoma", 400, 177};

struct RuntimeContractControls {
  using K = runtime::ControlKind;
  static runtime::ControlSpec Placed(const char* name, K kind, const wchar_t* caption, int left, int top, int width,
                                     int height, unsigned options = runtime::kNoOptions) {
    return {name, kind, caption, left, top, width, height, options, 8.25, nullptr};
  }

  explicit RuntimeContractControls(runtime::Form& form)
      : sorted(form.AddListBox(Placed("Sorted", K::ListBox, L"", 120, 120, 1695, 2790, runtime::kSorted))),
        unsorted(form.AddListBox(Placed("Unsorted", K::ListBox, L"", 1920, 120, 1695, 2790))),
        extended(
            form.AddListBox(Placed("Extended", K::ListBox, L"", 3720, 120, 1695, 2790, runtime::kExtendedSelection))),
        combo(form.AddComboBox(Placed("Combo", K::ComboBox, L"", 120, 3000, 4215, 315))),
        single(form.AddTextBox(Placed("Single", K::TextBox, L"start", 120, 3480, 1335, 285))),
        results(form.AddTextBox(Placed("Results", K::TextBox, L"", 120, 3900, 7000, 975,
                                       runtime::kMultiLine | runtime::kScrollBars | runtime::kReadOnly))),
        check(form.AddCheckBox(Placed("Check", K::CheckBox, L"Keys", 120, 5000, 735, 255))),
        button(form.AddCommandButton(Placed("Button", K::CommandButton, L"Find", 1000, 5000, 975, 375))) {}

  runtime::ListBox& sorted;
  runtime::ListBox& unsorted;
  runtime::ListBox& extended;
  runtime::ComboBox& combo;
  runtime::TextBox& single;
  runtime::TextBox& results;
  runtime::CheckBox& check;
  runtime::CommandButton& button;
};

inline std::vector<std::wstring> Entries(const runtime::ListBox& list) {
  std::vector<std::wstring> entries;
  for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
  return entries;
}

}  // namespace quillon::contract
