// How fast Find searches a large tree, against the time the platform needs merely to enumerate it.
//
// Builds a synthetic tree under HKCU\Software\QuillonBench-<pid> (branch^1 + ... + branch^depth keys, each with
// four values of four types: a string, a number, a binary value of 8 bytes or, in one key of ten, 6 KB, and a
// multi-string), then measures in one run:
//   - the floor: a bare depth-first enumeration of keys, value names and data with the registry functions;
//   - Find through the real window (Keys, Values and Data checked, a text matching about 1% of names), with "Fast"
//     and without, each as a ratio to the floor;
//   - Find with an empty search text (every key, value and data line listed);
//   - how long a message posted to the window waits during a Find without "Fast" (longest and mean), and the peak
//     memory of the process against the size of the text the result box shows.
// The floor and the three searches are measured in three rounds; each figure is the median of the three, with the
// smallest and largest beside it, and each ratio is taken within its round.
// The tree is removed at the end. Run it in a throw-away prefix only:
//   scripts/with-wine.sh build-win/bench_search.exe [depth] [branch]      (defaults 5 and 10: 111,110 keys)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---------------------------------------------------------------------------------------------------------------
// The tree

/// What the tree holds, and how many lines each search must give.
struct TreeCounts {
  long keys = 0;
  long values = 0;
  long keyHits = 0;    // key names holding "needle"
  long valueHits = 0;  // value names holding "needle"
  long dataHits = 0;   // string data holding "needle"
  long dataBreaks = 0; // numbers whose bytes read CR LF: their data line shows as two
};

void SetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size) {
  RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void Build(HKEY parent, int depth, int branch, long& counter, TreeCounts& counts) {
  for (int i = 0; i < branch; ++i) {
    const long n = counter++;
    const bool keyHit = n % 100 == 0;
    const std::string name = (keyHit ? "Needle" : "Key") + std::to_string(n);
    HKEY child = nullptr;
    if (RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr) != 0) {
      std::fprintf(stderr, "cannot create key %s\n", name.c_str());
      std::exit(2);
    }
    const quillon::registry::UniqueHkey owner(child);
    ++counts.keys;
    counts.keyHits += keyHit ? 1 : 0;

    // One value name in a hundred holds the search text, and one string in a hundred.
    const char* kinds[] = {"Str", "Num", "Bin", "Multi"};
    std::string valueNames[4];
    for (int j = 0; j < 4; ++j) {
      const bool valueHit = (4 * n + j) % 100 == 1;
      valueNames[j] = std::string(valueHit ? "Needle" : "") + kinds[j] + std::to_string(n);
      counts.valueHits += valueHit ? 1 : 0;
    }
    const bool dataHit = n % 100 == 50;
    const std::string text = (dataHit ? "a needle in text " : "plain text ") + std::to_string(n);
    counts.dataHits += dataHit ? 1 : 0;
    // Every byte value turns up in the numbers, 0x98 (U+02DC) and CR LF (0x0A0D) among them.
    const DWORD number = static_cast<DWORD>(n);
    const std::string numberText(reinterpret_cast<const char*>(&number), sizeof number);
    counts.dataBreaks += numberText.substr(0, numberText.find('\0')).find("\r\n") != std::string::npos ? 1 : 0;
    // One key in ten holds a larger binary value (6 KB), as real keys now and then do.
    std::vector<BYTE> blob = {1, 2, 3, 4, static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), 0xFE, 0xFF};
    if (n % 10 == 5) blob.resize(6000, 0x5A);
    SetValue(child, valueNames[0], REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    SetValue(child, valueNames[1], REG_DWORD, &number, sizeof number);
    SetValue(child, valueNames[2], REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
    const char multi[] = "first\0second\0";
    SetValue(child, valueNames[3], REG_MULTI_SZ, multi, sizeof multi);
    counts.values += 4;

    if (depth > 1) Build(child, depth - 1, branch, counter, counts);
  }
}

// ---------------------------------------------------------------------------------------------------------------
// The floor: the platform's own enumeration, as lean as it gets

struct FloorCounts {
  long keys = 0;
  long values = 0;
  unsigned long long dataBytes = 0;
};

void FloorValues(HKEY key, FloorCounts& counts) {
  char name[256];
  BYTE data[4096];
  for (DWORD index = 0;; ++index) {
    DWORD nameSize = 250;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    const LONG status = RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return;
    ++counts.values;
    counts.dataBytes += dataSize;
  }
}

void FloorKeys(HKEY key, FloorCounts& counts) {
  char name[256];
  for (DWORD index = 0; RegEnumKeyA(key, index, name, 250) == ERROR_SUCCESS; ++index) {
    ++counts.keys;
    HKEY child = nullptr;
    if (RegOpenKeyA(key, name, &child) != ERROR_SUCCESS) continue;
    const quillon::registry::UniqueHkey owner(child);
    FloorValues(child, counts);
    FloorKeys(child, counts);
  }
}

// ---------------------------------------------------------------------------------------------------------------
// Watching the window during a Find

struct FindResult {
  double seconds = 0;
  long lines = 0;
  long long characters = 0;
  long answered = 0;
  double longestWaitMs = 0;
  double meanWaitMs = 0;
  double longestAt = 0;
};

/// Clicks "Find" with the mouse, as the user does, and lets the runtime process it to the end.
FindResult RunFind(quillon::runtime::Win32Runtime& runtime, quillon::frmRegEdit& window,
                   quillon::bench::ResponsivenessProbe& probe, bool fast, const std::wstring& text) {
  using quillon::runtime::win32::Win32Control;
  window.chkFastFind->SetValue(fast ? 1 : 0);
  window.txtFind->SetText(text);
  HWND button = dynamic_cast<Win32Control&>(*window.cmdFind).Window();
  HWND results = dynamic_cast<Win32Control&>(*window.txtFindList).Window();
  runtime.ProcessPendingMessages();

  // With "Fast" the window answers nothing until the end, by design; only without it is the wait worth measuring.
  if (!fast) probe.Start();
  RECT rect{};
  GetClientRect(button, &rect);
  const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  const auto start = Clock::now();
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(button, WM_LBUTTONUP, 0, centre);
  // The click's handler, the whole Find, runs inside this; so does the paint of the results at the end.
  runtime.ProcessPendingMessages();
  UpdateWindow(results);
  FindResult result;
  result.seconds = SecondsSince(start);
  probe.Stop();
  runtime.ProcessPendingMessages();
  // Every line ends with CR LF, so the box's last line is the empty one after them.
  result.lines = static_cast<long>(SendMessageW(results, EM_GETLINECOUNT, 0, 0)) - 1;
  result.characters = static_cast<long long>(SendMessageW(results, WM_GETTEXTLENGTH, 0, 0));
  if (!fast) {
    result.answered = probe.Answered();
    result.longestWaitMs = probe.LongestMs();
    result.meanWaitMs = probe.MeanMs();
    result.longestAt = probe.LongestAt();
  }
  return result;
}

void PrintFind(const char* title, const FindResult& find, double floorSeconds, long expectedLines) {
  std::printf("%-44s %8.2f s  %5.2f x floor  %8ld lines%s\n", title, find.seconds, find.seconds / floorSeconds,
              find.lines, find.lines == expectedLines ? "" : "  (WRONG COUNT)");
  if (find.answered > 0) {
    std::printf("    posted messages: %ld answered, mean wait %.1f ms, longest %.1f ms (%.1f s into the search)\n",
                find.answered, find.meanWaitMs, find.longestWaitMs, find.longestAt);
  }
}

/// The median of a few figures, with the smallest and the largest.
void PrintMedian(const char* title, std::vector<double> figures, const char* unit) {
  std::sort(figures.begin(), figures.end());
  std::printf("  %-42s %8.2f%s  (%.2f-%.2f)\n", title, figures[figures.size() / 2], unit, figures.front(),
              figures.back());
}

/// Peak working set in MB.
double PeakMegabytes(const char* when) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  const double peak = static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0;
  std::printf("%-44s peak working set %.0f MB, peak committed %.0f MB\n", when, peak,
              static_cast<double>(counters.PeakPagefileUsage) / 1048576.0);
  return peak;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const int depth = argc > 1 ? std::atoi(argv[1]) : 5;
  const int branch = argc > 2 ? std::atoi(argv[2]) : 10;
  if (depth < 1 || branch < 1) {
    std::fprintf(stderr, "usage: bench_search [depth] [branch]\n");
    return 2;
  }
  const std::string benchName = "QuillonBench-" + std::to_string(GetCurrentProcessId());
  const std::string benchPath = "Software\\" + benchName;

  // The real window over the real registry, made first: its start makes Wine write to the registry too (its font
  // cache), and every write must be on disk before the measurements (below).
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  quillon::runtime::Win32Runtime runtime(GetModuleHandleW(nullptr), std::wstring());
  quillon::registry::Win32Registry registry;
  auto window = std::make_unique<quillon::frmRegEdit>(runtime, registry, nullptr);
  window->Show();

  // The tree.
  auto start = Clock::now();
  HKEY root = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, benchPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                      nullptr) != 0) {
    std::fprintf(stderr, "cannot create the bench key\n");
    return 2;
  }
  quillon::registry::UniqueHkey rootOwner(root);
  TreeCounts tree;
  long counter = 0;
  Build(root, depth, branch, counter, tree);
  std::printf("tree: %ld keys, %ld values under HKCU\\%s, built in %.1f s\n", tree.keys, tree.values,
              benchPath.c_str(), SecondsSince(start));

  // Wine's server writes a changed registry to disk 30 s after the first change, and every Wine program waits while
  // it does: almost three seconds with this tree in it. The measurements start once it is written.
  const double waitSeconds = 32 - SecondsSince(start);
  if (waitSeconds > 0) {
    std::printf("waiting %.0f s for Wine's server to write the registry\n", waitSeconds);
    Sleep(static_cast<DWORD>(waitSeconds * 1000));
  }

  const double basePeak = PeakMegabytes("with the window, after building the tree:");

  // Find below the bench key.
  window->List1->SetSelected(1, true);  // HKEY_CURRENT_USER: a hive must be selected
  window->chkHive->SetValue(0);
  window->txtKey->SetText(L"HKEY_CURRENT_USER\\" + std::wstring(benchPath.begin(), benchPath.end()));
  window->chkKeys->SetValue(1);
  window->chkValues->SetValue(1);
  window->chkDatas->SetValue(1);

  quillon::bench::ResponsivenessProbe probe;
  std::printf("window ready: %d hive(s) selected\n", window->List1->SelCount());
  {
    // What one call costs: the walk makes these once per entry or per comparison.
    const auto time = [](const char* what, auto&& call) {
      const auto t0 = Clock::now();
      for (int i = 0; i < 10000; ++i) call();
      std::printf("  %-30s %.2f us\n", what, SecondsSince(t0) * 100.0);
    };
    time("chk Value", [&] { (void)window->chkKeys->Value(); });
    time("txtFind Text", [&] { (void)window->txtFind->Text(); });
    time("LCase", [&] { (void)runtime.Text().LCase(L"Some Key Name 1234"); });
    time("FromAnsi", [&] { (void)runtime.Text().FromAnsi("Some Key Name 1234"); });
    time("DoEvents", [&] { runtime.DoEvents(); });
    time("AppendText", [&] { window->txtFindList->AppendText(L"Key : x\r\n"); });
    window->txtFindList->SetText(L"");
    runtime.ProcessPendingMessages();
    quillon::registry::Key k = 0;
    (void)registry.OpenKey(quillon::registry::kCurrentUser, benchPath, k);
    time("EnumKey", [&] { std::string b(250, ' '); (void)registry.EnumKey(k, 0, b); });
    time("OpenKey+Close", [&] { quillon::registry::Key c = 0; (void)registry.OpenKey(k, "Key1", c); registry.CloseKey(c); });
    registry.CloseKey(k);
  }
  const long hitLines = tree.keyHits + tree.valueHits + tree.dataHits;
  const long allLines = tree.keys + 2 * tree.values + tree.dataBreaks;
  constexpr int kRounds = 3;
  std::vector<double> floors, fasts, lives, everys, fastRatios, liveRatios, liveToFast, everyRatios, waits;
  FindResult every;
  for (int round = 1; round <= kRounds; ++round) {
    std::printf("round %d\n", round);
    FloorCounts floor;
    start = Clock::now();
    FloorKeys(root, floor);
    const double floorSeconds = SecondsSince(start);
    std::printf("%-44s %8.2f s  (%ld keys, %ld values, %llu data bytes)\n", "floor: bare enumeration", floorSeconds,
                floor.keys, floor.values, floor.dataBytes);
    const FindResult fast = RunFind(runtime, *window, probe, true, L"needle");
    PrintFind("Find \"needle\", Fast:", fast, floorSeconds, hitLines);
    const FindResult live = RunFind(runtime, *window, probe, false, L"needle");
    PrintFind("Find \"needle\", not Fast:", live, floorSeconds, hitLines);
    every = RunFind(runtime, *window, probe, false, L"");
    PrintFind("Find \"\" (every line), not Fast:", every, floorSeconds, allLines);
    floors.push_back(floorSeconds);
    fasts.push_back(fast.seconds);
    lives.push_back(live.seconds);
    everys.push_back(every.seconds);
    fastRatios.push_back(fast.seconds / floorSeconds);
    liveRatios.push_back(live.seconds / floorSeconds);
    liveToFast.push_back(live.seconds / fast.seconds);
    everyRatios.push_back(every.seconds / floorSeconds);
    waits.push_back(std::max(live.longestWaitMs, every.longestWaitMs));
  }
  rootOwner.Reset();
  std::printf("median of %d rounds (smallest-largest):\n", kRounds);
  PrintMedian("floor: bare enumeration", floors, " s");
  PrintMedian("Find \"needle\", Fast", fasts, " s");
  PrintMedian("  x floor", fastRatios, "");
  PrintMedian("Find \"needle\", not Fast", lives, " s");
  PrintMedian("  x floor", liveRatios, "");
  PrintMedian("  x the same search with Fast", liveToFast, "");
  PrintMedian("Find \"\" (every line), not Fast", everys, " s");
  PrintMedian("  x floor", everyRatios, "");
  PrintMedian("longest wait of a posted message", waits, " ms");
  std::printf("keys left open by the window: %zu\n", registry.OpenHandleCount());
  const double peak = PeakMegabytes("at the end:");
  const double textMegabytes = static_cast<double>(every.characters) * sizeof(wchar_t) / 1048576.0;
  std::printf("text shown: %lld characters, %.0f MB in UTF-16; peak working set %.2f x the text (%.0f MB before "
              "the window)\n",
              every.characters, textMegabytes, peak / textMegabytes, basePeak);

  window.reset();
  start = Clock::now();
  RegDeleteTreeA(HKEY_CURRENT_USER, benchPath.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, benchPath.c_str());
  std::printf("tree removed in %.1f s\n", SecondsSince(start));
  return 0;
}
