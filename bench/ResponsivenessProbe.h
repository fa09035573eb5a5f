#pragma once
// How long the window would keep a user waiting: a second thread posts a timestamped message every 10 ms to a
// window of the GUI thread, and each one's wait until that thread processed it is recorded. The longest wait is
// the figure that matters: a window that answers in 10 ms on average but once freezes for two seconds feels frozen.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/win32/Win32Handles.h"

namespace quillon::bench {

class ResponsivenessProbe {
 public:
  /// Creates the probe's window on the calling thread, which must be the GUI thread.
  ResponsivenessProbe() {
    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = Procedure;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = L"QuillonBenchProbe";
    RegisterClassW(&probeClass);
    window_.Reset(CreateWindowExW(0, probeClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  probeClass.hInstance, nullptr));
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ResponsivenessProbe(const ResponsivenessProbe&) = delete;
  ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;
  ~ResponsivenessProbe() { Stop(); }

  void Start() {
    answered_ = 0;
    longest_ = total_ = 0;
    started_ = Clock::now();
    posting_ = true;
    poster_ = std::thread([this] {
      while (posting_) {
        PostMessageW(window_.Get(), kProbe, 0, static_cast<LPARAM>(Clock::now().time_since_epoch().count()));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    });
  }
  /// Stops posting; the messages still queued are counted when the GUI thread processes them.
  void Stop() {
    posting_ = false;
    if (poster_.joinable()) poster_.join();
  }

  long Answered() const { return answered_; }
  double LongestMs() const { return longest_ * 1000; }
  /// When the longest wait began, in seconds after Start.
  double LongestAt() const { return longestAt_; }
  double MeanMs() const { return answered_ ? total_ / static_cast<double>(answered_) * 1000 : 0; }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr UINT kProbe = WM_APP + 17;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* probe = reinterpret_cast<ResponsivenessProbe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != kProbe || !probe) return DefWindowProcW(window, message, wParam, lParam);
    const auto sent = Clock::time_point(Clock::duration(static_cast<Clock::rep>(lParam)));
    const double waited = std::chrono::duration<double>(Clock::now() - sent).count();
    ++probe->answered_;
    probe->total_ += waited;
    if (waited > probe->longest_) probe->longestAt_ = std::chrono::duration<double>(sent - probe->started_).count();
    probe->longest_ = std::max(probe->longest_, waited);
    return 0;
  }

  quillon::runtime::win32::UniqueWindow window_;
  std::atomic<bool> posting_{false};
  std::thread poster_;
  long answered_ = 0;
  double longest_ = 0;
  double total_ = 0;
  Clock::time_point started_{};
  double longestAt_ = 0;
};

}  // namespace quillon::bench
