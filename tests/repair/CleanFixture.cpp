#include "CleanFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegImport.h"
#include "sysutil/AdminFlag.h"
#include "sysutil/SystemStartup.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace kelvara::test {
namespace {

using platform::HKey;

// Keeps the scratch keys and folders of parallel test processes apart.
std::wstring UniqueTag() {
  static std::atomic<unsigned> serial{0};
  static const unsigned process = std::random_device{}();
  return std::to_wstring(process) + L"-" + std::to_wstring(++serial);
}

std::wstring Hex(const std::vector<std::uint8_t>& bytes) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring out;
  for (const std::uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

void DumpKey(platform::RegistryApi& api, HKey parent, const std::wstring& path, const std::wstring& shown,
             std::vector<std::wstring>& out) {
  HKey opened = 0;
  ASSERT_EQ(api.OpenKey(parent, path, platform::kKeyRead, opened), 0) << ToUtf8(path);
  platform::UniqueKey key(api, opened);
  out.push_back(shown);
  std::wstring name;
  for (std::uint32_t i = 0; api.EnumValue(key.get(), i, name) == 0; ++i) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(api.QueryValue(key.get(), name, type, nullptr, size), 0) << ToUtf8(shown + L" | " + name);
    std::vector<std::uint8_t> data(size);
    ASSERT_EQ(api.QueryValue(key.get(), name, type, &data, size), 0) << ToUtf8(shown + L" | " + name);
    data.resize(size);
    out.push_back(shown + L" | " + name + L" | " + std::to_wstring(type) + L" | " + Hex(data));
  }
  std::vector<std::wstring> children;
  for (std::uint32_t i = 0; api.EnumKey(key.get(), i, name) == 0; ++i) children.push_back(name);
  for (const std::wstring& child : children) DumpKey(api, key.get(), child, shown + L"\\" + child, out);
}

}  // namespace

CleanFixture::CleanFixture(TestRegistry registry) {
  if (registry == TestRegistry::Snapshot) {
    snapshot_ = std::make_unique<ScanFixture>();
    folder_ = snapshot_->DataFolder();
  } else {
#ifdef _WIN32
    platform::Install(platform::MakeWin32Platform());
    InitSystemUtilities();
    SetIsAdmin(true);
#else
    ADD_FAILURE() << "the real registry exists only in the Windows build";
#endif
    folder_ = std::filesystem::temp_directory_path() / (L"kelvara-clean-" + UniqueTag());
    std::filesystem::create_directories(folder_);
  }
  scratch_ = L"Software\\Kelvara-clean-" + UniqueTag();
  TNefoRegistry reg;
  reg.DeleteKey(scratch_);
  reg.CreateKey(scratch_);
}

CleanFixture::~CleanFixture() {
  TNefoRegistry reg;
  reg.DeleteKey(scratch_);
  if (snapshot_) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

ScanFixture& CleanFixture::Snapshot() {
  EXPECT_TRUE(snapshot_) << "a knob of the snapshot was asked for on the real registry";
  return *snapshot_;
}

std::wstring CleanFixture::Key(std::wstring_view relative) const { return scratch_ + L"\\" + std::wstring(relative); }

void CleanFixture::Load(std::wstring_view body) const {
  const std::wstring text =
      L"Windows Registry Editor Version 5.00\r\n" + ReplaceAll(body, L"$", L"HKEY_CURRENT_USER\\" + scratch_);
  std::wstring error;
  ASSERT_TRUE(ImportRegData(EncodeText(text, TextEncoding::Utf16LeBom), L"fixture.reg", error)) << ToUtf8(error);
}

std::vector<std::wstring> CleanFixture::Dump() const {
  std::vector<std::wstring> out;
  DumpKey(platform::Registry(), platform::kHkeyCurrentUser, scratch_, L"", out);
  std::sort(out.begin(), out.end());
  return out;
}

TResultData Finding(const std::wstring& key, const std::wstring& value, TRegFixType type, bool checked, bool safe) {
  TResultData finding;
  finding.RegData.root = platform::kHkeyCurrentUser;
  finding.RegData.key = key;
  finding.RegData.value = value;
  finding.RegData.RemoveType = type;
  finding.Checked = checked;
  finding.SafeToFix = safe;
  return finding;
}

std::vector<TResultData*> Pointers(std::vector<TResultData>& findings) {
  std::vector<TResultData*> out;
  for (TResultData& f : findings) out.push_back(&f);
  return out;
}

std::intptr_t CleanTarget::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  EXPECT_EQ(message, WM_REGCLEAN);
  messages.push_back({wParam, lParam});
  if (onMessage) onMessage(wParam);
  return 0;
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring ReadText(const std::wstring& path) { return DecodeText(ReadBytes(path), TextEncoding::Utf8).text; }

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace kelvara::test
