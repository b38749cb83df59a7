#include "config/LangLookup.h"

#include <memory>

#include "config/MemIniFile.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

struct LanguageState {
  std::wstring path;
  std::shared_ptr<const TMemIniFile> current;
  std::shared_ptr<const TMemIniFile> english;
};

// Process-wide: written by LoadLanguageFile on the window thread while no
// worker runs, read by every thread.
LanguageState& State() {
  static LanguageState state;
  return state;
}

std::shared_ptr<const TMemIniFile> LoadIfPresent(const std::wstring& path) {
  if (!platform::HostFiles().FileExists(path)) return nullptr;
  return std::make_shared<const TMemIniFile>(TMemIniFile::Load(path, TextEncoding::Utf16Le));
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

const std::wstring* NonEmpty(const std::shared_ptr<const TMemIniFile>& file, std::wstring_view section,
                             std::wstring_view key) {
  if (!file) return nullptr;
  const std::wstring* value = file->Find(section, key);
  return value != nullptr && !value->empty() ? value : nullptr;
}

}  // namespace

std::wstring LangLookup(std::wstring_view section, std::wstring_view key, std::wstring_view defaultText) {
  const LanguageState& state = State();
  if (const std::wstring* value = NonEmpty(state.current, section, key)) return *value;
  if (const std::wstring* value = NonEmpty(state.english, section, key)) return *value;
  return std::wstring(defaultText);
}

void LoadLanguageFile(const std::wstring& path) {
  LanguageState& state = State();
  state.path = path;
  state.current = LoadIfPresent(path);
  if (!state.english) {
    const std::wstring englishPath = FolderOf(path) + kEnglishLanguage + L".ini";
    state.english = SameText(englishPath, path) ? state.current : LoadIfPresent(englishPath);
  }
}

const std::wstring& CurrentLanguageFile() { return State().path; }

bool HasCurrentLanguage() { return State().current != nullptr; }

std::wstring CurrentLanguageText(std::wstring_view section, std::wstring_view key) {
  const LanguageState& state = State();
  if (!state.current) return {};
  return state.current->ReadString(section, key, L"");
}

void ResetLanguages() { State() = LanguageState{}; }

}  // namespace kelvara
