// Walking the tree with the three lists: a hive click opens the hive, a single click on a subkey previews its
// values, a double click enters it, and the entry ".." goes up one level.
#include "registry/ScopedKey.h"
#include "window/frmRegEdit.h"

namespace quillon {

namespace {

constexpr const wchar_t* kUpEntry = L"..";

// Any entry starting with two dots counts as the way up, so a subkey named "..x" behaves like "..".
bool IsUpEntry(const std::wstring& item) { return item.compare(0, 2, kUpEntry) == 0; }

// The text before the last backslash; a bare hive has no parent, and nothing is returned for it.
bool ParentOf(const std::wstring& path, std::wstring& parent) {
  const std::int32_t slash = InstrRev(path, L"\\");
  if (slash == 0) return false;
  parent = path.substr(0, static_cast<std::size_t>(slash) - 1);
  return true;
}

}  // namespace

void frmRegEdit::List1_Click() {
  if (List1->ListIndex() == -1) return;

  // Dropping the old subkey selection raises List2's click, which does nothing without a current entry.
  const int selectedSubkey = List2->ListIndex();
  if (selectedSubkey != -1) List2->SetSelected(selectedSubkey, false);

  CurrentKeyPath_ = List1->Text();
  txtKey->SetText(CurrentKeyPath_);

  const registry::ScopedKey key(registry_, OpenKeyPath(CurrentKeyPath_));
  if (!key) return;
  RegistryEnumKeys(key.Get(), *List2, true);
  // A hive's handle survives the close inside RegistryEnumKeys, so it still lists the values.
  RegistryEnumValues(key.Get(), *List3, true);
}

void frmRegEdit::List2_Click() {
  if (List2->ListIndex() == -1) return;

  const std::wstring item = List2->Text();
  if (IsUpEntry(item)) {
    std::wstring parent;
    if (ParentOf(CurrentKeyPath_, parent)) txtKey->SetText(parent);
  } else {
    txtKey->SetText(CurrentKeyPath_ + L"\\" + item);
  }

  const registry::ScopedKey key(registry_, OpenKeyPath(txtKey->Text()));
  if (!key) return;
  RegistryEnumValues(key.Get(), *List3, true);
}

void frmRegEdit::List2_DblClick() {
  if (List2->ListIndex() == -1) return;

  const std::wstring item = List2->Text();
  if (IsUpEntry(item)) {
    std::wstring parent;
    if (ParentOf(CurrentKeyPath_, parent)) CurrentKeyPath_ = parent;
  } else {
    CurrentKeyPath_ += L"\\" + item;
  }

  List2->Clear();
  List2->AddItem(kUpEntry);
  txtKey->SetText(CurrentKeyPath_);

  // The click before this double click has already listed the values; only the subkeys change. A path that gives
  // no key hands 0 on, which lists nothing and leaves ".." alone.
  RegistryEnumKeys(OpenKeyPath(CurrentKeyPath_), *List2, false);
}

}  // namespace quillon
