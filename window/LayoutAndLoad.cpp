// The window's construction from its control table, the binding of its events, and its load sequence.
#include "window/frmRegEdit.h"

#include <cstring>
#include <map>

#include "app/mdlModes.h"
#include "registry/modRegistry.h"
#include "runtime/strings/TextFunctions.h"
#include "window/ControlTable.h"

namespace quillon {

namespace {

// The hive names in the order the hive list shows them.
constexpr const wchar_t* kHiveListOrder[] = {
    L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_CONFIG",
    L"HKEY_DYN_DATA",     L"HKEY_PERFORMANCE_DATA", L"HKEY_USERS",
};

}  // namespace

frmRegEdit::frmRegEdit(runtime::Runtime& runtime, registry::RegistryApi& registry, IconSetter setIcon)
    : runtime_(runtime),
      registry_(registry),
      setIcon_(std::move(setIcon)),
      form_(runtime.CreateForm(kClientWidthTwips, kClientHeightTwips, kWindowFont)) {
  CreateControls();
  BindEvents();
}

frmRegEdit::~frmRegEdit() = default;

void frmRegEdit::CreateControls() {
  // Each control lands in the member of its name; the table keeps the tab order.
  const std::map<std::string, runtime::ListBox**> lists{{"List1", &List1}, {"List2", &List2}, {"List3", &List3}};
  const std::map<std::string, runtime::TextBox**> texts{
      {"txtValue", &txtValue},       {"txtKey", &txtKey},           {"txtValueName", &txtValueName},
      {"txtValueHex", &txtValueHex}, {"txtFindList", &txtFindList}, {"txtFind", &txtFind}};
  const std::map<std::string, runtime::CommandButton**> buttons{
      {"cmdCreateSubKey", &cmdCreateSubKey}, {"cmdGoTo", &cmdGoTo},
      {"cmdDeleteKey", &cmdDeleteKey},       {"cmdCreateValueS", &cmdCreateValueS},
      {"cmdCreateValueN", &cmdCreateValueN}, {"cmdDeleteValue", &cmdDeleteValue},
      {"cmdCreateValueB", &cmdCreateValueB}, {"cmdFind", &cmdFind},
      {"cmdDeleteGoto", &cmdDeleteGoto}};
  const std::map<std::string, runtime::CheckBox**> checks{
      {"chkKeys", &chkKeys},         {"chkValues", &chkValues},         {"chkDatas", &chkDatas},
      {"chkFastFind", &chkFastFind}, {"chkFindBinary", &chkFindBinary}, {"chkHive", &chkHive}};
  const std::map<std::string, runtime::Label**> labels{
      {"lblValueType", &lblValueType}, {"lblValueSize", &lblValueSize}, {"lblTitle", &lblTitle}};

  for (const runtime::ControlSpec& spec : kControlTable) {
    switch (spec.kind) {
      case runtime::ControlKind::ListBox:
        *lists.at(spec.name) = &form_->AddListBox(spec);
        break;
      case runtime::ControlKind::TextBox:
        *texts.at(spec.name) = &form_->AddTextBox(spec);
        break;
      case runtime::ControlKind::CommandButton:
        *buttons.at(spec.name) = &form_->AddCommandButton(spec);
        break;
      case runtime::ControlKind::CheckBox:
        *checks.at(spec.name) = &form_->AddCheckBox(spec);
        break;
      case runtime::ControlKind::Label:
        *labels.at(spec.name) = &form_->AddLabel(spec);
        break;
      case runtime::ControlKind::ComboBox:
        txtGoTo = &form_->AddComboBox(spec);
        break;
      case runtime::ControlKind::PictureBox:
        picTitle = &form_->AddPictureBox(spec);
        break;
    }
  }
}

void frmRegEdit::BindEvents() {
  form_->Load = [this] { Form_Load(); };
  List1->Click = [this] { List1_Click(); };
  List2->Click = [this] { List2_Click(); };
  List2->DblClick = [this] { List2_DblClick(); };
  List3->Click = [this] { List3_Click(); };
  cmdCreateSubKey->Click = [this] { cmdCreateSubKey_Click(); };
  cmdDeleteKey->Click = [this] { cmdDeleteKey_Click(); };
  cmdCreateValueS->Click = [this] { cmdCreateValueS_Click(); };
  cmdCreateValueN->Click = [this] { cmdCreateValueN_Click(); };
  cmdCreateValueB->Click = [this] { cmdCreateValueB_Click(); };
  cmdDeleteValue->Click = [this] { cmdDeleteValue_Click(); };
  cmdFind->Click = [this] { cmdFind_Click(); };
  chkKeys->Click = [this] { chkKeys_Click(); };
  chkValues->Click = [this] { chkValues_Click(); };
  chkDatas->Click = [this] { chkDatas_Click(); };
  txtFindList->Click = [this] { txtFindList_Click(); };
  cmdGoTo->Click = [this] { cmdGoTo_Click(); };
  cmdDeleteGoto->Click = [this] { cmdDeleteGoto_Click(); };
}

void frmRegEdit::Form_Load() {
  if (setIcon_) setIcon_(form_->Handle(), "AAA");
  InitProductInfo(runtime_.App());
  form_->SetCaption(ProductInfo.ProductName);
  lblTitle->SetCaption(ProductInfo.ProductName);
  std::int32_t color = 0;
  if (!runtime::CLng(ProductInfo.TitleColor, color)) picTitle->SetBackColor(static_cast<std::uint32_t>(color));
  for (const wchar_t* hive : kHiveListOrder) List1->AddItem(hive);
  FillGotoList();
}

registry::Key frmRegEdit::OpenKeyPath(const std::wstring& path) {
  return registry::OpenKeyPath(registry_, runtime_.Text(), path);
}

}  // namespace quillon
