// The examined machine of the COM, file-type and software rule tests: the
// shared scan fixture with a .reg text, the files that exist on C:, the
// running user's profile, and findings in a short text form.
//
// Drives: C: a hard disk, E: a removable disk with its medium inserted,
// D: an optical drive (both media empty); every other letter has no volume.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "scanner/RegScanner.h"
#include "support/ScanFixture.h"

namespace kelvara::test {

inline constexpr wchar_t kRulesUserSid[] = L"S-1-5-21-3623811015-3361044348-30300820-1001";
inline constexpr wchar_t kOtherUserSid[] = L"S-1-5-21-3623811015-3361044348-30300820-1002";

class TRulesFixture {
 public:
  // `regText` is the body of a .reg file (the header line is added);
  // `files` are Windows paths on C: that are created (a trailing "\\"
  // makes a folder).
  TRulesFixture(std::string_view regText, std::initializer_list<std::wstring_view> files, bool win64 = true);
  ~TRulesFixture();
  TRulesFixture(const TRulesFixture&) = delete;
  TRulesFixture& operator=(const TRulesFixture&) = delete;

  // Adds a checked profile "Other" whose hive is HKEY_USERS\kOtherUserSid.
  void AddOtherUser();
  // Makes a language file with this text (its lines, without the byte-
  // order mark) the current language.
  void UseLanguage(const std::wstring& iniText);

  // Runs a scan of the categories; each finding in its short form
  // (FindingText).
  std::vector<std::string> Scan(std::initializer_list<TScanType> categories, TScanLevel level = slNormal,
                                bool isAdmin = true);
  // Runs `rules` as the rules of `category` (in place of the installed ones).
  std::vector<std::string> ScanWith(TScanType category,
                                    std::function<void(TRegScanner&, const TProfileContext&)> rules);

 private:
  std::vector<std::string> Run(TRegScanner& scanner);
  ScanFixture machine_;
};

// "ROOT\key | value | data | rfKey | safe | _Category | message | user".
std::string FindingText(const TResultData& finding);

}  // namespace kelvara::test
