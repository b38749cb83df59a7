// The platform the configuration tests run on: the build's own backend
// (snapshot on Linux, win32 under Wine) with the program's files held in
// memory under Windows-style paths, and a locale the test chooses.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara::test {

// Files and folders by path (case-insensitive, "\" separators). A write
// needs its folder to exist. Knobs: files that refuse reading, folders that
// refuse creation, and writes that fail (leaving the old content, as the
// real atomic write does).
class MemoryHostFiles final : public platform::HostFilesApi {
 public:
  std::map<std::wstring, std::vector<std::uint8_t>, TextLess> files;
  std::set<std::wstring, TextLess> folders;
  std::set<std::wstring, TextLess> unreadable;
  std::set<std::wstring, TextLess> uncreatable;
  bool failWrites = false;
  int deletes = 0;  // DeleteFile and ForceDeleteFile calls

  void PutText(const std::wstring& path, const std::string& bytes);
  [[nodiscard]] std::string Bytes(const std::wstring& path) const;

  bool FileExists(const std::wstring& path) override { return files.count(path) != 0; }
  bool FolderExists(const std::wstring& path) override;
  bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, platform::HostFileError& error) override;
  bool WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                       platform::HostFileError& error) override;
  bool AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                  platform::HostFileError& error) override;
  bool CreateFolders(const std::wstring& path, platform::HostFileError& error) override;
  bool DeleteFile(const std::wstring& path, platform::HostFileError& error) override;
  bool ForceDeleteFile(const std::wstring& path) override;
  bool ListFolder(const std::wstring& path, std::vector<platform::HostFileInfo>& entries) override;
  bool GetFileInfo(const std::wstring& path, platform::HostFileInfo& info) override;
  [[nodiscard]] wchar_t Separator() const override { return L'\\'; }
  std::wstring ProgramFile() override { return L"C:\\Program Files\\Kelvara\\Kelvara.exe"; }
  std::wstring TempFolder() override { return L"C:\\Temp"; }
  bool IsErrorStreamTerminal() override { return false; }
};

// The backend's system facts with the locale replaced.
class LocaleSystem final : public platform::SystemApi {
 public:
  explicit LocaleSystem(std::shared_ptr<platform::SystemApi> inner) : inner_(std::move(inner)) {}
  wchar_t decimal = L'.';
  std::uint16_t uiLanguage = 0x0409;

  std::optional<platform::OsVersion> NativeVersion() override { return inner_->NativeVersion(); }
  platform::OsVersion OrdinaryVersion() override { return inner_->OrdinaryVersion(); }
  bool IsWindows10OrGreater() override { return inner_->IsWindows10OrGreater(); }
  bool Is64BitWindows() override { return inner_->Is64BitWindows(); }
  std::wstring SpecialFolder(int csidl) override { return inner_->SpecialFolder(csidl); }
  std::wstring WindowsFolder() override { return inner_->WindowsFolder(); }
  std::optional<std::wstring> GetEnv(const std::wstring& name) override { return inner_->GetEnv(name); }
  std::optional<std::wstring> ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) override {
    return inner_->ExpandEnvironment(text, bufferChars);
  }
  std::wstring UserName() override { return inner_->UserName(); }
  std::optional<std::wstring> AccountNameOfSid(const std::wstring& sid) override {
    return inner_->AccountNameOfSid(sid);
  }
  std::uint64_t TotalMemory() override { return inner_->TotalMemory(); }
  wchar_t DecimalSeparator() override { return decimal; }
  wchar_t ThousandSeparator() override { return inner_->ThousandSeparator(); }
  bool IsDoubleByteLocale() override { return inner_->IsDoubleByteLocale(); }
  std::uint16_t UserUiLanguage() override { return uiLanguage; }

 private:
  std::shared_ptr<platform::SystemApi> inner_;
};

// The backend platform of the build, as installed by tests that need real
// files (Linux: the snapshot backend; Windows: the win32 backend).
platform::Platform BackendPlatform();

// Installs the backend with MemoryHostFiles and LocaleSystem (and
// `registry` when given) on construction, and forgets the config object and
// the languages so every test starts like a fresh process.
struct ConfigTestPlatform {
  explicit ConfigTestPlatform(std::shared_ptr<platform::RegistryApi> registry = nullptr);
  ~ConfigTestPlatform();
  ConfigTestPlatform(const ConfigTestPlatform&) = delete;
  ConfigTestPlatform& operator=(const ConfigTestPlatform&) = delete;

  std::shared_ptr<MemoryHostFiles> files = std::make_shared<MemoryHostFiles>();
  std::shared_ptr<LocaleSystem> system;
};

// UTF-16LE bytes with a BOM, as language files are stored.
std::string Utf16File(const std::wstring& text);

}  // namespace kelvara::test
