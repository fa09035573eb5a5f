// Filling the subkey and value lists from an open key, and finding the last backslash of a path.
#include "runtime/strings/TextFunctions.h"
#include "window/frmRegEdit.h"

namespace quillon {

namespace {

// Names come back in a buffer of 250 blanks; the platform writes the name and its NUL into the front of it.
constexpr std::uint32_t kNameBufferSize = 250;

std::wstring CutAtNul(const std::wstring& text) {
  const auto nul = text.find(L'\0');
  return nul == std::wstring::npos ? text : text.substr(0, nul);
}

// RAII bracket that switches a list's redrawing off while it is filled.
class ListUpdate {
 public:
  explicit ListUpdate(runtime::ListBox& list) : list_(list) { list_.BeginUpdate(); }
  ~ListUpdate() { list_.EndUpdate(); }
  ListUpdate(const ListUpdate&) = delete;
  ListUpdate& operator=(const ListUpdate&) = delete;

 private:
  runtime::ListBox& list_;
};

}  // namespace

std::int32_t frmRegEdit::RegistryEnumKeys(registry::Key mKey, runtime::ListBox& lst, bool lClear) {
  if (lClear) lst.Clear();
  {
    ListUpdate update(lst);
    for (std::uint32_t index = 0;; ++index) {
      std::string buffer(kNameBufferSize, ' ');
      const registry::Status status = registry_.EnumKey(mKey, index, buffer);
      // Any failure ends the listing: the normal end, and also a name too long for the buffer.
      if (status != registry::kSuccess) break;
      const std::wstring name = runtime::Trim(runtime_.Text().FromAnsi(buffer));
      if (!name.empty()) lst.AddItem(CutAtNul(name));
    }
  }
  registry_.CloseKey(mKey);
  return 0;
}

std::int32_t frmRegEdit::RegistryEnumValues(registry::Key mKey, runtime::ListBox& lst, bool lClear) {
  if (lClear) lst.Clear();
  ListUpdate update(lst);
  // The empty entry stands for the key's unnamed value, whether or not it has one.
  lst.AddItem(std::wstring());
  for (std::uint32_t index = 0;; ++index) {
    std::string buffer(kNameBufferSize, ' ');
    std::uint32_t size = kNameBufferSize;
    const registry::Status status = registry_.EnumValue(mKey, index, buffer, size, nullptr, nullptr, nullptr);
    // A failed call adds nothing. The platform fills the buffer with the front of a value name too long for it,
    // and that cut name names no value, so it must not be listed.
    if (status != registry::kSuccess) break;
    const std::wstring name = runtime::Trim(runtime_.Text().FromAnsi(buffer));
    // The unnamed value comes back as a lone NUL; it is already listed as the empty entry.
    if (!name.empty() && name != std::wstring(1, L'\0')) lst.AddItem(CutAtNul(name));
  }
  return 0;
}

std::int32_t InstrRev(const std::wstring& str, const std::wstring& stC) {
  if (stC.empty()) return 0;
  const auto position = str.rfind(stC);
  return position == std::wstring::npos ? 0 : static_cast<std::int32_t>(position) + 1;
}

}  // namespace quillon
