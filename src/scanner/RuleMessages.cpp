#include "scanner/RuleMessages.h"

#include "config/LangLookup.h"
#include "sysutil/DriveTypes.h"

namespace kelvara {
namespace {

constexpr std::wstring_view kPlaceholder = L"%s";

std::size_t CountPlaceholders(std::wstring_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find(kPlaceholder); at != std::wstring_view::npos;
       at = text.find(kPlaceholder, at + kPlaceholder.size())) {
    ++count;
  }
  return count;
}

}  // namespace

std::wstring_view RemovableDriveType(std::wstring_view path) {
  const std::wstring_view type = GetDriveTypeName(path.substr(0, 3));
  if (type == kDriveRemovableName || type == kDriveCdRomName) return type;
  return {};
}

std::wstring FormatRuleMessage(std::wstring_view translated, std::wstring_view englishDefault,
                               std::initializer_list<std::wstring_view> args) {
  const std::wstring_view text = CountPlaceholders(translated) == args.size() ? translated : englishDefault;
  std::wstring result;
  result.reserve(text.size() + 32);
  const std::wstring_view* arg = args.begin();
  std::size_t from = 0;
  for (std::size_t at = text.find(kPlaceholder); at != std::wstring_view::npos && arg != args.end();
       at = text.find(kPlaceholder, from)) {
    result.append(text.substr(from, at - from));
    result.append(*arg++);
    from = at + kPlaceholder.size();
  }
  result.append(text.substr(from));
  return result;
}

std::wstring FormatDriveMessage(std::wstring_view translated, std::wstring_view englishDefault, std::wstring_view path,
                                std::wstring_view driveType) {
  return FormatRuleMessage(translated, englishDefault, {path.substr(0, 1), driveType});
}

std::wstring MissingFileMessage(std::wstring_view path) {
  std::wstring text = LangLookup(L"ErrorMessage", L"FileNotExist", L"File(Folder) does not exist.");
  text.append(path);
  return text;
}

std::wstring MissingFileOnDriveMessage(std::wstring_view path, std::wstring_view driveType) {
  // The default is written out at the lookup as well, where the check of
  // the English language file finds it.
  constexpr std::wstring_view kDefault =
      L"File(Folder) does not exist, but drive \"%s\" is %s, recommend you ignore this error.";
  return FormatDriveMessage(
      LangLookup(L"ErrorMessage", L"FileNotExist1",
                 L"File(Folder) does not exist, but drive \"%s\" is %s, recommend you ignore this error."),
      kDefault, path, driveType);
}

std::wstring MissingHelpFileMessage(std::wstring_view path) {
  std::wstring text = LangLookup(L"ErrorMessage", L"HFileNotExist", L"Help File(Folder) does not exist.");
  text.append(path);
  return text;
}

std::wstring EmptyKeyMessage() { return LangLookup(L"ErrorMessage", L"EmptyKey", L"Empty Key"); }

}  // namespace kelvara
