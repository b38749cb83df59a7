// The scanner's exclusion patterns: anywhere in the location, any case,
// with "*" and "?" inside a pattern, and the temporary patterns of a
// category taken off again.
#include "scanner/ExclusionList.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

TEST(ExclusionListTest, PatternsMatchAnywhereInTheLocation) {
  struct Case {
    const wchar_t* pattern;
    const wchar_t* location;  // lower-cased, as the scanner passes it
    bool matches;
  };
  const Case cases[] = {
      {L"Software\\Microsoft", L"hklm\\software\\microsoft\\windows", true},
      {L"MICROSOFT", L"hklm\\software\\microsoft", true},
      {L"HKLM\\", L"hklm\\software", true},
      {L"microsoft\\", L"hklm\\software\\microsoft", false},
      {L"abc", L"ab", false},
      {L"CLSID\\{*}\\InprocServer32", L"hkcr\\clsid\\{1234}\\inprocserver32\\x", true},
      {L"CLSID\\{*}\\InprocServer32", L"hkcr\\clsid\\1234\\inprocserver32", false},
      {L"HKEY_USERS\\*\\ActivatableClasses\\*", L"hkey_users\\s-1-5-21\\activatableclasses\\x", true},
      {L"HKEY_USERS\\*\\ActivatableClasses\\*", L"hkey_users\\activatableclasses\\x", false},
      {L"ab*ba", L"xxaba", false},
      {L"ab*ba", L"xxabxba", true},
      {L"x**", L"hklm\\x", false},
      {L"x**", L"hklm\\xy", true},
      {L"a?c", L"xxabcxx", true},
      {L"a?c", L"xxacxx", false},
      {L"*run*", L"hkcu\\software\\runonce", true},
      {L"", L"hklm\\anything", true},
      {L"*", L"hklm\\anything", true},
  };
  for (const Case& c : cases) {
    TExclusionList list;
    list.Add(c.pattern);
    EXPECT_EQ(list.Matches(c.location), c.matches) << "pattern " << testing::PrintToString(std::wstring(c.pattern))
                                                   << " location " << testing::PrintToString(std::wstring(c.location));
  }
}

TEST(ExclusionListTest, TemporaryPatternsComeOffAgain) {
  TExclusionList list;
  list.Assign({L"fonts", L"sounds"});
  list.Add(L"appevents");
  list.Add(L"fonts");
  EXPECT_TRUE(list.Matches(L"hkcu\\appevents\\schemes"));
  list.RemoveLast(1);
  list.RemoveFirst(L"fonts");
  EXPECT_FALSE(list.Matches(L"hklm\\fonts"));
  EXPECT_TRUE(list.Matches(L"hkcu\\appevents"));
  list.RemoveLast(5);
  EXPECT_TRUE(list.Items().empty());
  EXPECT_FALSE(list.Matches(L"hkcu\\appevents"));
}

}  // namespace
}  // namespace kelvara
