// How much the subkey list costs on top of the registry when a key with 100,000 subkeys is opened: a bare
// enumeration through the registry layer against the window's own fill of its sorted subkey list.
// Creates HKCU\Software\QuillonBench-<pid> and removes it again. Run under Wine: scripts/with-wine.sh wine
// bench_list_fill.exe [count]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "registry/modRegistry.h"
#include "registry/win32/Win32Registry.h"
#include "runtime/win32/Win32Runtime.h"
#include "window/frmRegEdit.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Names that sort in the order they are made, as the registry returns them.
std::string SubkeyName(int index) {
  char name[16];
  std::snprintf(name, sizeof(name), "Key%06d", index);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillon;
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string benchPath = "Software\\QuillonBench-" + std::to_string(GetCurrentProcessId());

  registry::Win32Registry reg;
  registry::Key bench = 0;
  if (reg.CreateKey(registry::kCurrentUser, benchPath, bench) != registry::kSuccess) {
    std::printf("cannot create HKCU\\%s\n", benchPath.c_str());
    return 1;
  }
  Clock::time_point start = Clock::now();
  for (int i = 0; i < count; ++i) {
    registry::Key child = 0;
    if (reg.CreateKey(bench, SubkeyName(i), child) == registry::kSuccess) reg.CloseKey(child);
  }
  std::printf("created %d subkeys in %.2f s\n", count, SecondsSince(start));

  // 1. The registry alone: the same calls the listing makes, names kept in a vector.
  start = Clock::now();
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (std::uint32_t index = 0;; ++index) {
    std::string buffer(250, ' ');
    if (reg.EnumKey(bench, index, buffer) != registry::kSuccess) break;
    names.push_back(buffer.c_str());
  }
  const double bare = SecondsSince(start);
  std::printf("bare enumeration:        %8.3f s  (%zu names)\n", bare, names.size());

  // 2. The window's fill of its sorted subkey list from the same key, as a double click on it does.
  runtime::Win32Runtime runtime(GetModuleHandleW(nullptr), std::wstring());
  frmRegEdit window(runtime, reg, nullptr);
  window.Show();
  runtime.ProcessPendingMessages();
  const std::wstring path = L"HKEY_CURRENT_USER\\" + std::wstring(benchPath.begin(), benchPath.end());
  start = Clock::now();
  window.RegistryEnumKeys(registry::OpenKeyPath(reg, runtime.Text(), path), *window.List2, true);
  runtime.ProcessPendingMessages();
  const double fill = SecondsSince(start);
  std::printf("window list fill:        %8.3f s  (%d entries)\n", fill, window.List2->ListCount());

  // 3. The list alone: the same names added without the registry, to tell the two costs apart.
  window.List2->Clear();
  start = Clock::now();
  window.List2->BeginUpdate();
  for (const std::string& name : names) window.List2->AddItem(std::wstring(name.begin(), name.end()));
  window.List2->EndUpdate();
  runtime.ProcessPendingMessages();
  const double listOnly = SecondsSince(start);
  std::printf("list alone (AddItem):    %8.3f s\n", listOnly);

  start = Clock::now();
  window.List2->Clear();
  std::printf("list clear:              %8.3f s\n", SecondsSince(start));

  std::printf("ratio fill / bare:       %8.2f\n", bare > 0 ? fill / bare : 0.0);

  start = Clock::now();
  for (int i = 0; i < count; ++i) reg.DeleteKey(bench, SubkeyName(i));
  reg.CloseKey(bench);
  reg.DeleteKey(registry::kCurrentUser, benchPath);
  std::printf("removed the bench key in %.2f s\n", SecondsSince(start));
  return window.List2->ListCount() == 0 && names.size() == static_cast<std::size_t>(count) ? 0 : 2;
}
