// Creating and deleting subkeys of the current key, and values of the key whose values List3 shows. The handlers
// edit List2 and List3 in place instead of listing the registry again, whatever the registry said.
// Their keys are resolved with OpenKeyPath like every other handler's: a component that does not open is skipped,
// so after a double-click on a key that cannot be opened the buttons act on the key whose subkeys List2 shows.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/ScopedKey.h"
#include "registry/modRegistry.h"
#include "runtime/strings/TextFunctions.h"
#include "window/frmRegEdit.h"

namespace quillon {

namespace {

// Yes and No with No as the default and the stop icon: a slip of the Enter key must not delete anything.
constexpr int kConfirmDeleteStyle = runtime::kYesNo | runtime::kCritical | runtime::kDefaultButton2;
// The number conversion error: the stop icon and an OK button.
constexpr int kErrorStyle = runtime::kOkOnly | runtime::kCritical;

using registry::ScopedKey;

bool IsBlank(const std::wstring& text) { return runtime::Trim(text).empty(); }

// The up entry is recognised by its first two characters, so a subkey named "..x" counts as one too.
bool IsUpEntry(const std::wstring& entry) { return entry.substr(0, 2) == L".."; }

/// The window state the value handlers work on.
struct ValueEditContext {
  runtime::Runtime& forms;
  registry::RegistryApi& registry;
  const std::wstring& currentKeyPath;
  const runtime::ListBox& subkeys;   // List2
  runtime::ListBox& values;          // List3
  const runtime::TextBox& shownKey;  // txtKey
};

/// The key whose values List3 lists. A single click in List2 previews a subkey (or, for "..", the parent) without
/// moving the current key; txtKey then differs from the current key and names the previewed one.
std::wstring TargetPath(const ValueEditContext& context) {
  const std::wstring& current = context.currentKeyPath;
  const int index = context.subkeys.ListIndex();
  if (index == -1 || context.shownKey.Text() == current) return current;

  const std::wstring entry = context.subkeys.List(index);
  if (!IsUpEntry(entry)) return current + L"\\" + entry;
  const std::int32_t lastSlash = InstrRev(current, L"\\");
  // A bare hive has no parent: a click on ".." there leaves txtKey, and List3, on the key shown before.
  if (lastSlash == 0) return context.shownKey.Text();
  return current.substr(0, static_cast<std::size_t>(lastSlash) - 1);
}

using ValueData = std::optional<std::vector<std::uint8_t>>;

/// How one kind of value is asked for and stored.
struct ValueKind {
  const wchar_t* dataPrompt;
  std::uint32_t type;
  /// Turns the data answer into the bytes to write; nothing means the handler stops without writing.
  ValueData (*prepare)(runtime::Runtime& forms, const std::wstring& answer);
};

// Text is stored in the ANSI code page with its closing NUL, which the size counts.
ValueData PrepareString(runtime::Runtime& forms, const std::wstring& answer) {
  const std::string bytes = forms.Text().ToAnsi(answer);
  std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
  data.push_back(0);
  return data;
}

// A 32-bit signed number, low byte first. A number out of range is reported and then stored as 0: the command shows
// the conversion error and goes on with the statement after the conversion.
ValueData PrepareNumber(runtime::Runtime& forms, const std::wstring& answer) {
  if (!runtime::IsNumeric(answer)) return std::nullopt;
  std::int32_t number = 0;
  if (const std::optional<runtime::RuntimeError> error = runtime::CLng(answer, number)) {
    forms.MsgBox(error->description, kErrorStyle);
  }
  const auto bits = static_cast<std::uint32_t>(number);
  return std::vector<std::uint8_t>{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                   static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

// One byte per character of the trimmed answer, its ANSI code, with no terminator. A character that the code page
// writes with more than one byte contributes its first byte only.
ValueData PrepareBinary(runtime::Runtime& forms, const std::wstring& answer) {
  std::vector<std::uint8_t> data;
  for (const wchar_t character : runtime::Trim(answer)) {
    const std::string code = forms.Text().ToAnsi(std::wstring(1, character));
    data.push_back(code.empty() ? std::uint8_t{'?'} : static_cast<std::uint8_t>(code.front()));
  }
  return data;
}

constexpr ValueKind kStringKind{L"Enter Data", registry::kRegSz, PrepareString};
constexpr ValueKind kNumberKind{L"Enter Numeric Data", registry::kRegDword, PrepareNumber};
constexpr ValueKind kBinaryKind{L"Enter String Data", registry::kRegBinary, PrepareBinary};

void CreateValue(const ValueEditContext& context, const ValueKind& kind) {
  if (IsBlank(context.currentKeyPath)) return;
  // An empty name, which Cancel also gives, addresses the key's default value.
  const std::wstring name = context.forms.InputBox(L"Enter Value Name");
  if (runtime::IsNumeric(name)) return;
  const ValueData data = kind.prepare(context.forms, context.forms.InputBox(kind.dataPrompt));
  if (!data) return;

  const runtime::PlatformText& text = context.forms.Text();
  ScopedKey key(context.registry, registry::OpenKeyPath(context.registry, text, TargetPath(context)));
  if (!key) return;
  // An empty binary value still passes a valid address along with its zero size.
  static const std::uint8_t kNoData = 0;
  context.registry.SetValueEx(key.Get(), text.ToAnsi(name), kind.type, data->empty() ? &kNoData : data->data(),
                              static_cast<std::uint32_t>(data->size()));
  context.registry.FlushKey(key.Get());
  key.Close();
  context.values.AddItem(name);
}

}  // namespace

void frmRegEdit::cmdCreateSubKey_Click() {
  if (IsBlank(CurrentKeyPath_)) return;
  // The name is used exactly as typed: blanks around it belong to the key's name.
  const std::wstring name = runtime_.InputBox(L"Enter Key Name");
  if (IsBlank(name)) return;
  if (runtime::IsNumeric(name)) return;

  ScopedKey parent(registry_, OpenKeyPath(CurrentKeyPath_));
  if (!parent) return;
  registry::Key created = 0;
  const registry::Status status = registry_.CreateKey(parent.Get(), runtime_.Text().ToAnsi(name), created);
  // Only a successful create hands back a key of ours to close.
  ScopedKey child(registry_, status == registry::kSuccess ? created : 0);
  parent.Close();
  child.Close();
  List2->AddItem(name);
}

void frmRegEdit::cmdDeleteKey_Click() {
  if (IsBlank(CurrentKeyPath_)) return;
  const int index = List2->ListIndex();
  if (index == -1) return;
  const std::wstring name = List2->List(index);
  if (IsBlank(name)) return;

  std::wstring parentPath = CurrentKeyPath_;
  if (parentPath.back() == L'\\') parentPath.pop_back();
  ScopedKey parent(registry_, OpenKeyPath(parentPath));
  if (!parent) return;
  if (runtime_.MsgBox(L"Are Sure to Delete this key?", kConfirmDeleteStyle, L"Delete " + name) !=
      runtime::kAnswerYes) {
    return;
  }
  // The platform deletes a name by following it: on a link that would delete the key the link leads to, which the
  // user never picked. So the key is opened as it stands, a link itself, and exactly that key is deleted; the
  // platform refuses it while it still has subkeys. A key that does not open cannot be deleted by us either.
  registry::Key opened = 0;
  static_cast<void>(registry_.OpenLink(parent.Get(), runtime_.Text().ToAnsi(name), opened));
  ScopedKey picked(registry_, opened == parent.Get() ? 0 : opened);
  if (picked) registry_.DeleteKey(picked.Get(), std::string());
  picked.Close();
  parent.Close();
  List2->RemoveItem(List2->ListIndex());
}

void frmRegEdit::cmdCreateValueS_Click() {
  CreateValue({runtime_, registry_, CurrentKeyPath_, *List2, *List3, *txtKey}, kStringKind);
}

void frmRegEdit::cmdCreateValueN_Click() {
  CreateValue({runtime_, registry_, CurrentKeyPath_, *List2, *List3, *txtKey}, kNumberKind);
}

void frmRegEdit::cmdCreateValueB_Click() {
  CreateValue({runtime_, registry_, CurrentKeyPath_, *List2, *List3, *txtKey}, kBinaryKind);
}

void frmRegEdit::cmdDeleteValue_Click() {
  if (IsBlank(CurrentKeyPath_)) return;
  const int index = List3->ListIndex();
  if (index == -1) return;
  // The empty first entry names the default value.
  const std::wstring name = List3->List(index);

  const ValueEditContext context{runtime_, registry_, CurrentKeyPath_, *List2, *List3, *txtKey};
  ScopedKey key(registry_, OpenKeyPath(TargetPath(context)));
  if (!key) return;
  if (runtime_.MsgBox(L"Are Sure to Delete this Value?", kConfirmDeleteStyle, L"Delete " + name) !=
      runtime::kAnswerYes) {
    return;
  }
  registry_.DeleteValue(key.Get(), runtime_.Text().ToAnsi(name));
  key.Close();
  List3->RemoveItem(List3->ListIndex());
}

}  // namespace quillon
