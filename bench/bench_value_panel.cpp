// How fast the value panel shows a large value, and how long the window keeps the user waiting meanwhile.
//
// Writes binary values of 1 MB and 8 MB (bytes of every value 0 to 255, in turn) and a string value of 1 MB under
// HKCU\Software\QuillonBench-<pid>, opens that key in the real window with Go To, then clicks each value in the
// value list with the mouse and times until the panel is painted, while another thread posts a message to the
// window's thread every 10 ms and the longest wait is recorded. The key is removed at the end. Run it in a
// throw-away prefix only:
//   scripts/with-wine.sh wine build/windows/bench_value_panel.exe
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/ResponsivenessProbe.h"
#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Controls.h"
#include "runtime/win32/Win32Runtime.h"
#include "window/frmRegEdit.h"

namespace {

using Clock = std::chrono::steady_clock;
using quillon::runtime::win32::Win32Control;

HWND WindowOf(quillon::runtime::ListBox* list) { return dynamic_cast<Win32Control&>(*list).Window(); }
HWND WindowOf(quillon::runtime::TextBox* box) { return dynamic_cast<Win32Control&>(*box).Window(); }

struct Shown {
  double seconds;
  double longestWaitMs;
  long answered;
  LRESULT textLength;
  LRESULT hexLength;
};

/// Clicks the value list's entry `name` with the mouse and waits until the panel has been painted.
Shown ClickValue(quillon::runtime::Win32Runtime& runtime, quillon::frmRegEdit& window,
                 quillon::bench::ResponsivenessProbe& probe, const std::wstring& name) {
  HWND list = WindowOf(window.List3);
  const auto index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  runtime.ProcessPendingMessages();

  probe.Start();
  const auto start = Clock::now();
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageW(list, WM_LBUTTONUP, 0, middle);
  runtime.ProcessPendingMessages();
  for (quillon::runtime::TextBox* box : {window.txtValue, window.txtValueHex}) UpdateWindow(WindowOf(box));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  // A few more probes, answered by an idle window, so that every probe posted during the click has been seen.
  Sleep(30);
  runtime.ProcessPendingMessages();
  probe.Stop();
  runtime.ProcessPendingMessages();
  return {seconds, probe.LongestMs(), probe.Answered(), SendMessageW(WindowOf(window.txtValue), WM_GETTEXTLENGTH, 0, 0),
          SendMessageW(WindowOf(window.txtValueHex), WM_GETTEXTLENGTH, 0, 0)};
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string benchPath = "Software\\QuillonBench-" + std::to_string(GetCurrentProcessId());
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_CURRENT_USER, benchPath.c_str(), &key) != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot create the bench key\n");
    return 2;
  }
  quillon::registry::UniqueHkey owner(key);
  const struct Value {
    const char* name;
    DWORD type;
    std::size_t size;
  } values[] = {{"Binary1MB", REG_BINARY, 1u << 20}, {"Binary8MB", REG_BINARY, 8u << 20}, {"String1MB", REG_SZ, 1u << 20}};
  for (const Value& value : values) {
    std::vector<BYTE> data(value.size);
    for (std::size_t i = 0; i < data.size(); ++i) {
      data[i] = value.type == REG_SZ ? static_cast<BYTE>(0x20 + i % 95) : static_cast<BYTE>(i);
    }
    if (value.type == REG_SZ) data.back() = 0;
    RegSetValueExA(key, value.name, 0, value.type, data.data(), static_cast<DWORD>(data.size()));
  }
  owner.Reset();

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  quillon::runtime::Win32Runtime runtime(GetModuleHandleW(nullptr), std::wstring());
  quillon::registry::Win32Registry registry;
  auto window = std::make_unique<quillon::frmRegEdit>(runtime, registry, nullptr);
  window->Show();
  quillon::bench::ResponsivenessProbe probe;
  window->txtGoTo->SetText(L"HKEY_CURRENT_USER\\" + std::wstring(benchPath.begin(), benchPath.end()));
  window->cmdGoTo_Click();
  runtime.ProcessPendingMessages();

  std::printf("%-12s %10s %14s %12s %12s\n", "value", "shown in", "longest wait", "text chars", "hex chars");
  for (int pass = 0; pass < 2; ++pass) {
    for (const Value& value : values) {
      const std::wstring name(value.name, value.name + std::char_traits<char>::length(value.name));
      const Shown shown = ClickValue(runtime, *window, probe, name);
      std::printf("%-12s %8.3f s %11.1f ms %12lld %12lld%s\n", value.name, shown.seconds, shown.longestWaitMs,
                  static_cast<long long>(shown.textLength), static_cast<long long>(shown.hexLength),
                  pass == 0 ? "  (first pass)" : "");
    }
  }
  std::printf("keys left open by the window: %zu\n", registry.OpenHandleCount());
  window.reset();
  RegDeleteTreeA(HKEY_CURRENT_USER, benchPath.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, benchPath.c_str());
  return 0;
}
