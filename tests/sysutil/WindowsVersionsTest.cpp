#include "sysutil/WindowsVersions.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace kelvara {
namespace {

TEST(WindowsVersions, MapsTheNativeVersionToItsGeneration) {
  const struct {
    unsigned major, minor, build;
    TWinVersion expected;
  } cases[] = {
      {4, 0, 1381, osAll},     {5, 0, 2195, os2K},      {5, 1, 2600, osXP},   {5, 2, 3790, osXP},
      {6, 0, 6002, osVista},   {6, 1, 7601, osWin7},    {6, 2, 9200, osWin8}, {6, 3, 9600, osWin8},
      {10, 0, 10240, osWin10}, {10, 0, 22631, osWin10}, {11, 0, 1, osAll},
  };
  for (const auto& c : cases) {
    test::FakePlatform fakes;
    fakes.system->native = platform::OsVersion{2, c.major, c.minor, c.build, L""};
    fakes.Install();
    EXPECT_EQ(GetWinVersion(), c.expected) << c.major << "." << c.minor;
    EXPECT_EQ(GetOSVersionText(),
              std::to_wstring(c.major) + L"." + std::to_wstring(c.minor) + L"." + std::to_wstring(c.build));
  }
}

TEST(WindowsVersions, AFailedNativeQueryKeepsTheOrdinaryValues) {
  test::FakePlatform fakes;
  fakes.system->native.reset();
  fakes.system->ordinary = platform::OsVersion{2, 6, 2, 9200, L"Service Pack 1"};
  fakes.Install();
  EXPECT_EQ(GetWinVersion(), osAll);
  EXPECT_EQ(GetOSVersionText(), L"");
  EXPECT_EQ(GetOsVersion().major, 6u);
  EXPECT_EQ(GetOsVersion().servicePack, L"Service Pack 1");
}

TEST(WindowsVersions, TrimsWindows9xBuildAndLongServicePackText) {
  test::FakePlatform fakes;
  fakes.system->native = platform::OsVersion{1, 4, 10, 0x040A08CE, std::wstring(200, L'x')};
  fakes.Install();
  EXPECT_EQ(GetOsVersion().build, 0x08CEu);
  EXPECT_EQ(GetOsVersion().servicePack.size(), 128u);
}

TEST(WindowsVersions, LegacyWow64IsVistaOrServer2003On64BitWindows) {
  const struct {
    bool win64;
    unsigned major, minor;
    bool expected;
  } cases[] = {
      {true, 6, 0, true}, {true, 5, 2, true}, {true, 6, 1, false}, {true, 10, 0, false}, {false, 6, 0, false},
  };
  for (const auto& c : cases) {
    test::FakePlatform fakes;
    fakes.system->win64 = c.win64;
    fakes.system->native = platform::OsVersion{2, c.major, c.minor, 1, L""};
    fakes.Install();
    EXPECT_EQ(IsWin64(), c.win64);
    EXPECT_EQ(IsLegacyWow64(), c.expected) << c.win64 << " " << c.major << "." << c.minor;
  }
}

}  // namespace
}  // namespace kelvara
