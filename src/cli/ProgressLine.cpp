#include "cli/ProgressLine.h"

#include "cli/CliOutput.h"

namespace kelvara::cli {
namespace {

// Longer lines would wrap on a standard terminal and the carriage return
// would then rewrite only their last row.
constexpr std::size_t kMaxWidth = 79;

}  // namespace

void ProgressLine::Show(const std::wstring& text) {
  if (!enabled_) return;
  const std::wstring line = text.substr(0, kMaxWidth);
  std::wstring out = L"\r" + line;
  // Blanks over what is left of a longer previous line.
  if (shown_ > line.size()) out += std::wstring(shown_ - line.size(), L' ') + L"\r" + line;
  Print(stream_, out);
  std::fflush(stream_);
  shown_ = line.size();
  last_ = std::chrono::steady_clock::now();
}

void ProgressLine::ShowThrottled(const std::wstring& text) {
  if (!enabled_ || std::chrono::steady_clock::now() - last_ < interval_) return;
  Show(text);
}

void ProgressLine::Clear() {
  if (!enabled_ || shown_ == 0) return;
  Print(stream_, L"\r" + std::wstring(shown_, L' ') + L"\r");
  std::fflush(stream_);
  shown_ = 0;
}

}  // namespace kelvara::cli
