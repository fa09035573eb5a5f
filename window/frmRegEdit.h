#pragma once
/// The program's only window: three lists for hives, subkeys and values, the value panel, the editing buttons,
/// the search row and its results, and the favourites box. Written against the forms runtime and the registry
/// interface only, so the same code runs on real controls and in the headless runtime.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "registry/RegistryApi.h"
#include "runtime/Runtime.h"

namespace quillon {

class frmRegEdit {
 public:
  /// Sets the window's icons (SetFormIcon with the owner chain); given the window handle and the resource name.
  using IconSetter = std::function<void(std::uint32_t hWnd, const std::string& iconName)>;

  frmRegEdit(runtime::Runtime& runtime, registry::RegistryApi& registry, IconSetter setIcon);
  frmRegEdit(const frmRegEdit&) = delete;
  frmRegEdit& operator=(const frmRegEdit&) = delete;
  ~frmRegEdit();

  runtime::Form& Form() { return *form_; }
  /// Shows the window; the first Show runs Form_Load.
  void Show() { form_->Show(); }

  // Event handlers, bound to the controls' events.
  void Form_Load();
  void List1_Click();
  void List2_Click();
  void List2_DblClick();
  void List3_Click();
  void cmdCreateSubKey_Click();
  void cmdDeleteKey_Click();
  void cmdCreateValueS_Click();
  void cmdCreateValueN_Click();
  void cmdCreateValueB_Click();
  void cmdDeleteValue_Click();
  void cmdFind_Click();
  void chkKeys_Click();
  void chkValues_Click();
  void chkDatas_Click();
  void txtFindList_Click();
  void cmdGoTo_Click();
  void cmdDeleteGoto_Click();

  /// The key whose subkeys List2 shows; empty until a hive is clicked.
  const std::wstring& CurrentKeyPath() const { return CurrentKeyPath_; }

  // The controls, in tab order.
  runtime::ListBox* List1 = nullptr;
  runtime::ListBox* List2 = nullptr;
  runtime::ListBox* List3 = nullptr;
  runtime::TextBox* txtValue = nullptr;
  runtime::TextBox* txtKey = nullptr;
  runtime::CommandButton* cmdCreateSubKey = nullptr;
  runtime::CommandButton* cmdGoTo = nullptr;
  runtime::CommandButton* cmdDeleteKey = nullptr;
  runtime::Label* lblValueType = nullptr;
  runtime::CommandButton* cmdCreateValueS = nullptr;
  runtime::Label* lblValueSize = nullptr;
  runtime::CommandButton* cmdCreateValueN = nullptr;
  runtime::CommandButton* cmdDeleteValue = nullptr;
  runtime::TextBox* txtValueName = nullptr;
  runtime::CommandButton* cmdCreateValueB = nullptr;
  runtime::TextBox* txtValueHex = nullptr;
  runtime::TextBox* txtFindList = nullptr;
  runtime::CommandButton* cmdFind = nullptr;
  runtime::TextBox* txtFind = nullptr;
  runtime::CheckBox* chkKeys = nullptr;
  runtime::CheckBox* chkValues = nullptr;
  runtime::CheckBox* chkDatas = nullptr;
  runtime::CheckBox* chkFastFind = nullptr;
  runtime::CheckBox* chkFindBinary = nullptr;
  runtime::CheckBox* chkHive = nullptr;
  runtime::ComboBox* txtGoTo = nullptr;
  runtime::CommandButton* cmdDeleteGoto = nullptr;
  runtime::PictureBox* picTitle = nullptr;
  runtime::Label* lblTitle = nullptr;

  // Procedures of the window, public so that tests can drive them directly.
  // Enumeration into lists.
  std::int32_t RegistryEnumKeys(registry::Key mKey, runtime::ListBox& lst, bool lClear = false);
  std::int32_t RegistryEnumValues(registry::Key mKey, runtime::ListBox& lst, bool lClear = false);

  // Search walk.
  void AddFindKeys(const std::wstring& strKey);
  void AddFindValues(const std::wstring& strKey);

  // Favourites.
  void FillGotoList();

 private:
  /// OpenKeyPath over this window's registry and code page.
  registry::Key OpenKeyPath(const std::wstring& path);
  void CreateControls();
  void BindEvents();

  runtime::Runtime& runtime_;
  registry::RegistryApi& registry_;
  IconSetter setIcon_;
  std::unique_ptr<runtime::Form> form_;
  std::wstring CurrentKeyPath_;
};

/// 1-based position of the last occurrence of `stC` in `str`, 0 when there is none; case-sensitive.
std::int32_t InstrRev(const std::wstring& str, const std::wstring& stC);

}  // namespace quillon
