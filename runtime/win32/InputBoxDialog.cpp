#include "runtime/win32/InputBoxDialog.h"

#include <vector>

#include "runtime/win32/Win32Controls.h"
#include "runtime/textview/win32/Win32TextView.h"

namespace quillon::runtime::win32 {

namespace {

/// Builds a DLGTEMPLATE and its items in memory, in the layout DialogBoxIndirectParam reads: words, with every
/// item starting on a 32-bit boundary.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const std::wstring& caption, short fontPoints,
                 const wchar_t* fontName) {
    AddDword(style);
    AddDword(0);                                // extended style
    countAt_ = words_.size();
    words_.push_back(0);                        // item count, filled in as items come
    AddPoint(0, 0, width, height);
    words_.push_back(0);                        // no menu
    words_.push_back(0);                        // the standard dialog class
    AddString(caption.c_str());
    words_.push_back(static_cast<WORD>(fontPoints));
    AddString(fontName);
  }

  /// `systemClass` is one of the predefined class atoms: 0x80 button, 0x81 edit, 0x82 static.
  void AddItem(DWORD style, short x, short y, short width, short height, int id, WORD systemClass,
               const std::wstring& text) {
    if (words_.size() % 2 != 0) words_.push_back(0);
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);
    AddPoint(x, y, width, height);
    words_.push_back(static_cast<WORD>(id));
    words_.push_back(0xFFFF);
    words_.push_back(systemClass);
    AddString(text.c_str());
    words_.push_back(0);  // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void AddPoint(short x, short y, short width, short height) {
    for (short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
  }
  void AddString(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }

  // std::vector's storage is aligned for any fundamental type, so the template starts on a 32-bit boundary.
  std::vector<WORD> words_;
  std::size_t countAt_ = 0;
};

constexpr WORD kButtonClass = 0x80;
constexpr WORD kEditClass = 0x81;
constexpr WORD kStaticClass = 0x82;

struct InputBoxState {
  std::wstring defaultText;
  std::wstring answer;
  /// The answer field shows what is typed through a view of our own, as every text box of the runtime does.
  Win32TextView field;
};

INT_PTR OnInputBoxCommand(HWND dialog, int id) noexcept {
  if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  if (id != IDOK) return FALSE;
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  try {
    if (state) state->answer = WindowText(GetDlgItem(dialog, kInputBoxEditId));
  } catch (...) {
    // Out of memory for the answer: treat it as Cancel rather than let the failure cross the dialog manager.
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  EndDialog(dialog, IDOK);
  return TRUE;
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      try {
        state->field.Attach(GetDlgItem(dialog, kInputBoxEditId));
        state->field.SetText(state->defaultText);
      } catch (...) {
        // Out of memory for the default text: the field starts empty.
      }
      // TRUE: the dialog manager focuses the edit field, selecting the default text.
      return TRUE;
    }
    case WM_COMMAND:
      return OnInputBoxCommand(dialog, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

std::wstring RunInputBox(HINSTANCE instance, HWND owner, const std::wstring& prompt, const std::wstring& caption,
                         const std::wstring& defaultText) {
  // Dialog units; the prompt wraps in its box to the left of the buttons, the edit field runs along the bottom.
  DialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER, 250, 92,
                        caption, 8, L"MS Shell Dlg");
  layout.AddItem(SS_LEFT | SS_NOPREFIX, 7, 7, 180, 56, kInputBoxPromptId, kStaticClass, prompt);
  layout.AddItem(WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 7, 70, 236, 13, kInputBoxEditId, kEditClass, L"");
  layout.AddItem(WS_TABSTOP | BS_DEFPUSHBUTTON, 193, 7, 50, 14, IDOK, kButtonClass, L"OK");
  layout.AddItem(WS_TABSTOP | BS_PUSHBUTTON, 193, 25, 50, 14, IDCANCEL, kButtonClass, L"Cancel");

  InputBoxState state;
  state.defaultText = defaultText;
  const INT_PTR result = DialogBoxIndirectParamW(instance, layout.Get(), owner, InputBoxProcedure,
                                                 reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? state.answer : std::wstring();
}

}  // namespace quillon::runtime::win32
