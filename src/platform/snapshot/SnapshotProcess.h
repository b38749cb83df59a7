// Programs, the shell and restarts on the snapshot backend: nothing is
// started; every call is recorded for tests to read. RunAndWait calls the
// handler the settings install (a stand-in for regedit, for example) and
// gives -1 ("cannot start") without one.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ProcessApi.h"

namespace kelvara::platform {

struct ProcessSettings {
  // Takes the command line, returns the exit code.
  std::function<int(const std::wstring& commandLine)> runHandler;
  long shellExecuteResult = 42;  // above 32: success
  bool runElevatedResult = true;
};

struct ShellCall {
  std::wstring verb;
  std::wstring file;
  std::wstring parameters;
  std::wstring folder;
  int showState = 0;
};

struct ShortcutCall {
  ShortcutDetails shortcut;
  std::wstring linkPath;
};

class SnapshotProcess final : public ProcessApi {
 public:
  explicit SnapshotProcess(ProcessSettings settings);

  int RunAndWait(const std::wstring& commandLine, int showState) override;
  long ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                    const std::wstring& folder, int showState) override;
  bool RunElevated(const std::wstring& parameters) override;
  bool CreateShortcut(const ShortcutDetails& shortcut, const std::wstring& linkPath) override;
  bool RestartWindows() override;

  // Replaces the RunAndWait handler (null: nothing can be started).
  void SetRunHandler(std::function<int(const std::wstring& commandLine)> handler);

  // What was asked for so far, in call order.
  [[nodiscard]] std::vector<std::wstring> RunCalls() const;
  [[nodiscard]] std::vector<ShellCall> ShellCalls() const;
  [[nodiscard]] std::vector<std::wstring> ElevatedRuns() const;
  [[nodiscard]] std::vector<ShortcutCall> Shortcuts() const;
  [[nodiscard]] int RestartRequests() const;

 private:
  mutable std::mutex mutex_;
  ProcessSettings settings_;
  std::vector<std::wstring> runs_;
  std::vector<ShellCall> shellCalls_;
  std::vector<std::wstring> elevatedRuns_;
  std::vector<ShortcutCall> shortcuts_;
  int restarts_ = 0;
};

}  // namespace kelvara::platform
