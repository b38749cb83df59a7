#include "synthetic/Names.h"

#include <array>
#include <string_view>

namespace kelvara::bench {
namespace {

constexpr std::array<std::wstring_view, 48> kVendorFirst = {
    L"Larkspur",  L"Quillon",  L"Bramble",  L"Cindervale", L"Dovetail", L"Emberly",  L"Fenwick",  L"Glimmer",
    L"Halcyon",   L"Ironwood", L"Juniper",  L"Kestrel",    L"Lumen",    L"Marlow",   L"Nimbus",   L"Orrery",
    L"Pinnacle",  L"Quartz",   L"Redwater", L"Saltire",    L"Tamarack", L"Umber",    L"Vantage",  L"Willow",
    L"Xylo",      L"Yarrow",   L"Zephyr",   L"Alder",      L"Beacon",   L"Copper",   L"Driftway", L"Evergreen",
    L"Foxglove",  L"Granite",  L"Heron",    L"Indigo",     L"Jasper",   L"Kingfish", L"Lattice",  L"Meridian",
    L"Northgate", L"Opaline",  L"Parallax", L"Quiver",     L"Riverton", L"Sable",    L"Thistle",  L"Upland"};
constexpr std::array<std::wstring_view, 12> kVendorSecond = {L"Systems",      L"Software",  L"Labs",    L"Interactive",
                                                             L"Technologies", L"Digital",   L"Works",   L"Media",
                                                             L"Networks",     L"Solutions", L"Devices", L"Studio"};
constexpr std::array<std::wstring_view, 40> kProductFirst = {
    L"Photo",  L"Audio",   L"Video",  L"Cloud",  L"Office", L"Secure", L"Smart",  L"Quick",   L"Data",  L"Net",
    L"Image",  L"Sound",   L"Code",   L"Print",  L"Scan",   L"Disk",   L"Backup", L"Sync",    L"Mail",  L"Chat",
    L"Game",   L"Map",     L"Note",   L"Draw",   L"Music",  L"Stream", L"Vault",  L"Speed",   L"Pixel", L"Vector",
    L"Studio", L"Archive", L"Remote", L"Device", L"Driver", L"Update", L"Health", L"Weather", L"Money", L"Task"};
constexpr std::array<std::wstring_view, 20> kProductSecond = {
    L"Studio",  L"Manager", L"Center",    L"Suite",   L"Pro",    L"Express", L"Toolkit",
    L"Viewer",  L"Editor",  L"Player",    L"Monitor", L"Agent",  L"Service", L"Helper",
    L"Desktop", L"Hub",     L"Assistant", L"Builder", L"Reader", L"Guard"};
constexpr std::array<std::wstring_view, 64> kSettingWords = {
    L"Window",  L"Placement", L"Recent",   L"Options",   L"Layout",  L"Toolbar", L"View",    L"Mode",
    L"Last",    L"Position",  L"Width",    L"Height",    L"Enabled", L"Level",   L"Theme",   L"Color",
    L"Font",    L"Size",      L"Language", L"Region",    L"Cache",   L"Limit",   L"Timeout", L"Retry",
    L"Count",   L"Interval",  L"Quality",  L"Format",    L"Default", L"Profile", L"Account", L"Session",
    L"Startup", L"Notify",    L"Sound",    L"Volume",    L"Zoom",    L"Grid",    L"Snap",    L"Panel",
    L"Column",  L"Sort",      L"Order",    L"Filter",    L"Search",  L"History", L"Preview", L"Thumbnail",
    L"Update",  L"Channel",   L"Branch",   L"Telemetry", L"Privacy", L"Proxy",   L"Port",    L"Address",
    L"Device",  L"Input",     L"Output",   L"Buffer",    L"Latency", L"Codec",   L"Display", L"Scale"};
constexpr std::array<std::wstring_view, 10> kForeignWords = {
    L"Paramètres", L"Überwachung", L"Configuración", L"Настройки", L"設定",
    L"Εμφάνιση",   L"Ustawienia",  L"Préférences",   L"Größe",     L"Связь"};
constexpr std::array<std::wstring_view, 40> kFileWords = {
    L"core",  L"render", L"sync",   L"net",    L"audio",  L"video",  L"codec", L"shell",  L"ui",     L"engine",
    L"data",  L"store",  L"crypt",  L"print",  L"scan",   L"update", L"host",  L"helper", L"agent",  L"plugin",
    L"media", L"image",  L"font",   L"input",  L"device", L"driver", L"cloud", L"mail",   L"search", L"index",
    L"cache", L"log",    L"report", L"remote", L"share",  L"vault",  L"map",   L"tile",   L"draw",   L"paint"};
constexpr std::array<std::wstring_view, 16> kTextWords = {
    L"Enabled", L"Disabled", L"Automatic", L"Manual", L"Default", L"Normal",   L"High", L"Low",
    L"Medium",  L"Always",   L"Never",     L"Daily",  L"Weekly",  L"Standard", L"Dark", L"Light"};

wchar_t HexDigit(std::uint64_t v) { return L"0123456789ABCDEF"[v & 0xF]; }

}  // namespace

std::wstring GuidText(SplitMix& rng) {
  const std::uint64_t a = rng.Next();
  const std::uint64_t b = rng.Next();
  std::wstring out = L"{";
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) out.push_back(L'-');
    out.push_back(HexDigit((i < 16 ? a : b) >> (4 * (i % 16))));
  }
  out.push_back(L'}');
  return out;
}

std::wstring VendorName(std::size_t index) {
  const std::size_t pairs = kVendorFirst.size() * kVendorSecond.size();
  std::wstring name(kVendorFirst[index % kVendorFirst.size()]);
  name += L' ';
  name += kVendorSecond[(index / kVendorFirst.size()) % kVendorSecond.size()];
  if (index >= pairs) name += L' ' + std::to_wstring(index / pairs + 1);
  return name;
}

std::wstring ProductName(SplitMix& rng) {
  std::wstring name(kProductFirst[rng.Below(kProductFirst.size())]);
  name += L' ';
  name += kProductSecond[rng.Below(kProductSecond.size())];
  return name;
}

std::wstring SettingName(SplitMix& rng) {
  if (rng.Percent(2)) return std::wstring(kForeignWords[rng.Below(kForeignWords.size())]);
  std::wstring name(kSettingWords[rng.Below(kSettingWords.size())]);
  if (rng.Percent(60)) name += kSettingWords[rng.Below(kSettingWords.size())];
  return name;
}

std::wstring FileWord(SplitMix& rng) { return std::wstring(kFileWords[rng.Below(kFileWords.size())]); }

std::wstring CamelName(SplitMix& rng, int words) {
  std::wstring name;
  for (int i = 0; i < words; ++i) {
    std::wstring word = FileWord(rng);
    word[0] = static_cast<wchar_t>(word[0] - L'a' + L'A');
    name += word;
  }
  return name;
}

std::wstring PlainText(SplitMix& rng) {
  switch (rng.Below(6)) {
    case 0:
      return std::wstring(kTextWords[rng.Below(kTextWords.size())]);
    case 1:
      return std::to_wstring(rng.Between(1, 30)) + L"." + std::to_wstring(rng.Between(0, 9)) + L"." +
             std::to_wstring(rng.Between(1000, 22000)) + L"." + std::to_wstring(rng.Between(0, 999));
    case 2:
      return std::to_wstring(rng.Below(100000));
    case 3:
      return L"https://www." + FileWord(rng) + FileWord(rng) + L".example/" + FileWord(rng);
    case 4:
      return SettingName(rng) + L" " + std::wstring(kTextWords[rng.Below(kTextWords.size())]);
    default:
      return L"20" + std::to_wstring(rng.Between(10, 25)) + L"0" + std::to_wstring(rng.Between(1, 9)) +
             std::to_wstring(rng.Between(10, 28));
  }
}

}  // namespace kelvara::bench
