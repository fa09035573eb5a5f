// A search over a random tree with random links (to any key, to ancestors, to other links, to nowhere, to
// themselves): it ends, leaves no key open, lists no line twice, and no key it enters is a key on its way down or
// above one.
#include <algorithm>
#include <set>

#include "tests/fuzz/FuzzSupport.h"

using namespace quillon;

namespace {

/// Reads the input a byte at a time; past its end every byte is 0.
struct Bytes {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  unsigned Next(unsigned bound) { return bound == 0 ? 0 : (at < size ? data[at++] : 0u) % bound; }
};

/// Whether the key named `inner` is the key named `outer` or lies below it (KeyName spells each key one way).
bool IsSameOrBelow(const std::u16string& inner, const std::u16string& outer) {
  return inner.compare(0, outer.size(), outer) == 0 && (inner.size() == outer.size() || inner[outer.size()] == u'\\');
}

/// The names in the registry's namespace of the keys a listed path goes through, from the hive down, each opened
/// as the platform follows it; short when a part no longer opens.
std::vector<std::u16string> NamesAlong(registry::MemoryRegistry& tree, const std::string& path) {
  std::vector<std::u16string> names;
  registry::Key key = registry::kCurrentUser;
  std::u16string name;
  fuzz::Require(tree.KeyName(key, name) == registry::kSuccess, "the hive has a name");
  names.push_back(name);
  for (std::size_t start = path.find('\\') + 1; start != 0;) {
    const std::size_t end = path.find('\\', start);
    registry::Key next = 0;
    if (tree.OpenKey(key, path.substr(start, end == std::string::npos ? end : end - start), next) != 0) break;
    if (key != registry::kCurrentUser) tree.CloseKey(key);
    key = next;
    fuzz::Require(tree.KeyName(key, name) == registry::kSuccess, "an open key has a name");
    names.push_back(name);
    start = end + 1;
  }
  if (key != registry::kCurrentUser) tree.CloseKey(key);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in{data, size};
  registry::MemoryRegistry tree;
  // Keys below HKCU\F, each below an earlier one, and links below any of them to any key, link or nowhere.
  std::vector<std::string> keys{"F"}, targets{"HKCU", "HKCU\\F\\Missing"};
  const unsigned keyCount = 1 + in.Next(12);
  for (unsigned i = 1; i < keyCount; ++i) keys.push_back(keys[in.Next(i)] + "\\k" + std::to_string(i));
  for (const std::string& key : keys) {
    tree.PutString("HKCU\\" + key, "v", "x");
    targets.push_back("HKCU\\" + key);
  }
  const unsigned linkCount = in.Next(9);
  std::vector<std::string> links;
  for (unsigned i = 0; i < linkCount; ++i) links.push_back("HKCU\\" + keys[in.Next(keyCount)] + "\\L" + std::to_string(i));
  targets.insert(targets.end(), links.begin(), links.end());
  for (const std::string& link : links) tree.PutLink(link, targets[in.Next(static_cast<unsigned>(targets.size()))]);

  runtime::HeadlessRuntime runtime;
  frmRegEdit window(runtime, tree, nullptr);
  window.Show();
  const bool valuesToo = in.Next(2) == 1;
  window.chkKeys->SetValue(1);
  window.chkValues->SetValue(valuesToo ? 1 : 0);
  window.chkDatas->SetValue(valuesToo ? 1 : 0);
  window.chkFastFind->SetValue(1);
  window.txtFind->SetText(L"");
  window.List1->SetSelected(1, true);  // HKEY_CURRENT_USER
  window.chkHive->SetValue(0);
  window.txtKey->SetText(L"HKEY_CURRENT_USER\\" + fuzz::Text().FromAnsi(keys[in.Next(keyCount)]));
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
      for (std::size_t earlier = 0; earlier < later; ++earlier) {
        fuzz::Require(!IsSameOrBelow(names[earlier], names[later]), "no key on the way down is entered again");
      }
    }
  }
  return 0;
}
