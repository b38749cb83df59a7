#include <gtest/gtest.h>

#include "ConfigTestPlatform.h"
#include "config/LangLookup.h"
#include "config/LanguageList.h"
#include "config/LanguageSettings.h"

namespace kelvara {
namespace {

using test::ConfigTestPlatform;

constexpr wchar_t kProgram[] = L"C:\\Program Files\\Kelvara\\";
constexpr wchar_t kLanguages[] = L"C:\\Program Files\\Kelvara\\Languages\\";

class Languages : public ::testing::Test {
 protected:
  void SetUp() override {
    Put(L"English.ini",
        L"[Lang]\r\nNativeLanguage=English\r\n[Translation]\r\nLangCode=0409\r\n"
        L"[Message]\r\nScanning=Scanning..\r\nCleaning=Cleaning..\r\nOnlyEnglish=English only\r\n");
    Put(L"Deutsch.ini",
        L"[Lang]\r\nNativeLanguage=Deutsch\r\n[Translation]\r\nLangCode=0407|0807|0c07\r\n"
        L"DefaultFont=Arial\r\nDefaultFontSize=9\r\nDefaultCharSet=russian_charset\r\nReadHabit= Right-To-Left \r\n"
        L"[Message]\r\nScanning=Suche..\r\nCleaning=\r\n");
    Put(L"Zweite.ini", L"[Translation]\r\nLangCode=0407\r\nDefaultCharSet=NO_SUCH_CHARSET\r\n");
    platform_.files->PutText(std::wstring(kLanguages) + L"readme.txt", "not a language");
    BuildLanguageList(kProgram);
    config_.Path = kProgram;
  }

  void Put(const std::wstring& name, const std::wstring& text) {
    platform_.files->PutText(kLanguages + name, test::Utf16File(text));
  }

  ConfigTestPlatform platform_;
  TConfig config_;
};

TEST_F(Languages, LookupFallsBackToEnglishThenToTheDefault) {
  EXPECT_EQ(LangLookup(L"Message", L"Scanning", L"default"), L"default");  // nothing loaded yet
  SetLanguage(config_, L"Deutsch");
  EXPECT_EQ(LangLookup(L"MESSAGE", L"scanning", L"default"), L"Suche..");
  EXPECT_EQ(LangLookup(L"Message", L"Cleaning", L"default"), L"Cleaning..");  // empty in Deutsch
  EXPECT_EQ(LangLookup(L"Message", L"OnlyEnglish", L"default"), L"English only");
  EXPECT_EQ(LangLookup(L"Message", L"Nowhere", L"default"), L"default");
  EXPECT_EQ(CurrentLanguageText(L"Message", L"OnlyEnglish"), L"");

  // Without English.ini every text missing from the language is its default.
  ResetLanguages();
  platform_.files->files.erase(std::wstring(kLanguages) + L"English.ini");
  SetLanguage(config_, L"Deutsch");
  EXPECT_EQ(LangLookup(L"Message", L"Cleaning", L"Cleaning default"), L"Cleaning default");
  EXPECT_EQ(LangLookup(L"Message", L"Scanning", L"default"), L"Suche..");
}

TEST_F(Languages, TheListHoldsNativeAndBaseNamesOfEveryIniFile) {
  const auto& list = LanguageList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].NativeName, L"Deutsch");
  EXPECT_EQ(list[0].BaseName, L"Deutsch");
  EXPECT_EQ(list[1].NativeName, L"English");
  EXPECT_EQ(list[2].NativeName, L"Zweite");  // no NativeLanguage: the base name
}

TEST_F(Languages, TheAutomaticChoiceFollowsTheUiLanguage) {
  struct Case {
    std::uint16_t uiLanguage;
    const wchar_t* expected;
  };
  // Deutsch and Zweite both list 0407: the first in the list wins.
  const Case cases[] = {{0x0407, L"Deutsch"}, {0x0C07, L"Deutsch"}, {0x0411, L"English"}, {0x0409, L"English"}};
  for (const Case& c : cases) {
    platform_.system->uiLanguage = c.uiLanguage;
    EXPECT_EQ(ChooseUserLanguage(), c.expected) << c.uiLanguage;
  }
  // A listed language whose file has gone is passed over.
  platform_.files->files.erase(std::wstring(kLanguages) + L"Deutsch.ini");
  platform_.system->uiLanguage = 0x0407;
  EXPECT_EQ(ChooseUserLanguage(), L"Zweite");
}

TEST_F(Languages, SetLanguageChoosesAutomaticallyAndFallsBackToEnglish) {
  platform_.system->uiLanguage = 0x0807;
  SetLanguage(config_, L"");
  EXPECT_EQ(config_.Lang, L"Deutsch");
  EXPECT_EQ(config_.LanguageFile, std::wstring(kLanguages) + L"Deutsch.ini");
  EXPECT_EQ(CurrentLanguageFile(), config_.LanguageFile);

  SetLanguage(config_, L"Klingon");
  EXPECT_EQ(config_.Lang, L"English");
  EXPECT_EQ(config_.LanguageFile, std::wstring(kLanguages) + L"English.ini");
  EXPECT_EQ(LangLookup(L"Message", L"Scanning", L""), L"Scanning..");

  // Choosing the current language again reloads it from the file.
  Put(L"English.ini", L"[Message]\r\nScanning=Scanning again\r\n");
  SetLanguage(config_, L"English");
  EXPECT_EQ(LangLookup(L"Message", L"Scanning", L""), L"Scanning again");
}

TEST_F(Languages, FontAndReadingDirectionOfTheCurrentLanguage) {
  TLanguageFont font = CurrentLanguageFont();  // no language loaded
  EXPECT_EQ(font.name, L"Tahoma");
  EXPECT_EQ(font.size, 8);
  EXPECT_EQ(font.charset, kDefaultCharset);
  EXPECT_TRUE(CurrentReadHabit());

  SetLanguage(config_, L"Deutsch");
  font = CurrentLanguageFont();
  EXPECT_EQ(font.name, L"Arial");
  EXPECT_EQ(font.size, 9);
  EXPECT_EQ(font.charset, 204);
  EXPECT_FALSE(CurrentReadHabit());

  SetLanguage(config_, L"English");
  font = CurrentLanguageFont();
  EXPECT_EQ(font.name, L"Tahoma");
  EXPECT_EQ(font.size, 8);
  EXPECT_EQ(font.charset, kAnsiCharset);
  EXPECT_TRUE(CurrentReadHabit());

  SetLanguage(config_, L"Zweite");
  EXPECT_EQ(CurrentLanguageFont().charset, kDefaultCharset);
  EXPECT_EQ(CharsetFromName(L"GB2312_CHARSET"), 134);
  EXPECT_EQ(CharsetFromName(L"238"), 238);
}

TEST_F(Languages, LanguageFilesAreUtf16EvenWithoutAByteOrderMark) {
  const std::vector<std::uint8_t> bytes = ToUtf16LeBytes(L"[Message]\r\nScanning=\u0421\u043A\u0430\u043D\r\n", false);
  platform_.files->PutText(std::wstring(kLanguages) + L"Russian.ini", std::string(bytes.begin(), bytes.end()));
  SetLanguage(config_, L"Russian");
  EXPECT_EQ(LangLookup(L"Message", L"Scanning", L""), L"\u0421\u043A\u0430\u043D");
}

}  // namespace
}  // namespace kelvara
