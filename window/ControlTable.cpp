#include "window/ControlTable.h"

namespace quillon {

using runtime::ControlKind;
using namespace runtime;  // the option flags

// Tahoma, regular, character set 177.
const FontSpec kWindowFont{L"Tahoma", 400, 177};

namespace {
constexpr double kPt = 8.25;
constexpr double kTitlePt = 11.25;
constexpr unsigned kReadOnlyBox = kMultiLine | kScrollBars | kReadOnly;
}  // namespace

// clang-format off
const std::array<ControlSpec, 29> kControlTable{{
  {"List1",           ControlKind::ListBox,       L"",                     120,  840, 1695, 2790, kExtendedSelection, kPt, nullptr},
  {"List2",           ControlKind::ListBox,       L"",                    1920,  840, 1695, 2790, kSorted,            kPt, nullptr},
  {"List3",           ControlKind::ListBox,       L"",                    3720,  840, 1695, 2790, kNoOptions,         kPt, nullptr},
  {"txtValue",        ControlKind::TextBox,       L"",                    5520, 1320, 1575,  855, kReadOnlyBox,       kPt, nullptr},
  {"txtKey",          ControlKind::TextBox,       L"",                     120, 4080, 5295,  375, kReadOnly,          kPt, nullptr},
  {"cmdCreateSubKey", ControlKind::CommandButton, L"New Key",              120, 3720,  975,  375, kNoOptions,         kPt, nullptr},
  {"cmdGoTo",         ControlKind::CommandButton, L"Go To",               4440, 4560,  975,  375, kNoOptions,         kPt, nullptr},
  {"cmdDeleteKey",    ControlKind::CommandButton, L"Delete Key",          1080, 3720,  975,  375, kNoOptions,         kPt, nullptr},
  {"lblValueType",    ControlKind::Label,         L"Value Type",          5520,  840,  795,  195, kAutoSize,          kPt, nullptr},
  {"cmdCreateValueS", ControlKind::CommandButton, L"New String Value",    5520, 2640, 1575,  375, kNoOptions,         kPt, nullptr},
  {"lblValueSize",    ControlKind::Label,         L"Value Size",          5520, 1080,  720,  195, kAutoSize,          kPt, nullptr},
  {"cmdCreateValueN", ControlKind::CommandButton, L"New Numeric Value",   5520, 3000, 1575,  375, kNoOptions,         kPt, nullptr},
  {"cmdDeleteValue",  ControlKind::CommandButton, L"Delete Value",        3840, 3720, 1575,  375, kNoOptions,         kPt, nullptr},
  {"txtValueName",    ControlKind::TextBox,       L"DisableRegistryTools",5520, 2160, 1575,  375, kReadOnly,          kPt, nullptr},
  {"cmdCreateValueB", ControlKind::CommandButton, L"New Binary Value",    5520, 3360, 1575,  375, kNoOptions,         kPt, nullptr},
  {"txtValueHex",     ControlKind::TextBox,       L"",                    5520, 3840, 1575, 1095, kReadOnlyBox,       kPt, nullptr},
  {"txtFindList",     ControlKind::TextBox,       L"",                     120, 5520, 7095,  975, kReadOnlyBox,       kPt, nullptr},
  {"cmdFind",         ControlKind::CommandButton, L"Find",                6120, 5040,  975,  375, kNoOptions,         kPt, nullptr},
  {"txtFind",         ControlKind::TextBox,       L"Policies",             120, 5040, 1335,  285, kNoOptions,         kPt, nullptr},
  {"chkKeys",         ControlKind::CheckBox,      L"Keys",                2280, 5040,  735,  255, kChecked,           kPt, nullptr},
  {"chkValues",       ControlKind::CheckBox,      L"Values",              3000, 5040,  855,  255, kNoOptions,         kPt, nullptr},
  {"chkDatas",        ControlKind::CheckBox,      L"Data",                3840, 5040,  735,  255, kNoOptions,         kPt, nullptr},
  {"chkFastFind",     ControlKind::CheckBox,      L"Fast",                4560, 5040,  615,  255, kNoOptions,         kPt, nullptr},
  {"chkFindBinary",   ControlKind::CheckBox,      L"Binary",              5280, 5040,  735,  255, kDisabled,          kPt, nullptr},
  {"chkHive",         ControlKind::CheckBox,      L"Hive",                1560, 5040,  735,  255, kChecked,           kPt, nullptr},
  {"txtGoTo",         ControlKind::ComboBox,      L"",                     120, 4560, 4215,  315, kNoOptions,         kPt, nullptr},
  {"cmdDeleteGoto",   ControlKind::CommandButton, L"Remove Favorite",     2160, 3720, 1575,  375, kNoOptions,         kPt, nullptr},
  {"picTitle",        ControlKind::PictureBox,    L"",                       0,  120, 9045,  375, kNoOptions,         kPt, nullptr},
  {"lblTitle",        ControlKind::Label,         L"",                     120,   60, 5835,  240, kWhiteTransparent,  kTitlePt, "picTitle"},
}};
// clang-format on

}  // namespace quillon
