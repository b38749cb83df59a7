// A one-line progress display on a stream that rewrites itself with a
// carriage return. It is silent when the stream is not a terminal, so logs
// and pipes receive only the results.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace kelvara::cli {

class ProgressLine {
 public:
  // `interval`: the least time between two throttled updates.
  ProgressLine(std::FILE* stream, bool enabled,
               std::chrono::milliseconds interval = std::chrono::milliseconds(100)) noexcept
      : stream_(stream), enabled_(enabled), interval_(interval) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { Clear(); }

  // Replaces the line now.
  void Show(const std::wstring& text);
  // Replaces the line unless the last update is more recent than the interval.
  void ShowThrottled(const std::wstring& text);
  // Erases the line, leaving the cursor at its start.
  void Clear();

 private:
  std::FILE* stream_;
  bool enabled_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  std::size_t shown_ = 0;  // characters on the line now
};

}  // namespace kelvara::cli
