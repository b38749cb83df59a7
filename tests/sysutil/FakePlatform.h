// Small in-memory fakes of every platform facility, with the knobs the
// system-utility tests need: version facts, folders and environment, a set
// of existing paths with drive types, privileges, and records of what was
// started or saved.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara::test {

class FakeSystem final : public platform::SystemApi {
 public:
  std::optional<platform::OsVersion> native = platform::OsVersion{2, 10, 0, 19045, L""};
  platform::OsVersion ordinary{2, 6, 2, 9200, L""};
  bool windows10 = true;
  bool win64 = false;
  std::map<int, std::wstring> folders;
  std::wstring windowsFolder = L"C:\\Windows";
  std::map<std::wstring, std::wstring, TextLess> environment;
  std::uint64_t totalMemory = 0;
  wchar_t decimal = L'.';
  wchar_t thousand = L',';

  std::optional<platform::OsVersion> NativeVersion() override { return native; }
  platform::OsVersion OrdinaryVersion() override { return ordinary; }
  bool IsWindows10OrGreater() override { return windows10; }
  bool Is64BitWindows() override { return win64; }
  std::wstring SpecialFolder(int csidl) override;
  std::wstring WindowsFolder() override { return windowsFolder; }
  std::optional<std::wstring> GetEnv(const std::wstring& name) override;
  // Expands %NAME% like ExpandEnvironmentStrings: unknown names stay.
  std::optional<std::wstring> ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) override;
  std::wstring UserName() override { return L"User"; }
  std::optional<std::wstring> AccountNameOfSid(const std::wstring&) override { return std::nullopt; }
  std::uint64_t TotalMemory() override { return totalMemory; }
  wchar_t DecimalSeparator() override { return decimal; }
  wchar_t ThousandSeparator() override { return thousand; }
  bool IsDoubleByteLocale() override { return false; }
  std::uint16_t UserUiLanguage() override { return 0x0409; }
};

// Existing paths compare without regard to case. With `redirecting` set
// (a 32-bit process on 64-bit Windows), the paths in `hiddenByRedirection`
// exist only while redirection is switched off.
class FakeFiles final : public platform::FileSystemApi {
 public:
  std::set<std::wstring, TextLess> existing;
  std::set<std::wstring, TextLess> hiddenByRedirection;
  bool redirecting = false;
  std::map<wchar_t, unsigned> driveTypes{{L'C', platform::kDriveFixed}};
  std::vector<std::wstring> asked;  // every PathExists question, in order
  int switchedOff = 0;              // redirection currently off
  int reverts = 0;

  bool PathExists(const std::wstring& path) override;
  unsigned DriveType(const std::wstring& root) override;
  bool DisableRedirection(void*& oldState) override;
  void RevertRedirection(void* oldState) override;
  void BeginScan() override {}
};

class FakeSecurity final : public platform::SecurityApi {
 public:
  bool administratorsMember = true;
  bool elevated = false;
  std::set<std::wstring, TextLess> knownPrivileges{L"SeShutdownPrivilege", L"SeBackupPrivilege", L"SeRestorePrivilege",
                                                   L"SeDebugPrivilege"};
  std::set<std::wstring, TextLess> heldPrivileges{L"SeShutdownPrivilege"};
  std::vector<std::wstring> enabled;

  bool IsAdministratorsMember() override { return administratorsMember; }
  bool IsElevated() override { return elevated; }
  bool EnablePrivilege(const std::wstring& name, bool enable) override;
  bool PrivilegeExists(const std::wstring& name) override { return knownPrivileges.count(name) != 0; }
};

class FakeProcess final : public platform::ProcessApi {
 public:
  struct ShellCall {
    std::wstring verb, file, parameters;
  };
  long shellResult = 42;
  std::set<std::wstring> failingShellFiles;  // ShellExecute gives 2 for these
  std::vector<ShellCall> shellCalls;
  std::vector<std::wstring> elevatedRuns;
  std::vector<std::pair<platform::ShortcutDetails, std::wstring>> shortcuts;
  int restarts = 0;

  int RunAndWait(const std::wstring& commandLine, int) override { return commandLine.empty() ? -1 : 0; }
  long ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                    const std::wstring& folder, int showState) override;
  bool RunElevated(const std::wstring& parameters) override;
  bool CreateShortcut(const platform::ShortcutDetails& shortcut, const std::wstring& linkPath) override;
  bool RestartWindows() override;
};

// String values by key path; each view (default, 64-bit) has its own keys.
// Records the access masks keys were opened with.
class FakeRegistry final : public platform::RegistryApi {
 public:
  void SetString(bool view64, const std::wstring& key, const std::wstring& name, const std::wstring& value);
  std::vector<std::uint32_t> openMasks;

  long OpenKey(platform::HKey parent, const std::wstring& subKey, std::uint32_t access,
               platform::HKey& result) override;
  long CreateKey(platform::HKey, const std::wstring&, std::uint32_t, platform::HKey&) override { return 5; }
  long CloseKey(platform::HKey key) override;
  long FlushKey(platform::HKey) override { return 0; }
  long DeleteKey(platform::HKey, const std::wstring&, std::uint32_t) override { return 5; }
  long DeleteValue(platform::HKey, const std::wstring&) override { return 5; }
  long QueryInfoKey(platform::HKey, platform::RegKeyStats&) override { return 6; }
  long EnumKey(platform::HKey, std::uint32_t, std::wstring&) override { return 259; }
  long EnumValue(platform::HKey, std::uint32_t, std::wstring&) override { return 259; }
  long QueryValue(platform::HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>* data,
                  std::uint32_t& size) override;
  long SetValue(platform::HKey, const std::wstring&, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
    return 5;
  }
  long SaveKey(platform::HKey, const std::wstring&) override { return 5; }
  long RestoreKey(platform::HKey, const std::wstring&) override { return 5; }
  long LoadKey(platform::HKey, const std::wstring&, const std::wstring&) override { return 5; }
  long UnLoadKey(platform::HKey, const std::wstring&) override { return 5; }
  long ReplaceKey(platform::HKey, const std::wstring&, const std::wstring&, const std::wstring&) override { return 5; }
  long ConnectRegistry(const std::wstring&, platform::HKey, platform::HKey&) override { return 5; }
  std::wstring ErrorMessage(long code) override { return L"system message " + std::to_wstring(code); }

 private:
  using Values = std::map<std::wstring, std::wstring, TextLess>;
  std::map<std::wstring, Values, TextLess> keys_[2];  // [view64]
  std::map<platform::HKey, const Values*> open_;
  platform::HKey next_ = 0x1000;
};

class FakeHostFiles final : public platform::HostFilesApi {
 public:
  std::set<std::wstring, TextLess> files;
  bool deleteSucceeds = true;
  std::vector<std::wstring> forceDeleted;

  bool FileExists(const std::wstring& path) override { return files.count(path) != 0; }
  bool FolderExists(const std::wstring&) override { return false; }
  bool ReadFile(const std::wstring&, std::vector<std::uint8_t>&, platform::HostFileError&) override { return false; }
  bool WriteFileAtomic(const std::wstring&, const std::vector<std::uint8_t>&, platform::HostFileError&) override {
    return false;
  }
  bool AppendFile(const std::wstring&, const std::vector<std::uint8_t>&, platform::HostFileError&) override {
    return false;
  }
  bool CreateFolders(const std::wstring&, platform::HostFileError&) override { return false; }
  bool DeleteFile(const std::wstring&, platform::HostFileError&) override { return false; }
  bool ForceDeleteFile(const std::wstring& path) override;
  bool ListFolder(const std::wstring&, std::vector<platform::HostFileInfo>&) override { return false; }
  bool GetFileInfo(const std::wstring&, platform::HostFileInfo&) override { return false; }
  [[nodiscard]] wchar_t Separator() const override { return L'\\'; }
  std::wstring ProgramFile() override { return L"C:\\Program Files\\Kelvara\\Kelvara.exe"; }
  std::wstring TempFolder() override { return L"C:\\Temp"; }
  bool IsErrorStreamTerminal() override { return false; }
};

// All fakes, installed as the process-wide platform by Install().
struct FakePlatform {
  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
  std::shared_ptr<FakeFiles> files = std::make_shared<FakeFiles>();
  std::shared_ptr<FakeSecurity> security = std::make_shared<FakeSecurity>();
  std::shared_ptr<FakeProcess> process = std::make_shared<FakeProcess>();
  std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
  std::shared_ptr<FakeHostFiles> hostFiles = std::make_shared<FakeHostFiles>();

  // Installs the fakes and reads every system fact from them.
  void Install() const;
};

}  // namespace kelvara::test
