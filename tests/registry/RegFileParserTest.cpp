#include "registry/RegFileParser.h"

#include <gtest/gtest.h>

#include "platform/Encoding.h"
#include "platform/Text.h"
#include "registry/RegDataText.h"
#include "registry/RegPaths.h"

namespace kelvara {
namespace {

// Writes every operation as one line of text: "<line> <operation>".
class RecordingSink final : public RegFileSink {
 public:
  std::vector<std::wstring> ops;

  void BeginKey(std::size_t line, platform::HKey root, std::wstring_view path) override {
    Add(line, L"key " + RootKeyLongName(root) + L"|" + std::wstring(path));
  }
  void DeleteKey(std::size_t line, platform::HKey root, std::wstring_view path) override {
    Add(line, L"delete-key " + RootKeyLongName(root) + L"|" + std::wstring(path));
  }
  void SetValue(std::size_t line, std::wstring_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override {
    Add(line, L"set " + std::wstring(name) + L"|" + HexForm(type, data));
  }
  void DeleteValue(std::size_t line, std::wstring_view name) override {
    Add(line, L"delete-value " + std::wstring(name));
  }

 private:
  void Add(std::size_t line, const std::wstring& op) { ops.push_back(std::to_wstring(line) + L" " + op); }
};

std::vector<std::uint8_t> Bytes(std::string_view raw) { return {raw.begin(), raw.end()}; }

TEST(RegFileParser, ReadsEveryLineForm) {
  const std::wstring text =
      L"Windows Registry Editor Version 5.00\r\n"
      L"\r\n"
      L"; a comment\r\n"
      L"  # another\r\n"
      L"[HKEY_LOCAL_MACHINE\\Software\\A]\r\n"
      L"@=\"default\"\r\n"
      L"\"a\\\\b\"=\"c\\\"d\\\\e\\n\\r\\x\"\r\n"
      L"  \"n\" = dword:1a ; comment\r\n"
      L"\"h\"=hex:01,  02 ,\\\r\n"
      L"  ff,\\\r\n"
      L"  0\r\n"
      L"\"e\"=hex(2):\r\n"
      L"\"t\"=HEX(100):ff\r\n"
      L"\"d\"=-\r\n"
      L"[hkcu\\A\\B\\]  ; trailing comment\r\n"
      L"[HKEY_USERS]\r\n"
      L"[-HKEY_CURRENT_USER\\A\\B]\r\n"
      L"\"ignored\"=\"after a deletion\"\r\n"
      L"[HKEY_CLASSES_ROOT\\x]y]\r\n"
      L"\"m\"=hex(7):61,00,00,00,\\\r\n"
      L"\r\n"
      L"\"last\"=\"\"";
  RecordingSink sink;
  RegSyntaxError error;
  ASSERT_TRUE(ParseRegFile(EncodeText(text, TextEncoding::Utf16LeBom), sink, error))
      << error.line << ": " << ToUtf8(error.what);
  const std::vector<std::wstring> expected = {
      L"5 key HKEY_LOCAL_MACHINE|Software\\A",
      L"6 set |hex(1):64,00,65,00,66,00,61,00,75,00,6C,00,74,00,00,00",
      L"7 set a\\b|hex(1):63,00,22,00,64,00,5C,00,65,00,0A,00,0D,00,5C,00,78,00,00,00",
      L"8 set n|hex(4):1A,00,00,00",
      L"9 set h|hex(3):01,02,FF,00",
      L"12 set e|hex(2):",
      L"13 set t|hex(100):FF",
      L"14 delete-value d",
      L"15 key HKEY_CURRENT_USER|A\\B",
      L"16 key HKEY_USERS|",
      L"17 delete-key HKEY_CURRENT_USER|A\\B",
      L"19 key HKEY_CLASSES_ROOT|x]y",
      L"20 set m|hex(7):61,00,00,00",
      L"22 set last|hex(1):00,00",
  };
  EXPECT_EQ(sink.ops, expected);
}

TEST(RegFileParser, ReadsEveryEncoding) {
  const std::wstring body = L"\n[HKEY_CURRENT_USER\\\u00c9t\u00e9]\n\"\u00fc\"=\"\u20ac\"\n";
  const std::vector<std::wstring> expected = {L"2 key HKEY_CURRENT_USER|\u00c9t\u00e9",
                                              L"3 set \u00fc|hex(1):AC,20,00,00"};
  const std::wstring header = L"Windows Registry Editor Version 5.00";
  for (const TextEncoding encoding :
       {TextEncoding::Utf16LeBom, TextEncoding::Utf16Le, TextEncoding::Utf8, TextEncoding::Utf8Bom}) {
    RecordingSink sink;
    RegSyntaxError error;
    ASSERT_TRUE(ParseRegFile(EncodeText(header + body, encoding), sink, error)) << ToUtf8(error.what);
    EXPECT_EQ(sink.ops, expected) << static_cast<int>(encoding);
  }
  // REGEDIT4 files are ANSI, and so are the texts in their hex forms.
  RecordingSink sink;
  RegSyntaxError error;
  ASSERT_TRUE(ParseRegFile(Bytes("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\\xC9t\xE9]\r\n\"\xFC\"=\"\x80\"\r\n"
                                 "\"x\"=hex(2):25,80,00\r\n\"b\"=hex:80\r\n"),
                           sink, error))
      << ToUtf8(error.what);
  EXPECT_EQ(sink.ops,
            (std::vector<std::wstring>{L"3 key HKEY_CURRENT_USER|\u00c9t\u00e9", L"4 set \u00fc|hex(1):AC,20,00,00",
                                       L"5 set x|hex(2):25,00,AC,20,00,00", L"6 set b|hex(3):80"}));
}

TEST(RegFileParser, ReadsLinesLongerThanItsSlices) {
  // A value of 400000 bytes is a line of 1.2 million characters, longer
  // than a slice in either encoding; the short lines around it cross
  // slice boundaries.
  constexpr int kShort = 30000;
  constexpr std::size_t kBig = 400000;
  std::wstring text = L"Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\Big]\r\n";
  text.reserve(kBig * 3 + kShort * 40);
  for (int i = 0; i < kShort; ++i) text += L"\"v" + std::to_wstring(i) + L"\"=dword:00000001\r\n";
  text += L"\"big\"=hex:5a";
  for (std::size_t i = 1; i < kBig; ++i) text += L",5a";
  text += L"\r\n";
  for (int i = 0; i < kShort; ++i) text += L"\"w" + std::to_wstring(i) + L"\"=\"x\"\r\n";
  for (const TextEncoding encoding : {TextEncoding::Utf16LeBom, TextEncoding::Utf8}) {
    RecordingSink sink;
    RegSyntaxError error;
    ASSERT_TRUE(ParseRegFile(EncodeText(text, encoding), sink, error)) << error.line << ToUtf8(error.what);
    ASSERT_EQ(sink.ops.size(), 2u * kShort + 2);
    const std::wstring& big = sink.ops[kShort + 1];
    EXPECT_EQ(big.size(), std::to_wstring(kShort + 3).size() + std::wstring(L" set big|hex(3):").size() + kBig * 3 - 1);
    EXPECT_EQ(big.substr(big.size() - 5), L"5A,5A");
    EXPECT_EQ(sink.ops.back(),
              std::to_wstring(2 * kShort + 3) + L" set w" + std::to_wstring(kShort - 1) + L"|hex(1):78,00,00,00");
  }
}

TEST(RegFileParser, NamesTheLineAndTheFault) {
  const struct {
    const wchar_t* body;  // after the header line and one key line
    std::size_t line;
    const wchar_t* what;
  } cases[] = {
      {L"[HKLM\\A", 3, L"no closing \"]\""},
      {L"[HKEY_NOWHERE\\A]", 3, L"unknown root key \"HKEY_NOWHERE\""},
      {L"[HKLM\\A\\\\B]", 3, L"empty part"},
      {L"[HKLM\\A\\\\]", 3, L"empty part"},
      {L"[-HKLM]", 3, L"root key cannot be deleted"},
      {L"[HKLM\\A] x", 3, L"unexpected text after the key line"},
      {L"\"v=\"x\"", 3, L"\"=\" is missing"},
      {L"@", 3, L"\"=\" is missing"},
      {L"\"v\"=", 3, L"data of the value is missing"},
      {L"\"v", 3, L"value name has no closing quote"},
      {L"\"v\"=\"abc\\\"", 3, L"string has no closing quote"},
      {L"\"v\"=\"abc\" x", 3, L"unexpected text after the value data"},
      {L"\"v\"=dword:123456789", 3, L"1 to 8 hexadecimal digits"},
      {L"\"v\"=dword:", 3, L"1 to 8 hexadecimal digits"},
      {L"\"v\"=dword:12g", 3, L"unexpected text after the value data"},
      {L"\"v\"=hex:1,2g", 3, L"bytes of two hexadecimal digits"},
      {L"\"v\"=hex:123", 3, L"bytes of two hexadecimal digits"},
      {L"\"v\"=hex:01,,02", 3, L"bytes of two hexadecimal digits"},
      {L"\"v\"=hex(x):00", 3, L"type of \"hex(N):\""},
      {L"\"v\"=hex(123456789):00", 3, L"type of \"hex(N):\""},
      {L"\"v\"=str:abc", 3, L"unknown kind of value data"},
      {L"\"v\"=hex:01,\\ x", 3, L"unexpected text after \"\\\""},
      {L"\"v\"=hex:01,\\\r\n  02,zz", 4, L"bytes of two hexadecimal digits"},
      {L"\r\n\"v\"=hex:00,\\", 4, L"file ends inside hex data"},
      {L"garbage", 3, L"neither a key, a value nor a comment"},
  };
  for (const auto& c : cases) {
    const std::wstring text =
        L"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K]\r\n" + std::wstring(c.body) + L"\r\n";
    RecordingSink sink;
    RegSyntaxError error;
    EXPECT_FALSE(ParseRegFile(EncodeText(text, TextEncoding::Utf16LeBom), sink, error)) << ToUtf8(c.body);
    EXPECT_EQ(error.line, c.line) << ToUtf8(c.body);
    EXPECT_NE(error.what.find(c.what), std::wstring::npos) << ToUtf8(c.body) << " gave " << ToUtf8(error.what);
  }

  const struct {
    std::string_view raw;
    const wchar_t* what;
  } files[] = {
      {"", L"the file is empty"},
      {"REGEDIT5\r\n", L"the first line must be"},
      {"\r\nWindows Registry Editor Version 5.00\r\n", L"the first line must be"},
      {"Windows Registry Editor Version 5.00\r\n\"v\"=\"x\"\r\n", L"before any key line"},
  };
  for (const auto& f : files) {
    RecordingSink sink;
    RegSyntaxError error;
    EXPECT_FALSE(ParseRegFile(Bytes(f.raw), sink, error)) << f.raw;
    EXPECT_NE(error.what.find(f.what), std::wstring::npos) << f.raw << " gave " << ToUtf8(error.what);
  }
}

}  // namespace
}  // namespace kelvara
