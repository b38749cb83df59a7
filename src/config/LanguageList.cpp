#include "config/LanguageList.h"

#include "config/DataFolders.h"
#include "config/LangLookup.h"
#include "config/MemIniFile.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

struct LanguageListState {
  std::wstring folder;
  std::vector<TLanguageInfo> languages;
};

// Process-wide: built once at start on the window thread.
LanguageListState& State() {
  static LanguageListState state;
  return state;
}

std::wstring LanguageId(std::uint16_t id) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring text(4, L'0');
  for (int i = 3; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kHex[id & 0xF];
    id = static_cast<std::uint16_t>(id >> 4);
  }
  return text;
}

bool ListsLanguage(const std::wstring& langCode, const std::wstring& id) {
  const std::wstring codes = UpperCase(langCode);
  std::size_t start = 0;
  while (start <= codes.size()) {
    std::size_t end = codes.find(L'|', start);
    if (end == std::wstring::npos) end = codes.size();
    if (Trim(std::wstring_view(codes).substr(start, end - start)) == id) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::wstring LanguagesFolder(const std::wstring& programFolder) {
  return WithTrailingSeparator(WithTrailingSeparator(programFolder) + L"Languages");
}

void BuildLanguageList(const std::wstring& programFolder) {
  LanguageListState& state = State();
  state.folder = LanguagesFolder(programFolder);
  state.languages.clear();
  std::vector<platform::HostFileInfo> entries;
  if (!platform::HostFiles().ListFolder(state.folder, entries)) return;
  for (const platform::HostFileInfo& entry : entries) {
    if (entry.isFolder || !EndsWithText(entry.name, L".ini") || entry.name.size() <= 4) continue;
    const TMemIniFile file = TMemIniFile::Load(state.folder + entry.name, TextEncoding::Utf16Le);
    TLanguageInfo info;
    info.BaseName = entry.name.substr(0, entry.name.size() - 4);
    info.NativeName = Trim(file.ReadString(L"Lang", L"NativeLanguage", L""));
    if (info.NativeName.empty()) info.NativeName = info.BaseName;
    info.LangCode = file.ReadString(L"Translation", L"LangCode", L"");
    state.languages.push_back(std::move(info));
  }
}

const std::vector<TLanguageInfo>& LanguageList() { return State().languages; }

std::wstring ChooseUserLanguage() {
  const LanguageListState& state = State();
  const std::wstring id = LanguageId(platform::System().UserUiLanguage());
  for (const TLanguageInfo& language : state.languages) {
    if (!platform::HostFiles().FileExists(state.folder + language.BaseName + L".ini")) continue;
    if (ListsLanguage(language.LangCode, id)) return language.BaseName;
  }
  return kEnglishLanguage;
}

void SetLanguage(TConfig& config, const std::wstring& baseName) {
  config.Lang = baseName.empty() ? ChooseUserLanguage() : baseName;
  const std::wstring folder = LanguagesFolder(config.Path);
  config.LanguageFile = folder + config.Lang + L".ini";
  if (!platform::HostFiles().FileExists(config.LanguageFile)) {
    config.LanguageFile = folder + kEnglishLanguage + L".ini";
    config.Lang = kEnglishLanguage;
  }
  LoadLanguageFile(config.LanguageFile);
}

}  // namespace kelvara
