// A search over a random tree with random links (to any key, to ancestors, to other links, to nowhere, to
// themselves): it ends, leaves no key open, lists no line twice, and no key it enters is a key on its way down or
// above one.
#include <algorithm>
#include <set>

#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

namespace {

/// Whether the key named `inner` is the key named `outer` or lies below it (KeyName spells each key one way).
bool IsSameOrBelow(const std::u16string& inner, const std::u16string& outer) {
  return inner.compare(0, outer.size(), outer) == 0 && (inner.size() == outer.size() || inner[outer.size()] == u'\\');
}

/// The names in the registry's namespace of the keys a path in HKCU goes through, the hive's first, each opened
/// from the hive as the platform follows links; short when a part does not open.
std::vector<std::u16string> NamesAlong(registry::MemoryRegistry& tree, const std::string& path) {
  std::vector<std::u16string> names(1);
  fuzz::Require(tree.KeyName(registry::kCurrentUser, names[0]) == registry::kSuccess, "the hive has a name");
  const std::size_t first = path.find('\\');
  for (std::size_t end = first, next; end != std::string::npos; end = next) {
    next = path.find('\\', end + 1);
    registry::Key key = 0;
    const std::string below = path.substr(first + 1, next == std::string::npos ? next : next - first - 1);
    if (tree.OpenKey(registry::kCurrentUser, below, key) != registry::kSuccess) break;
    names.emplace_back();
    fuzz::Require(tree.KeyName(key, names.back()) == registry::kSuccess, "an open key has a name");
    tree.CloseKey(key);
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input read a byte at a time, each taken modulo `bound`; past its end every byte is 0.
  std::size_t at = 0;
  const auto next = [&](unsigned bound) { return bound == 0 ? 0u : (at < size ? data[at++] : 0u) % bound; };
  registry::MemoryRegistry tree;
  // Keys below HKCU\F, each below an earlier one, and links below any of them to any key, link or nowhere.
  std::vector<std::string> keys{"F"}, targets{"HKCU", "HKCU\\F\\Missing"};
  const unsigned keyCount = 1 + next(12);
  for (unsigned i = 1; i < keyCount; ++i) keys.push_back(keys[next(i)] + "\\k" + std::to_string(i));
  for (const std::string& key : keys) {
    tree.PutString("HKCU\\" + key, "v", "x");
    targets.push_back("HKCU\\" + key);
  }
  const unsigned linkCount = next(9);
  std::vector<std::string> links;
  for (unsigned i = 0; i < linkCount; ++i) links.push_back("HKCU\\" + keys[next(keyCount)] + "\\L" + std::to_string(i));
  targets.insert(targets.end(), links.begin(), links.end());
  for (const std::string& link : links) tree.PutLink(link, targets[next(static_cast<unsigned>(targets.size()))]);

  runtime::HeadlessRuntime runtime;
  frmRegEdit window(runtime, tree, nullptr);
  window.Show();
  const bool valuesToo = next(2) == 1;  // Keys is checked from the start
  window.chkValues->SetValue(valuesToo ? 1 : 0);
  window.chkDatas->SetValue(valuesToo ? 1 : 0);
  window.chkFastFind->SetValue(1);
  window.txtFind->SetText(L"");
  window.List1->SetSelected(1, true);  // HKEY_CURRENT_USER
  window.chkHive->SetValue(0);
  window.txtKey->SetText(L"HKEY_CURRENT_USER\\" + fuzz::Text().FromAnsi(keys[next(keyCount)]));
  window.cmdFind_Click();
  fuzz::Require(tree.OpenHandleCount() == 0, "no key left open");

  const std::wstring text = window.txtFindList->Text();
  std::set<std::wstring> seen;
  for (std::size_t start = 0, end = text.find(L"\r\n"); end != std::wstring::npos;
       start = end + 2, end = text.find(L"\r\n", start)) {
    const std::wstring line = text.substr(start, end - start);
    fuzz::Require(seen.insert(line).second, "no line twice");
    if (line.rfind(L"Key : ", 0) != 0) continue;
    // The key listed is an entry of its parent, which the walk entered, as it entered every key above it.
    const std::string path = fuzz::Text().ToAnsi(line.substr(6));
    const std::string parent = path.substr(0, path.rfind('\\'));
    const std::vector<std::u16string> names = NamesAlong(tree, parent);
    fuzz::Require(names.size() == 1 + static_cast<std::size_t>(std::count(parent.begin(), parent.end(), '\\')),
                  "every key the walk entered opens");
    for (std::size_t later = 1; later < names.size(); ++later) {
      for (std::size_t earlier = 0; earlier < later; ++earlier)
        fuzz::Require(!IsSameOrBelow(names[earlier], names[later]), "no key on the way down is entered again");
    }
  }
  return 0;
}
