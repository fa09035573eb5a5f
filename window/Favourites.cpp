// Favourites: the key paths the user went to, kept in the per-user settings store and offered in the drop-down list
// of the Go To box, and the Go To command, which walks the three lists to a typed, picked or clicked path.
#include "window/frmRegEdit.h"

#include <exception>
#include <string>

#include "registry/modRegistry.h"
#include "runtime/strings/TextFunctions.h"

namespace quillon {

namespace {

constexpr const wchar_t* kGotoSection = L"Goto";

// Written first on every fill: the section always exists, the list always starts with an empty entry, and the
// favourites after it take the positions 1, 2, ... that are also their keys.
constexpr const wchar_t* kPlaceholderKey = L" ";

bool KeysMatchPositions(const runtime::SettingsStore::Pairs& pairs) {
  if (pairs.empty() || pairs.front().first != kPlaceholderKey) return false;
  for (std::size_t position = 1; position < pairs.size(); ++position) {
    if (pairs[position].first != std::to_wstring(position)) return false;
  }
  return true;
}

/// The favourites with keys equal to their positions in the list. Go To stores a new favourite under the number of
/// entries and Remove Favorite deletes the key numbered like the picked entry, so both rely on it; once a favourite
/// in the middle is gone the numbers have a gap, the next favourite would overwrite the last one and a removal
/// would hit the entry below the picked one. The favourites are then saved again, placeholder first, under 1, 2,
/// ... in their listed order.
runtime::SettingsStore::Pairs FavouritesInStep(runtime::SettingsStore& store, const std::wstring& app) {
  runtime::SettingsStore::Pairs pairs = store.GetAllSettings(app, kGotoSection);
  if (KeysMatchPositions(pairs)) return pairs;

  for (const auto& pair : pairs) (void)store.DeleteSetting(app, kGotoSection, pair.first);
  store.SaveSetting(app, kGotoSection, kPlaceholderKey, L"");
  std::size_t number = 0;
  for (const auto& [key, value] : pairs) {
    if (key != kPlaceholderKey) store.SaveSetting(app, kGotoSection, std::to_wstring(++number), value);
  }
  return store.GetAllSettings(app, kGotoSection);
}

}  // namespace

void frmRegEdit::FillGotoList() {
  runtime::SettingsStore& store = runtime_.Settings();
  const std::wstring app = runtime_.App().EXEName();
  store.SaveSetting(app, kGotoSection, kPlaceholderKey, L"");
  const runtime::SettingsStore::Pairs favourites = FavouritesInStep(store, app);
  txtGoTo->Clear();
  for (const auto& favourite : favourites) txtGoTo->AddItem(favourite.second);
}

void frmRegEdit::cmdGoTo_Click() {
  const std::wstring typed = txtGoTo->Text();
  const std::wstring path = runtime::Trim(typed);
  if (path.empty()) return;

  // Every text not yet listed, exactly as it stands, becomes a favourite, even one that leads nowhere.
  bool listed = false;
  for (int i = 0; i < txtGoTo->ListCount() && !listed; ++i) listed = txtGoTo->List(i) == typed;
  if (!listed) {
    runtime_.Settings().SaveSetting(runtime_.App().EXEName(), kGotoSection, std::to_wstring(txtGoTo->ListCount()),
                                    typed);
    FillGotoList();
  }

  const std::size_t slash = path.find(L'\\');
  std::wstring remainder = slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
  const registry::HiveRow* hive = registry::FindHive(runtime_.Text().UCase(path.substr(0, slash)));
  if (hive == nullptr) return;
  const std::wstring hiveName = hive->fullName;

  const runtime::PlatformText& text = runtime_.Text();
  const std::wstring hiveLower = text.LCase(hiveName);
  for (int i = 0; i < List1->ListCount(); ++i) {
    if (text.LCase(List1->List(i)).find(hiveLower) == std::wstring::npos) continue;
    // Other hives the user selected for a search stay selected.
    List1->SetListIndex(i);
    List1->SetSelected(i, true);
    break;
  }
  List1_Click();

  // Each component is selected by its name, which shows its values, then entered; one that names no subkey
  // selects nothing, and the walk goes on from the same key.
  for (std::size_t next = remainder.find(L'\\'); next != std::wstring::npos; next = remainder.find(L'\\')) {
    List2->SetText(remainder.substr(0, next));
    List2_DblClick();
    remainder.erase(0, next + 1);
  }

  const std::wstring last = runtime::Trim(remainder);
  if (last.empty() || last == hiveName) return;
  List2->SetText(last);
  List2_DblClick();

  // The last component may name a value of the key reached. A failure while showing it leaves the window on the
  // key, as the user would expect from a path that ends in a value that cannot be read.
  try {
    const std::wstring lastLower = text.LCase(last);
    for (int i = 0; i < List3->ListCount(); ++i) {
      if (text.LCase(List3->List(i)).find(lastLower) == std::wstring::npos) continue;
      List3->SetSelected(i, true);
      break;
    }
  } catch (const std::exception&) {
  }
}

void frmRegEdit::cmdDeleteGoto_Click() {
  // The empty text is the placeholder entry, which stays.
  if (txtGoTo->Text().empty()) return;
  // A typed or edited text has the index -1; no key has that name, so nothing is deleted.
  (void)runtime_.Settings().DeleteSetting(runtime_.App().EXEName(), kGotoSection,
                                          std::to_wstring(txtGoTo->ListIndex()));
  FillGotoList();
}

}  // namespace quillon
