#include "sysutil/Wow64Redirection.h"

#include "platform/Platform.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {
namespace {

struct SavedRedirection {
  void* oldState = nullptr;
  bool disabled = false;
};

// The one process-wide saved state of DisableWow64Redirection.
SavedRedirection& Saved() {
  static SavedRedirection saved;
  return saved;
}

}  // namespace

bool DisableWow64Redirection() {
  SavedRedirection& saved = Saved();
  saved = SavedRedirection{};
  if (!IsWin64()) return false;
  saved.disabled = platform::Files().DisableRedirection(saved.oldState);
  return saved.disabled;
}

void RevertWow64Redirection() {
  SavedRedirection& saved = Saved();
  if (!IsWin64() || !saved.disabled) return;
  platform::Files().RevertRedirection(saved.oldState);
  saved = SavedRedirection{};
}

TRedirectionOff::TRedirectionOff() {
  if (IsWin64()) active_ = platform::Files().DisableRedirection(oldState_);
}

TRedirectionOff::~TRedirectionOff() {
  if (active_) platform::Files().RevertRedirection(oldState_);
}

}  // namespace kelvara
