#include "sysutil/PublicFuns.h"

#include <array>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "sysutil/PathText.h"
#include "sysutil/WindowsVersions.h"
#include "sysutil/Wow64Redirection.h"

namespace kelvara {
namespace {

// Extensions tried, in this order, for a path that names a program without
// its extension.
constexpr std::array<std::wstring_view, 5> kProgramExtensions = {L".exe", L".com", L".bat", L".cmd", L".dll"};

bool ExistsInEitherView(platform::FileSystemApi& files, const std::wstring& path) {
  if (files.PathExists(path)) return true;
  if (!IsWin64()) return false;
  // Only a redirection that was actually switched off can change the answer.
  const TRedirectionOff off;
  return off.Active() && files.PathExists(path);
}

// A string value of HKEY_LOCAL_MACHINE\<key>, up to its first NUL; empty
// when the key or value cannot be read or is not text.
std::wstring ReadMachineText(const std::wstring& key, const std::wstring& valueName, std::uint32_t access) {
  platform::RegistryApi& registry = platform::Registry();
  platform::HKey handle = 0;
  if (registry.OpenKey(platform::kHkeyLocalMachine, key, access, handle) != platform::kErrorSuccess) return {};
  const platform::UniqueKey opened(registry, handle);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry.QueryValue(handle, valueName, type, nullptr, size) != platform::kErrorSuccess) return {};
  if (type != platform::kRegSz && type != platform::kRegExpandSz) return {};
  std::vector<std::uint8_t> data;
  if (registry.QueryValue(handle, valueName, type, &data, size) != platform::kErrorSuccess) return {};
  std::wstring text = FromUtf16LeBytes(data.data(), data.size());
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

bool IsWebAddress(std::wstring_view text) {
  return ContainsText(text, L"http://") || ContainsText(text, L"https://") || ContainsText(text, L"mailto");
}

}  // namespace

bool PathExists(const std::wstring& path) {
  if (path.empty()) return false;
  platform::FileSystemApi& files = platform::Files();
  if (ExistsInEitherView(files, path)) return true;
  if (!ExtractFileExt(path).empty()) return false;
  std::wstring candidate;
  candidate.reserve(path.size() + 4);
  for (const std::wstring_view extension : kProgramExtensions) {
    candidate.assign(path).append(extension);
    if (ExistsInEitherView(files, candidate)) return true;
  }
  return false;
}

bool ForceDeleteFile(const std::wstring& path) {
  platform::HostFilesApi& hostFiles = platform::HostFiles();
  if (!hostFiles.FileExists(path)) return true;
  return hostFiles.ForceDeleteFile(path);
}

std::wstring GetRegURL(const std::wstring& key, const std::wstring& valueName, const std::wstring& defaultAddress) {
  std::wstring address = ReadMachineText(key, valueName, platform::kKeyRead);
  if (address.empty()) address = ReadMachineText(key, valueName, platform::kKeyRead | platform::kKeyWow64_64Key);
  return IsWebAddress(address) ? address : defaultAddress;
}

std::uint64_t GetTotalMemoryMiB() { return platform::System().TotalMemory() / 1024 / 1024; }

}  // namespace kelvara
