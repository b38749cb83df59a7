// The unattended cleaning run: load the configuration, the language and
// the exclusions, choose the categories, scan, select the findings by the
// run's check type, clean them with a backup, record the run and show the
// notice. The logic lives here; the hidden window, its tray icon and the
// notice are a view (the Win32 window, or the command line's printer).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/uConfig.h"
#include "scanner/uDefines.h"

namespace kelvara {

enum TCheckType : int { ctAll = 0, ctSafe };

// What the automatic mode shows. Calls arrive on the engine's worker
// threads, one at a time.
class TAutoRunView {
 public:
  virtual ~TAutoRunView() = default;
  // False when the tray icon cannot be shown; the run goes on regardless.
  virtual bool ShowTrayIcon() = 0;
  virtual void SetTrayAnimation(bool on) = 0;
  virtual void SetTrayHint(const std::wstring& hint) = 0;
  // A full-screen program covers the screen: no notice then.
  virtual bool IsFullScreenActive() = 0;
  // Shows the result notice and returns when it is closed.
  virtual void ShowNotice(std::int64_t totalErrors, std::int32_t cleanErrors) = 0;
  // Asks the stop question; true for Yes.
  virtual bool AskStopAndExit(const std::wstring& question) = 0;
  // Ends the run (the program exits).
  virtual void Close() = 0;
};

// Where the run keeps its files.
struct TAutoRunFolders {
  std::wstring programFolder;  // holds "Languages"
  std::wstring appDataFolder;  // the user's application-data folder
  // When set, the data folder to use instead of "Kelvara" under the
  // application-data folder (the command line's --data-dir).
  std::wstring dataFolderOverride;
};

class TFrmAutoRun final : public TMessageTarget {
 public:
  TFrmAutoRun(TAutoRunView& view, TAutoRunFolders folders);
  TFrmAutoRun(const TFrmAutoRun&) = delete;
  TFrmAutoRun& operator=(const TFrmAutoRun&) = delete;
  ~TFrmAutoRun() override;

  // `arguments` without the program name; the first is the "-a" that chose
  // this mode, a second "-all" or "all" cleans every finding.
  void FormCreate(const std::vector<std::wstring>& arguments);
  // The one-shot start, 300 ms after creation.
  void tmr1Timer();
  // False cancels a close asked for while an engine is busy.
  bool FormCloseQuery();
  void Exit1Click();

  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  [[nodiscard]] const TConfig& Config() const { return fConfig; }
  [[nodiscard]] TCheckType CheckType() const { return fCheckTp; }
  [[nodiscard]] const std::vector<TEntry>& TypeEntries() const { return fTypeEntires; }
  [[nodiscard]] const std::vector<TEntry*>& CheckedEntries() const { return fCheckedEntries; }
  [[nodiscard]] const std::vector<std::unique_ptr<TResultData>>& Entries() const { return fEntries; }
  // Why the start did nothing: the scanner could not be set up.
  [[nodiscard]] bool SetupFailed() const { return fSetupFailed; }

 private:
  void LoadConfiguration();
  void ChooseCategories();
  void OnFound();
  void OnScanFinished();
  void OnCleanFinished();

  TAutoRunView& fView;
  TAutoRunFolders fFolders;
  std::vector<TEntry> fTypeEntires;
  std::vector<TEntry*> fCheckedEntries;
  std::vector<std::unique_ptr<TResultData>> fEntries;
  std::vector<TResultData*> fCleanEntries;
  TConfig fConfig;
  TCheckType fCheckTp = ctSafe;
  bool fSetupFailed = false;
};

}  // namespace kelvara
