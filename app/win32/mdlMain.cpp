// Main over the Win32 runtime, the advapi32 registry and user32's icons. It lives with the platform layer because
// it picks the implementations; the decisions it takes are the portable ones of app/mdlMain.h.
#include "app/mdlMain.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/mdlModes.h"
#include "app/mdlSetFormIcon32.h"
#include "app/win32/Win32IconPlatform.h"
#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"

namespace quillon {

namespace {

// The request names the extended combo box classes; the structure is two 32-bit fields.
void RequestCommonControls() noexcept {
  static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "the request is two 32-bit fields");
  INITCOMMONCONTROLSEX request{};
  request.dwSize = sizeof(request);
  request.dwICC = ICC_USEREX_CLASSES;
  // A system without the extended classes still runs the program: the result is not looked at.
  static_cast<void>(InitCommonControlsEx(&request));
}

}  // namespace

int Main() {
  try {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registry::Win32Registry registry;
    runtime::Win32Runtime runtime(instance, std::wstring(ArgumentText(GetCommandLineW())));

    // Neither the identity nor the common-controls request may stop the start: their errors are ignored.
    try {
      InitProductInfo(runtime.App());
    } catch (...) {
    }
    RequestCommonControls();

    const std::wstring arguments = runtime.App().Command();
    Win32IconPlatform icons(instance);
    frmRegEdit window(runtime, registry, [&icons](std::uint32_t hWnd, const std::string& iconName) {
      SetFormIcon(icons, hWnd, iconName, IconTarget::kWindowAndOwner);
    });
    ShowMainWindow(window, arguments);
    return runtime.RunMessageLoop();
  } catch (...) {
    // An error past start-up is not trapped: it ends the program, with an exit code that says so.
    return 1;
  }
}

}  // namespace quillon
