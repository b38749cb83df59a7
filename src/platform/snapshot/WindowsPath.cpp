#include "platform/snapshot/WindowsPath.h"

#include "platform/Text.h"

namespace kelvara::platform {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool HasForbiddenChar(std::wstring_view part) {
  for (wchar_t c : part) {
    if (static_cast<std::uint32_t>(c) < 0x20) return true;
    if (std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return true;
  }
  return false;
}

}  // namespace

std::optional<wchar_t> ParseDriveRoot(std::wstring_view root) {
  if (root.size() < 2 || root.size() > 3 || !IsLetter(root[0]) || root[1] != L':') return std::nullopt;
  if (root.size() == 3 && !IsSeparator(root[2])) return std::nullopt;
  return UpperChar(root[0]);
}

std::optional<DrivePath> ParseDrivePath(std::wstring_view path) {
  if (path.size() < 2 || !IsLetter(path[0]) || path[1] != L':') return std::nullopt;
  if (path.size() > 2 && !IsSeparator(path[2])) return std::nullopt;
  DrivePath result;
  result.drive = UpperChar(path[0]);
  result.endsWithSeparator = path.size() > 3 && IsSeparator(path.back());
  std::size_t start = 2;
  while (start < path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::wstring part(path.substr(start, end - start));
    const bool last = end == path.size();
    if (last) {
      while (!part.empty() && (part.back() == L'.' || part.back() == L' ')) {
        // "." and ".." keep their meaning; other trailing dots go.
        if (part == L"." || part == L"..") break;
        part.pop_back();
      }
    }
    if (part == L"..") {
      if (!result.parts.empty()) result.parts.pop_back();
    } else if (!part.empty() && part != L".") {
      if (HasForbiddenChar(part)) return std::nullopt;
      result.parts.push_back(std::move(part));
    }
    start = end + 1;
  }
  return result;
}

}  // namespace kelvara::platform
