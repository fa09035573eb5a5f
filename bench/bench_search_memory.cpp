// What the program itself spends per key, value and result line when the registry costs nothing.
//
// Under Wine every registry call is a round trip to Wine's server, which hides the program's own costs; on Windows
// the same calls take a microsecond or two. So this benchmark fills the in-memory registry with a tree (branch^1 +
// ... + branch^depth keys, each with a string, a number, a binary value of 8 bytes or, in one key of ten, 6 KB,
// and a multi-string: the tree of bench_search) and measures, over that same registry object:
//   - the floor: a bare depth-first walk with the same registry calls that builds the same result text in one
//     std::wstring (same lines, same matching, same conversion of the registry's bytes), written as lean as we can;
//   - Find through the window with Keys, Values and Data checked: "needle" with Fast and without, and "" (every
//     key, value and data line); each run three times, the median taken, each checked against the floor's text.
// Built twice from this one source: natively on the headless runtime (the window's logic alone) and for Windows,
// where the real window, its result box and its event processing take part, with the responsiveness probe.
//   build/native-release/bench/bench_search_memory [depth] [branch] [--profile]     (defaults 5 and 11)
//   scripts/with-wine.sh wine build/windows/bench_search_memory.exe [depth] [branch] [--profile]
// --profile adds a pass that counts and times the calls the walk makes (registry, text functions, result box,
// events) through wrappers, and prints their share per entry. --only=N runs only the Nth search of the three (for
// a profiler: valgrind --tool=callgrind counts the instructions of BareWalk::Run and frmRegEdit::cmdFind_Click).
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include "bench/ResponsivenessProbe.h"
#include "runtime/win32/Win32Controls.h"
#include "runtime/win32/Win32Runtime.h"
#else
#include <malloc.h>

#include "runtime/headless/HeadlessRuntime.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "registry/memory/MemoryRegistry.h"
#include "window/frmRegEdit.h"

namespace {

using quillon::registry::Key;
using quillon::registry::MemoryRegistry;
using quillon::registry::RegistryApi;
namespace reg = quillon::registry;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

const std::wstring kStartPath = L"HKEY_CURRENT_USER\\Software\\QuillonBench";

// ---------------------------------------------------------------------------------------------------------------
// The tree, as bench_search builds it in the real registry

struct TreeCounts {
  long keys = 0;
  long values = 0;
  long Entries() const { return keys + values; }
};

void Build(RegistryApi& registry, Key parent, int depth, int branch, long& counter, TreeCounts& counts) {
  const char* kinds[] = {"Str", "Num", "Bin", "Multi"};
  for (int i = 0; i < branch; ++i) {
    const long n = counter++;
    const std::string name = (n % 100 == 0 ? "Needle" : "Key") + std::to_string(n);
    Key child = 0;
    if (registry.CreateKey(parent, name, child) != reg::kSuccess) std::exit(2);
    ++counts.keys;
    std::string valueNames[4];
    for (int j = 0; j < 4; ++j) {
      valueNames[j] = std::string((4 * n + j) % 100 == 1 ? "Needle" : "") + kinds[j] + std::to_string(n);
    }
    const std::string text = (n % 100 == 50 ? "a needle in text " : "plain text ") + std::to_string(n);
    const auto number = static_cast<std::uint32_t>(n);
    std::vector<std::uint8_t> blob = {1, 2, 3, 4, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                      0xFE, 0xFF};
    if (n % 10 == 5) blob.resize(6000, 0x5A);
    const std::uint8_t multi[] = "first\0second\0";
    const auto bytes = [](const auto* data) { return reinterpret_cast<const std::uint8_t*>(data); };
    registry.SetValueEx(child, valueNames[0], reg::kRegSz, bytes(text.c_str()), static_cast<std::uint32_t>(text.size() + 1));
    registry.SetValueEx(child, valueNames[1], reg::kRegDword, bytes(&number), sizeof number);
    registry.SetValueEx(child, valueNames[2], reg::kRegBinary, blob.data(), static_cast<std::uint32_t>(blob.size()));
    registry.SetValueEx(child, valueNames[3], reg::kRegMultiSz, multi, sizeof multi);
    counts.values += 4;
    if (depth > 1) Build(registry, child, depth - 1, branch, counter, counts);
    registry.CloseKey(child);
  }
}

// ---------------------------------------------------------------------------------------------------------------
// The floor: the same walk, as lean as we can write it

/// Bytes of the ANSI code page to text, appended to `out`. ASCII needs no table; the rest is the platform's
/// conversion under Windows and code page 1252 natively, as the runtimes do it.
void AppendFromAnsi(std::string_view bytes, std::wstring& out) {
  const std::size_t start = out.size();
  out.resize(start + bytes.size());
  std::size_t at = start;
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) break;
    out[at++] = static_cast<wchar_t>(c);
  }
  if (at == out.size()) return;
  out.resize(start);
#ifdef _WIN32
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  out.resize(start + static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data() + start, length);
#else
  static const quillon::runtime::Windows1252Text text;
  out += text.FromAnsi(std::string(bytes));
#endif
}

/// Lower-cases `text` into `out` as the platform does: ASCII by hand, anything else by the platform's mapping.
void LowerInto(std::wstring_view text, std::wstring& out) {
  out.assign(text);
  const bool ascii = std::all_of(out.begin(), out.end(), [](wchar_t c) { return c < 0x80; });
  if (ascii) {
    for (wchar_t& c : out) c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    return;
  }
#ifdef _WIN32
  CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
#else
  static const quillon::runtime::Windows1252Text platform;
  out = platform.LCase(out);
#endif
}

class BareWalk {
 public:
  BareWalk(RegistryApi& registry, std::wstring lowerText) : registry_(registry), text_(std::move(lowerText)) {}

  /// The result text, built from an empty string each run: the result box gives the memory of an earlier text
  /// back when it is cleared, so both pay for fresh memory alike.
  const std::wstring& Run(Key start, const std::wstring& startPath) {
    std::wstring().swap(out_);
    path_ = startPath;
    Keys(start);
    Values(start);
    return out_;
  }

 private:
  /// The search text in the candidate, case folded: ASCII on the fly, anything else lower-cased by the platform.
  bool Matches(std::wstring_view candidate) {
    if (text_.empty()) return true;
    const bool ascii = std::all_of(candidate.begin(), candidate.end(), [](wchar_t c) { return c < 0x80; });
    if (!ascii) {
      LowerInto(candidate, lower_);
      return lower_.find(text_) != std::wstring::npos;
    }
    const auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    for (std::size_t start = 0; start + text_.size() <= candidate.size(); ++start) {
      std::size_t i = 0;
      while (i < text_.size() && fold(candidate[start + i]) == text_[i]) ++i;
      if (i == text_.size()) return true;
    }
    return false;
  }

  void Keys(Key key) {
    const std::size_t pathLength = path_.size();
    for (std::uint32_t index = 0;; ++index) {
      nameBuffer_.assign(250, ' ');
      if (registry_.EnumKey(key, index, nameBuffer_) != reg::kSuccess) break;
      const std::string_view nameBytes(nameBuffer_.c_str());
      path_ += L'\\';
      AppendFromAnsi(nameBytes, path_);
      if (Matches(std::wstring_view(path_).substr(pathLength + 1))) {
        out_ += L"Key : ";
        out_ += path_;
        out_ += L"\r\n";
      }
      Key child = 0;
      childName_.assign(nameBytes);
      if (registry_.OpenKey(key, childName_, child) == reg::kSuccess) {
        Values(child);
        Keys(child);
        registry_.CloseKey(child);
      }
      path_.resize(pathLength);
    }
  }

  void Values(Key key) {
    const std::size_t pathLength = path_.size();
    if (data_.size() < 65536) data_.resize(65536);
    for (std::uint32_t index = 0;; ++index) {
      nameBuffer_.assign(250, ' ');
      std::uint32_t nameSize = 250;
      std::uint32_t type = 0;
      auto dataSize = static_cast<std::uint32_t>(data_.size());
      if (registry_.EnumValue(key, index, nameBuffer_, nameSize, &type, data_.data(), &dataSize) != reg::kSuccess) {
        break;
      }
      path_ += L'\\';
      AppendFromAnsi(std::string_view(nameBuffer_.c_str()), path_);
      if (Matches(std::wstring_view(path_).substr(pathLength + 1))) {
        out_ += L"Value : ";
        out_ += path_;
        out_ += L"\r\n";
      }
      std::string_view bytes;
      if (type == reg::kRegSz || type == reg::kRegExpandSz || type == reg::kRegDword ||
          type == reg::kRegDwordBigEndian) {
        bytes = std::string_view(reinterpret_cast<const char*>(data_.data()), dataSize);
        bytes = bytes.substr(0, bytes.find('\0'));
      }
      dataText_.clear();
      AppendFromAnsi(bytes, dataText_);
      if (Matches(dataText_)) {
        out_ += L"Data : ";
        out_ += path_;
        out_ += L'\\';
        out_ += dataText_;
        out_ += L"\r\n";
      }
      path_.resize(pathLength);
    }
  }

  RegistryApi& registry_;
  const std::wstring text_;
  std::wstring out_, path_, lower_, dataText_;
  std::string nameBuffer_, childName_;
  std::vector<std::uint8_t> data_;
};

// ---------------------------------------------------------------------------------------------------------------
// Counting and timing wrappers for --profile: each forwards to the real object and adds up calls and time.

struct Tally {
  const char* name;
  long long calls = 0;
  double seconds = 0;
};

class Timed {
 public:
  explicit Timed(Tally& tally) : tally_(tally), start_(Clock::now()) {}
  ~Timed() {
    ++tally_.calls;
    tally_.seconds += SecondsSince(start_);
  }

 private:
  Tally& tally_;
  Clock::time_point start_;
};

struct Tallies {
  Tally openKey{"registry OpenKey/OpenLink"}, closeKey{"registry CloseKey"}, enumKey{"registry EnumKey"},
      enumValue{"registry EnumValue"}, fromAnsi{"text FromAnsi"}, lcase{"text LCase"},
      eventsDue{"runtime EventsDue"}, doEvents{"runtime DoEvents"}, append{"result box AppendText"},
      readText{"search text read"}, readCheck{"check box read"}, unused{"other"};
  std::vector<Tally*> All() {
    return {&openKey, &closeKey,  &enumKey, &enumValue, &fromAnsi,
            &lcase,   &eventsDue, &doEvents, &append,   &readText, &readCheck};
  }
  void Clear() {
    for (Tally* tally : All()) tally->calls = 0, tally->seconds = 0;
  }
};

class TimedRegistry : public RegistryApi {
 public:
  TimedRegistry(RegistryApi& inner, Tallies& tallies) : inner_(inner), t_(tallies) {}
  reg::Status OpenKey(Key parent, const std::string& name, Key& out) noexcept override {
    Timed timed(t_.openKey);
    return inner_.OpenKey(parent, name, out);
  }
  reg::Status OpenLink(Key parent, const std::string& name, Key& out) noexcept override {
    Timed timed(t_.openKey);
    return inner_.OpenLink(parent, name, out);
  }
  reg::Status KeyName(Key key, std::u16string& name) noexcept override { return inner_.KeyName(key, name); }
  reg::Status CreateKey(Key parent, const std::string& name, Key& out) noexcept override {
    return inner_.CreateKey(parent, name, out);
  }
  reg::Status CloseKey(Key key) noexcept override {
    Timed timed(t_.closeKey);
    return inner_.CloseKey(key);
  }
  reg::Status EnumKey(Key key, std::uint32_t index, std::string& buffer) noexcept override {
    Timed timed(t_.enumKey);
    return inner_.EnumKey(key, index, buffer);
  }
  reg::Status EnumValue(Key key, std::uint32_t index, std::string& nameBuffer, std::uint32_t& nameSize,
                        std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) noexcept override {
    Timed timed(t_.enumValue);
    return inner_.EnumValue(key, index, nameBuffer, nameSize, type, data, dataSize);
  }
  reg::Status QueryValueEx(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* size) noexcept override {
    return inner_.QueryValueEx(key, name, type, data, size);
  }
  reg::Status SetValueEx(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                         std::uint32_t size) noexcept override {
    return inner_.SetValueEx(key, name, type, data, size);
  }
  reg::Status FlushKey(Key key) noexcept override { return inner_.FlushKey(key); }
  reg::Status DeleteKey(Key parent, const std::string& name) noexcept override {
    return inner_.DeleteKey(parent, name);
  }
  reg::Status DeleteValue(Key key, const std::string& name) noexcept override {
    return inner_.DeleteValue(key, name);
  }

 private:
  RegistryApi& inner_;
  Tallies& t_;
};

class TimedText : public quillon::runtime::PlatformText {
 public:
  TimedText(const quillon::runtime::PlatformText& inner, Tallies& tallies) : inner_(inner), t_(tallies) {}
  std::string ToAnsi(const std::wstring& text) const override { return inner_.ToAnsi(text); }
  std::wstring FromAnsi(const std::string& bytes) const override {
    Timed timed(t_.fromAnsi);
    return inner_.FromAnsi(bytes);
  }
  std::wstring UCase(const std::wstring& text) const override { return inner_.UCase(text); }
  std::wstring LCase(const std::wstring& text) const override {
    Timed timed(t_.lcase);
    return inner_.LCase(text);
  }

 private:
  const quillon::runtime::PlatformText& inner_;
  Tallies& t_;
};

/// The runtime with its text functions and event processing timed; everything else goes to the real one.
class TimedRuntime : public quillon::runtime::Runtime {
 public:
  TimedRuntime(quillon::runtime::Runtime& inner, Tallies& tallies)
      : inner_(inner), t_(tallies), text_(inner.Text(), tallies) {}
  quillon::runtime::Application& App() override { return inner_.App(); }
  std::unique_ptr<quillon::runtime::Form> CreateForm(int width, int height,
                                                     const quillon::runtime::FontSpec& font) override {
    return inner_.CreateForm(width, height, font);
  }
  std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                        const std::wstring& defaultText) override {
    return inner_.InputBox(prompt, title, defaultText);
  }
  int MsgBox(const std::wstring& prompt, int style, const std::wstring& title) override {
    return inner_.MsgBox(prompt, style, title);
  }
  int MousePointer() const override { return inner_.MousePointer(); }
  void SetMousePointer(int pointer) override { inner_.SetMousePointer(pointer); }
  bool DoEvents() override {
    Timed timed(t_.doEvents);
    return inner_.DoEvents();
  }
  bool EventsDue() override {
    Timed timed(t_.eventsDue);
    return inner_.EventsDue();
  }
  quillon::runtime::SettingsStore& Settings() override { return inner_.Settings(); }
  const quillon::runtime::PlatformText& Text() const override { return text_; }

 private:
  quillon::runtime::Runtime& inner_;
  Tallies& t_;
  TimedText text_;
};

class TimedTextBox : public quillon::runtime::TextBox {
 public:
  TimedTextBox(quillon::runtime::TextBox& inner, Tally& reads, Tally& appends)
      : inner_(inner), reads_(reads), appends_(appends) {}
  std::wstring Text() const override {
    Timed timed(reads_);
    return inner_.Text();
  }
  std::size_t TextLength() const override { return inner_.TextLength(); }
  std::wstring TextRange(std::size_t start, std::size_t count) const override {
    return inner_.TextRange(start, count);
  }
  void SetText(const std::wstring& text) override { inner_.SetText(text); }
  void AppendText(const std::wstring& text) override {
    Timed timed(appends_);
    inner_.AppendText(text);
  }
  int SelStart() const override { return inner_.SelStart(); }
  void SetSelStart(int start) override { inner_.SetSelStart(start); }
  int SelLength() const override { return inner_.SelLength(); }
  void SetSelLength(int length) override { inner_.SetSelLength(length); }
  std::wstring SelText() const override { return inner_.SelText(); }

 private:
  quillon::runtime::TextBox& inner_;
  Tally& reads_;
  Tally& appends_;
};

class TimedCheckBox : public quillon::runtime::CheckBox {
 public:
  TimedCheckBox(quillon::runtime::CheckBox& inner, Tally& reads) : inner_(inner), reads_(reads) {}
  int Value() const override {
    Timed timed(reads_);
    return inner_.Value();
  }
  void SetValue(int value) override { inner_.SetValue(value); }
  bool Enabled() const override { return inner_.Enabled(); }
  void SetEnabled(bool enabled) override { inner_.SetEnabled(enabled); }
  std::wstring Caption() const override { return inner_.Caption(); }

 private:
  quillon::runtime::CheckBox& inner_;
  Tally& reads_;
};

// ---------------------------------------------------------------------------------------------------------------
// Memory

/// Bytes the process holds now: heap in use natively, committed private memory under Windows.
double HeldBytes() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PagefileUsage);
#else
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

double PeakBytes() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PeakPagefileUsage);
#else
  return 0;  // glibc keeps no peak; the held figure after the search is what the box keeps
#endif
}

// ---------------------------------------------------------------------------------------------------------------
// The window

#ifdef _WIN32
using PlatformRuntime = quillon::runtime::Win32Runtime;
std::unique_ptr<PlatformRuntime> MakeRuntime() {
  return std::make_unique<PlatformRuntime>(GetModuleHandleW(nullptr), std::wstring());
}
#else
using PlatformRuntime = quillon::runtime::HeadlessRuntime;
std::unique_ptr<PlatformRuntime> MakeRuntime() { return std::make_unique<PlatformRuntime>(); }
#endif

struct FindRun {
  double seconds = 0;
  bool sameText = false;
  std::size_t characters = 0;
  long answered = 0;
  double longestWaitMs = 0;
  double meanWaitMs = 0;
};

class Bench {
 public:
  Bench(RegistryApi& registry, quillon::runtime::Runtime& runtime, PlatformRuntime& platform)
      : platform_(platform) {
    window_ = std::make_unique<quillon::frmRegEdit>(runtime, registry, nullptr);
    window_->Show();
    window_->List1->SetSelected(1, true);  // HKEY_CURRENT_USER: a hive must be selected
    window_->chkHive->SetValue(0);
    window_->txtKey->SetText(kStartPath);
    window_->chkKeys->SetValue(1);
    window_->chkValues->SetValue(1);
    window_->chkDatas->SetValue(1);
#ifdef _WIN32
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    probe_ = std::make_unique<quillon::bench::ResponsivenessProbe>();
    using quillon::runtime::win32::Win32Control;
    button_ = dynamic_cast<Win32Control&>(*window_->cmdFind).Window();
    results_ = dynamic_cast<Win32Control&>(*window_->txtFindList).Window();
    platform_.ProcessPendingMessages();
#endif
  }

  quillon::frmRegEdit& Window() { return *window_; }

  FindRun Find(bool fast, const std::wstring& text, const std::wstring& expected) {
    window_->txtFindList->SetText(std::wstring());
    window_->chkFastFind->SetValue(fast ? 1 : 0);
    window_->txtFind->SetText(text);
    FindRun run;
#ifdef _WIN32
    platform_.ProcessPendingMessages();
    HWND button = button_;
    HWND results = results_;
    if (!fast) probe_->Start();
    RECT rect{};
    GetClientRect(button, &rect);
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    const auto start = Clock::now();
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(button, WM_LBUTTONUP, 0, centre);
    platform_.ProcessPendingMessages();
    UpdateWindow(results);
    run.seconds = SecondsSince(start);
    probe_->Stop();
    platform_.ProcessPendingMessages();
    if (!fast) {
      run.answered = probe_->Answered();
      run.longestWaitMs = probe_->LongestMs();
      run.meanWaitMs = probe_->MeanMs();
    }
#else
    (void)platform_;
    const auto start = Clock::now();
    window_->cmdFind_Click();
    run.seconds = SecondsSince(start);
#endif
    run.characters = window_->txtFindList->TextLength();
    run.sameText = run.characters == expected.size() && window_->txtFindList->Text() == expected;
    return run;
  }

 private:
  PlatformRuntime& platform_;
  std::unique_ptr<quillon::frmRegEdit> window_;
#ifdef _WIN32
  std::unique_ptr<quillon::bench::ResponsivenessProbe> probe_;
  HWND button_ = nullptr;
  HWND results_ = nullptr;
#endif
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Search {
  const char* title;
  bool fast;
  const wchar_t* text;
};

constexpr Search kSearches[] = {
    {"Find \"needle\", Fast", true, L"needle"},
    {"Find \"needle\", not Fast", false, L"needle"},
    {"Find \"\" (every line), not Fast", false, L""},
};

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  bool profile = false;
  int only = 0;
  std::vector<int> numbers;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--profile") == 0) {
      profile = true;
    } else if (std::strncmp(argv[i], "--only=", 7) == 0) {
      only = std::atoi(argv[i] + 7);
    } else {
      numbers.push_back(std::atoi(argv[i]));
    }
  }
  const int depth = numbers.size() > 0 ? numbers[0] : 5;
  const int branch = numbers.size() > 1 ? numbers[1] : 11;
  if (depth < 1 || branch < 1) {
    std::fprintf(stderr, "usage: bench_search_memory [depth] [branch] [--profile] [--only=1|2|3]\n");
    return 2;
  }
#ifdef _WIN32
  const char* form = "Wine or Windows: the real window";
#else
  const char* form = "native: the headless runtime";
#endif

  MemoryRegistry registry;
  auto start = Clock::now();
  Key root = 0;
  if (registry.CreateKey(reg::kCurrentUser, "Software\\QuillonBench", root) != reg::kSuccess) return 2;
  TreeCounts tree;
  long counter = 0;
  Build(registry, root, depth, branch, counter, tree);
  std::printf("%s; in-memory tree: %ld keys, %ld values (%ld entries), built in %.1f s\n", form, tree.keys,
              tree.values, tree.Entries(), SecondsSince(start));

  auto platform = MakeRuntime();
  Tallies tallies;
  TimedRegistry timedRegistry(registry, tallies);
  TimedRuntime timedRuntime(*platform, tallies);
  Bench bench(registry, *platform, *platform);

  // Memory of an every-line search: what the result box holds against the UTF-16 size of its text.
  if (only == 0) {
    Bench fresh(registry, *platform, *platform);
    const double before = HeldBytes();
    const double peakBefore = PeakBytes();
    const FindRun run = fresh.Find(false, L"", std::wstring());
    const double held = HeldBytes() - before;
    const double text = static_cast<double>(run.characters) * sizeof(wchar_t);
    std::printf("memory of Find \"\": the box holds %.0f MB more after it than before, %.2f x the %.0f MB of its text (%zu-byte characters)",
                held / 1048576.0, held / text, text / 1048576.0, sizeof(wchar_t));
    if (PeakBytes() > peakBefore) {
      std::printf("; peak committed %.0f MB above the start, %.2f x", (PeakBytes() - before) / 1048576.0,
                  (PeakBytes() - before) / text);
    }
    std::printf("\n");
  }

  const double entries = static_cast<double>(tree.Entries());
  std::printf("%-36s %9s %9s %8s %8s\n", "median of 3", "floor", "Find", "ns/entry", "x floor");
  for (const Search& search : kSearches) {
    if (only != 0 && &search != &kSearches[only - 1]) continue;
    std::vector<double> floors, finds, waits, means;
    BareWalk floorWalk(registry, search.text);
    bool same = true;
    std::size_t characters = 0;
    for (int round = 0; round < 3; ++round) {
      // The floor and the Find alternate, so that a disturbance from outside falls on both alike.
      auto t0 = Clock::now();
      const std::wstring& expected = floorWalk.Run(root, kStartPath);
      floors.push_back(SecondsSince(t0));
      const FindRun run = bench.Find(search.fast, search.text, expected);
      finds.push_back(run.seconds);
      same = same && run.sameText;
      characters = run.characters;
      if (run.answered > 0) {
        waits.push_back(run.longestWaitMs);
        means.push_back(run.meanWaitMs);
      }
    }
    const double floor = Median(floors), find = Median(finds);
    std::printf("%-36s %7.3f s %7.3f s %5.0f/%3.0f %6.2f   (Find %.3f-%.3f s, floor %.3f-%.3f s)%s\n", search.title,
                floor, find, find / entries * 1e9, floor / entries * 1e9, find / floor,
                *std::min_element(finds.begin(), finds.end()), *std::max_element(finds.begin(), finds.end()),
                *std::min_element(floors.begin(), floors.end()), *std::max_element(floors.begin(), floors.end()),
                same ? "" : "  (TEXT DIFFERS FROM THE FLOOR'S)");
    if (!waits.empty()) {
      std::printf("    posted messages: longest wait %.1f ms (median of 3; %.1f-%.1f), mean %.1f ms\n", Median(waits),
                  *std::min_element(waits.begin(), waits.end()), *std::max_element(waits.begin(), waits.end()),
                  Median(means));
    }
    if (search.text[0] == L'\0') {
      std::printf("    %zu characters, %.0f MB in UTF-16\n", characters, static_cast<double>(characters) * 2 / 1048576.0);
    }
  }

  if (profile) {
    // What single calls cost here, without wrappers.
    const auto perCall = [](const char* what, auto&& call) {
      constexpr int kCalls = 1000000;
      const auto t0 = Clock::now();
      for (int i = 0; i < kCalls; ++i) call();
      std::printf("one call of %-28s %7.1f ns\n", what, SecondsSince(t0) / kCalls * 1e9);
    };
    perCall("steady_clock::now", [] { (void)Clock::now(); });
    perCall("DoEvents (not due)", [&] { (void)platform->DoEvents(); });
    perCall("EventsDue (not due)", [&] { (void)platform->EventsDue(); });
    // The same searches through wrappers that count and time every call the walk makes. The wrappers cost time of
    // their own (two clock readings per call), so these figures show where the time goes, not how long it takes.
    Bench timed(timedRegistry, timedRuntime, *platform);
    quillon::frmRegEdit& window = timed.Window();
    TimedTextBox results(*window.txtFindList, tallies.unused, tallies.append);
    TimedTextBox findText(*window.txtFind, tallies.readText, tallies.unused);
    TimedCheckBox boxes[] = {{*window.chkKeys, tallies.readCheck},     {*window.chkValues, tallies.readCheck},
                             {*window.chkDatas, tallies.readCheck},    {*window.chkFindBinary, tallies.readCheck},
                             {*window.chkFastFind, tallies.readCheck}};
    window.txtFindList = &results;
    window.txtFind = &findText;
    window.chkKeys = &boxes[0];
    window.chkValues = &boxes[1];
    window.chkDatas = &boxes[2];
    window.chkFindBinary = &boxes[3];
    window.chkFastFind = &boxes[4];
    for (const Search& search : kSearches) {
      BareWalk floorWalk(registry, search.text);
      const std::wstring& expected = floorWalk.Run(root, kStartPath);
      tallies.Clear();
      const FindRun run = timed.Find(search.fast, search.text, expected);
      std::printf("profile of %s: %.3f s with the wrappers, %.0f ns per entry%s\n", search.title, run.seconds,
                  run.seconds / entries * 1e9, run.sameText ? "" : " (TEXT DIFFERS)");
      double inCalls = 0;
      for (const Tally* tally : tallies.All()) {
        if (tally->calls == 0) continue;
        inCalls += tally->seconds;
        std::printf("    %-24s %9lld calls %8.3f s %6.1f ns/entry %6.1f ns/call\n", tally->name, tally->calls,
                    tally->seconds, tally->seconds / entries * 1e9, tally->seconds / static_cast<double>(tally->calls) * 1e9);
      }
      std::printf("    %-24s %25.3f s %6.1f ns/entry\n", "the walk's own code", run.seconds - inCalls,
                  (run.seconds - inCalls) / entries * 1e9);
    }
    window.txtFindList->SetText(std::wstring());
  }
  registry.CloseKey(root);
  return 0;
}
