// Switching file-system redirection off around one file operation, for a
// 32-bit process on 64-bit Windows. Redirection is per thread; in the
// 64-bit program, and on systems without it, the switches do nothing.
#pragma once

namespace kelvara {

// Switches redirection off for the calling thread when IsWin64() and keeps
// the previous state in one process-wide slot; true when it was switched.
// Two threads must not use the pair at the same time: prefer
// TRedirectionOff, which keeps the state on the caller's stack.
bool DisableWow64Redirection();
// Restores the state saved by the last successful DisableWow64Redirection.
void RevertWow64Redirection();

// Redirection switched off for the calling thread for the guard's lifetime.
class TRedirectionOff {
 public:
  TRedirectionOff();
  ~TRedirectionOff();
  TRedirectionOff(const TRedirectionOff&) = delete;
  TRedirectionOff& operator=(const TRedirectionOff&) = delete;

  // Redirection was switched off (false on 32-bit Windows, in a 64-bit
  // process, or when the system refused).
  [[nodiscard]] bool Active() const noexcept { return active_; }

 private:
  void* oldState_ = nullptr;
  bool active_ = false;
};

}  // namespace kelvara
