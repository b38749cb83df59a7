// The texts the program shows, looked up in the language files.
//
// Every user-visible text is looked up by section and key with its English
// text as the default: first in the current language file, then in
// "English.ini" beside it, then the default. An empty value counts as
// missing, so a language file cannot blank out a text.
//
// Write lookups with three wide string literals, as in
//   LangLookup(L"Message", L"Scanning", L"Scanning..")
// (spread over lines if need be): a test reads the program's sources for
// calls of this shape and checks that Languages/English.ini holds each key
// with exactly its default. Lookups whose section or key is computed (the
// windows' component captions, category rows) are not checked; add their
// texts to English.ini by hand.
//
// Threads: the language files are loaded into memory by LoadLanguageFile
// (through SetLanguage) before any scan starts and are only read afterwards,
// so LangLookup is safe from any thread and takes no lock. LoadLanguageFile
// and ResetLanguages must not run while a scan or clean is under way.
#pragma once

#include <string>
#include <string_view>

namespace kelvara {

inline constexpr wchar_t kEnglishLanguage[] = L"English";

std::wstring LangLookup(std::wstring_view section, std::wstring_view key, std::wstring_view defaultText);

// Makes `path` the current language file and loads it (read as UTF-16LE;
// a missing file leaves no current language). The English fallback is
// loaded from "English.ini" in the same folder the first time it exists,
// and kept for the life of the process.
void LoadLanguageFile(const std::wstring& path);
// The path given to LoadLanguageFile; empty before.
const std::wstring& CurrentLanguageFile();
// A language file is loaded as the current one.
bool HasCurrentLanguage();
// The value in the current language file alone, without fallback; empty
// when missing.
std::wstring CurrentLanguageText(std::wstring_view section, std::wstring_view key);
// Forgets the current language and the English fallback.
void ResetLanguages();

}  // namespace kelvara
