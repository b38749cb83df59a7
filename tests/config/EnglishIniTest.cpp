// Languages/English.ini must hold every text the program looks up. The
// test reads the program's sources for lookups written as
//   LangLookup(L"section", L"key", L"English default")
// (three wide string literals, any spacing and line breaks between them)
// and checks the file holds each key with exactly that text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ConfigTestPlatform.h"
#include "config/MemIniFile.h"
#include "support/TestData.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;

struct Lookup {
  std::wstring section, key, text;
  std::string where;  // file:line
};

fs::path RepositoryRoot() {
  const std::wstring fixtures = test::FixturePath(L"");
  return fs::path(fixtures).parent_path().parent_path().parent_path();
}

void SkipSpace(const std::string& s, std::size_t& i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
}

// Reads L"..." at `i`; false when there is none. `unsupported` is set when
// the literal holds an escape other than \\ and \".
bool ReadLiteral(const std::string& s, std::size_t& i, std::string& out, bool& unsupported) {
  SkipSpace(s, i);
  if (s.compare(i, 2, "L\"") != 0) return false;
  i += 2;
  out.clear();
  while (i < s.size() && s[i] != '"') {
    if (s[i] == '\\' && i + 1 < s.size()) {
      if (s[i + 1] != '\\' && s[i + 1] != '"') unsupported = true;
      out += s[i + 1];
      i += 2;
    } else if (s[i] == '\n') {
      return false;
    } else {
      out += s[i++];
    }
  }
  if (i >= s.size()) return false;
  ++i;
  return true;
}

bool Expect(const std::string& s, std::size_t& i, char c) {
  SkipSpace(s, i);
  if (i >= s.size() || s[i] != c) return false;
  ++i;
  return true;
}

std::vector<Lookup> LookupsIn(const fs::path& file, const std::string& shown, std::vector<std::string>& problems) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string s = buffer.str();
  std::vector<Lookup> found;
  for (std::size_t at = s.find("LangLookup"); at != std::string::npos; at = s.find("LangLookup", at + 1)) {
    std::size_t i = at + 10;
    std::string parts[3];
    bool unsupported = false;
    if (!Expect(s, i, '(') || !ReadLiteral(s, i, parts[0], unsupported) || !Expect(s, i, ',') ||
        !ReadLiteral(s, i, parts[1], unsupported) || !Expect(s, i, ',') || !ReadLiteral(s, i, parts[2], unsupported) ||
        !Expect(s, i, ')')) {
      continue;
    }
    const std::string where =
        shown + ":" + std::to_string(1 + std::count(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    if (unsupported) {
      problems.push_back(where +
                         ": the default holds an escape an INI line cannot carry (only \\\\ and \\\" can be "
                         "checked); keep language texts on one line without control characters");
      continue;
    }
    found.push_back({FromUtf8(parts[0]), FromUtf8(parts[1]), FromUtf8(parts[2]), where});
  }
  return found;
}

std::string Narrow(const std::wstring& text) { return ToUtf8(text); }

TEST(EnglishIni, IsUtf16WithAByteOrderMark) {
  std::ifstream in(RepositoryRoot() / "Languages" / "English.ini", std::ios::binary);
  char bom[2] = {};
  in.read(bom, 2);
  EXPECT_EQ(static_cast<unsigned char>(bom[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bom[1]), 0xFE);
}

TEST(EnglishIni, HoldsEveryTextTheProgramLooksUp) {
  platform::Install(test::BackendPlatform());
  const fs::path root = RepositoryRoot();
  const fs::path englishPath = root / "Languages" / "English.ini";
  ASSERT_TRUE(fs::exists(englishPath)) << englishPath.string();
  const TMemIniFile english = TMemIniFile::Load(englishPath.wstring(), TextEncoding::Utf16Le);

  std::vector<std::string> problems;
  std::vector<Lookup> lookups;
  for (const auto& entry : fs::recursive_directory_iterator(root / "src")) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    const std::string shown = fs::relative(entry.path(), root).generic_string();
    for (Lookup& lookup : LookupsIn(entry.path(), shown, problems)) lookups.push_back(std::move(lookup));
  }
  ASSERT_FALSE(lookups.empty()) << "no LangLookup calls found under " << (root / "src").string();

  std::map<std::wstring, const Lookup*> firstByKey;  // upper-cased "section\nkey"
  for (const Lookup& lookup : lookups) {
    const std::wstring id = UpperCase(lookup.section + L"\n" + lookup.key);
    const auto [it, inserted] = firstByKey.emplace(id, &lookup);
    if (!inserted && it->second->text != lookup.text) {
      problems.push_back(lookup.where + ": [" + Narrow(lookup.section) + "] " + Narrow(lookup.key) +
                         " is looked up with the default \"" + Narrow(lookup.text) + "\", but " + it->second->where +
                         " uses \"" + Narrow(it->second->text) + "\"; one key has one English text");
      continue;
    }
    if (!inserted) continue;
    const std::wstring* held = english.Find(lookup.section, lookup.key);
    const std::string line = Narrow(lookup.key) + "=" + Narrow(lookup.text);
    if (held == nullptr) {
      problems.push_back(lookup.where + ": Languages/English.ini lacks [" + Narrow(lookup.section) + "] " +
                         Narrow(lookup.key) + "; add this line under [" + Narrow(lookup.section) + "]:\n    " + line);
    } else if (*held != lookup.text) {
      problems.push_back(lookup.where + ": Languages/English.ini holds [" + Narrow(lookup.section) + "] " +
                         Narrow(lookup.key) + "=" + Narrow(*held) +
                         "; make the line read (or the default match it):\n    " + line);
    }
  }
  std::string report;
  for (const std::string& problem : problems) report += problem + "\n";
  EXPECT_TRUE(problems.empty()) << report
                                << "(English.ini is UTF-16LE with a byte-order mark; edit it with an editor that keeps "
                                   "that encoding)";
}

}  // namespace
}  // namespace kelvara
