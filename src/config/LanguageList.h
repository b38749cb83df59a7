// The installed languages (one file per language in "Languages" beside the
// program), the automatic choice from the user's interface language, and
// switching the current language.
#pragma once

#include <string>
#include <vector>

#include "config/uConfig.h"

namespace kelvara {

struct TLanguageInfo {
  std::wstring NativeName;  // [Lang] NativeLanguage, else the base name
  std::wstring BaseName;    // file name without ".ini"
  std::wstring LangCode;    // [Translation] LangCode: "|"-separated UI language ids
};

// The folder of the language files: program folder + "Languages".
std::wstring LanguagesFolder(const std::wstring& programFolder);

// Builds the process-wide language list from every "*.ini" file in the
// languages folder, in the order the file system lists them.
void BuildLanguageList(const std::wstring& programFolder);
const std::vector<TLanguageInfo>& LanguageList();

// The base name of the first listed language whose file still exists and
// whose LangCode names the user's UI language (four hexadecimal digits,
// any case); "English" when none does.
std::wstring ChooseUserLanguage();

// Makes `baseName` the current language: an empty name takes
// ChooseUserLanguage(); a name without its file falls back to English.
// Sets config.Lang and config.LanguageFile and loads the file. The caller
// then localises its windows. Must not run during a scan or clean.
void SetLanguage(TConfig& config, const std::wstring& baseName);

}  // namespace kelvara
