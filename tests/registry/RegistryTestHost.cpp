#include "RegistryTestHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "platform/Encoding.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegImport.h"
#include "sysutil/WindowsVersions.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/snapshot/SnapshotPlatform.h"
#endif

namespace kelvara::test {
namespace {

// The backend's system facility with the facts of the test.
class FactsSystem final : public platform::SystemApi {
 public:
  FactsSystem(std::shared_ptr<platform::SystemApi> inner, HostFacts facts) : inner_(std::move(inner)), facts_(facts) {}

  std::optional<platform::OsVersion> NativeVersion() override { return OrdinaryVersion(); }
  platform::OsVersion OrdinaryVersion() override { return {2, facts_.major, facts_.minor, 1000, L""}; }
  bool IsWindows10OrGreater() override { return facts_.major >= 10; }
  bool Is64BitWindows() override { return facts_.win64; }
  std::wstring SpecialFolder(int csidl) override { return inner_->SpecialFolder(csidl); }
  std::wstring WindowsFolder() override { return inner_->WindowsFolder(); }
  std::optional<std::wstring> GetEnv(const std::wstring& name) override { return inner_->GetEnv(name); }
  std::optional<std::wstring> ExpandEnvironment(const std::wstring& text, std::size_t chars) override {
    return inner_->ExpandEnvironment(text, chars);
  }
  std::wstring UserName() override { return inner_->UserName(); }
  std::optional<std::wstring> AccountNameOfSid(const std::wstring& sid) override {
    return inner_->AccountNameOfSid(sid);
  }
  std::uint64_t TotalMemory() override { return inner_->TotalMemory(); }
  wchar_t DecimalSeparator() override { return inner_->DecimalSeparator(); }
  wchar_t ThousandSeparator() override { return inner_->ThousandSeparator(); }
  bool IsDoubleByteLocale() override { return facts_.doubleByteLocale; }
  std::uint16_t UserUiLanguage() override { return inner_->UserUiLanguage(); }

 private:
  std::shared_ptr<platform::SystemApi> inner_;
  HostFacts facts_;
};

// Keeps the scratch keys and files of parallel test processes apart.
std::wstring UniqueTag() {
  static std::atomic<unsigned> serial{0};
  static const unsigned process = std::random_device{}();
  return std::to_wstring(process) + L"-" + std::to_wstring(++serial);
}

}  // namespace

struct RegistryTestHost::Backend {
#ifndef _WIN32
  std::shared_ptr<platform::RegistryStore> store;
#endif
  std::wstring tag = UniqueTag();
};

RegistryTestHost::RegistryTestHost(HostFacts facts) : backend_(std::make_unique<Backend>()) {
#ifdef _WIN32
  platform::Platform installed = platform::MakeWin32Platform();
#else
  platform::SnapshotSettings settings;
  settings.system.is64BitWindows = facts.win64;
  platform::SnapshotFacilities facilities = platform::MakeSnapshotFacilities(std::move(settings));
  backend_->store = facilities.store;
  platform::Platform installed = facilities.Platform();
#endif
  installed.system = std::make_shared<FactsSystem>(installed.system, facts);
  platform::Install(installed);
  InitSystemFacts();
  base_ = L"Software\\Kelvara-reg-" + backend_->tag;
  TNefoRegistry reg;
  reg.DeleteKey(base_);
  reg.CreateKey(base_);
}

RegistryTestHost::~RegistryTestHost() {
  TNefoRegistry reg;
  reg.DeleteKey(base_);
}

std::wstring RegistryTestHost::Path(std::wstring_view relative) const {
  return relative.empty() ? base_ : base_ + L"\\" + std::wstring(relative);
}

std::wstring RegistryTestHost::FullPath(std::wstring_view relative) const {
  return L"HKEY_CURRENT_USER\\" + Path(relative);
}

std::vector<std::uint8_t> RegistryTestHost::RegBytes(std::wstring_view body) const {
  const std::wstring text = L"Windows Registry Editor Version 5.00\r\n" + ReplaceAll(body, L"$", FullPath(L""));
  return EncodeText(text, TextEncoding::Utf16LeBom);
}

void RegistryTestHost::Load(std::wstring_view body) const {
  std::wstring error;
  ASSERT_TRUE(ImportRegData(RegBytes(body), L"test.reg", error)) << ToUtf8(error);
}

bool RegistryTestHost::HasPrivateRegistry() noexcept {
#ifdef _WIN32
  return false;
#else
  return true;
#endif
}

bool RegistryTestHost::RefuseReads(std::wstring_view relative) const {
#ifdef _WIN32
  (void)relative;
  return false;
#else
  return backend_->store->SetReadsRefused(Root(), Path(relative), true) == 0;
#endif
}

bool RegistryTestHost::RefuseWrites(std::wstring_view relative) const {
#ifdef _WIN32
  (void)relative;
  return false;
#else
  return backend_->store->SetWritesRefused(Root(), Path(relative), true) == 0;
#endif
}

bool RegistryTestHost::FailWritesAfter(unsigned writes, long code) const {
#ifdef _WIN32
  (void)writes;
  (void)code;
  return false;
#else
  backend_->store->FailWritesAfter(writes, code);
  return true;
#endif
}

std::wstring RegistryTestHost::TempFile(std::wstring_view name) const {
  platform::HostFilesApi& files = platform::HostFiles();
  return files.TempFolder() + files.Separator() + L"kelvara-reg-" + backend_->tag + L"-" + std::wstring(name);
}

}  // namespace kelvara::test
