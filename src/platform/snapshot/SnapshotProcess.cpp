#include "platform/snapshot/SnapshotProcess.h"

#include <utility>

namespace kelvara::platform {

SnapshotProcess::SnapshotProcess(ProcessSettings settings) : settings_(std::move(settings)) {}

int SnapshotProcess::RunAndWait(const std::wstring& commandLine, int /*showState*/) {
  std::function<int(const std::wstring&)> handler;
  {
    std::lock_guard lock(mutex_);
    runs_.push_back(commandLine);
    handler = settings_.runHandler;
  }
  // The handler runs unlocked: it may call back into the platform.
  return handler ? handler(commandLine) : -1;
}

long SnapshotProcess::ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                                   const std::wstring& folder, int showState) {
  std::lock_guard lock(mutex_);
  shellCalls_.push_back(ShellCall{verb, file, parameters, folder, showState});
  return settings_.shellExecuteResult;
}

bool SnapshotProcess::RunElevated(const std::wstring& parameters) {
  std::lock_guard lock(mutex_);
  elevatedRuns_.push_back(parameters);
  return settings_.runElevatedResult;
}

bool SnapshotProcess::CreateShortcut(const ShortcutDetails& shortcut, const std::wstring& linkPath) {
  std::lock_guard lock(mutex_);
  shortcuts_.push_back(ShortcutCall{shortcut, linkPath});
  return true;
}

bool SnapshotProcess::RestartWindows() {
  std::lock_guard lock(mutex_);
  ++restarts_;
  return true;
}

void SnapshotProcess::SetRunHandler(std::function<int(const std::wstring& commandLine)> handler) {
  std::lock_guard lock(mutex_);
  settings_.runHandler = std::move(handler);
}

std::vector<std::wstring> SnapshotProcess::RunCalls() const {
  std::lock_guard lock(mutex_);
  return runs_;
}

std::vector<ShellCall> SnapshotProcess::ShellCalls() const {
  std::lock_guard lock(mutex_);
  return shellCalls_;
}

std::vector<std::wstring> SnapshotProcess::ElevatedRuns() const {
  std::lock_guard lock(mutex_);
  return elevatedRuns_;
}

std::vector<ShortcutCall> SnapshotProcess::Shortcuts() const {
  std::lock_guard lock(mutex_);
  return shortcuts_;
}

int SnapshotProcess::RestartRequests() const {
  std::lock_guard lock(mutex_);
  return restarts_;
}

}  // namespace kelvara::platform
