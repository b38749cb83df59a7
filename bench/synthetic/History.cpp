// Each profile's history lists (every entry is a finding of the MRU
// category; UserAssist's counters only in a deep scan and only for the
// running user), the browser's typed addresses (running user only) and
// the shell's cache of program names (entries of removed programs).
#include <array>
#include <functional>
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kExplorer[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr wchar_t kTypedUrls[] = L"\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr wchar_t kProgramNames[] = L"\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
constexpr wchar_t kMuiCache[] = L"\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
constexpr wchar_t kWordpad[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List";
constexpr std::array<const wchar_t*, 2> kUserAssistIds = {L"{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}",
                                                          L"{F4E57C4B-2036-479E-A871-F2DBB5D45E3A}"};

class HistoryWriter {
 public:
  HistoryWriter(MachineContext& ctx, SplitMix& rng, const UserProfile& profile)
      : ctx_(ctx), rng_(rng), profile_(profile) {}

  void Lists(std::size_t entries);
  void TypedUrls(std::size_t count);
  void ProgramNames(std::size_t count);

 private:
  void Expect(const std::wstring& key, const std::wstring& value, bool deepOnly = false) {
    ctx_.truth.Expect(_MRU, profile_.truthRoot + key, value, true, deepOnly);
  }
  // A list of lettered text entries with its "MRUList".
  void LetterList(const std::wstring& key, int count, const std::function<std::wstring()>& entry);
  // A list of numbered binary entries with its "MRUListEx".
  void NumberList(const std::wstring& key, int count);
  std::vector<std::uint8_t> Blob(int low, int high) {
    std::vector<std::uint8_t> bytes(rng_.Between(low, high));
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rng_.Next());
    return bytes;
  }

  MachineContext& ctx_;
  SplitMix& rng_;
  const UserProfile& profile_;
};

void HistoryWriter::LetterList(const std::wstring& key, int count, const std::function<std::wstring()>& entry) {
  ctx_.reg.Key(profile_.hive + key);
  std::wstring order;
  for (int i = 0; i < count; ++i) {
    const std::wstring name(1, static_cast<wchar_t>(L'a' + i));
    ctx_.reg.String(name, entry());
    Expect(key, name);
    order += name;
  }
  ctx_.reg.String(L"MRUList", order);
  Expect(key, L"MRUList");
}

void HistoryWriter::NumberList(const std::wstring& key, int count) {
  ctx_.reg.Key(profile_.hive + key);
  for (int i = 0; i < count; ++i) {
    ctx_.reg.Binary(std::to_wstring(i), Blob(20, 300));
    Expect(key, std::to_wstring(i));
  }
  ctx_.reg.Binary(L"MRUListEx", Blob(4 * count + 4, 4 * count + 4));
  Expect(key, L"MRUListEx");
}

void HistoryWriter::Lists(std::size_t entries) {
  const int perList = static_cast<int>(std::min<std::size_t>(26, std::max<std::size_t>(3, entries)));
  const std::wstring explorer = kExplorer;
  LetterList(explorer + L"RunMRU", rng_.Between(2, perList), [this] { return FileWord(rng_) + L"\\1"; });
  LetterList(explorer + L"Map Network Drive MRU", rng_.Between(1, 4),
             [this] { return L"\\\\" + FileWord(rng_) + L"-srv\\" + FileWord(rng_); });
  NumberList(explorer + L"ComDlg32\\LastVisitedPidlMRU", rng_.Between(2, perList));
  for (const wchar_t* ext : {L"*", L"txt", L"docx", L"png", L"pdf"}) {
    NumberList(explorer + L"ComDlg32\\OpenSavePidlMRU\\" + ext, rng_.Between(1, perList));
  }
  NumberList(explorer + L"RecentDocs", rng_.Between(2, perList));
  for (const wchar_t* ext : {L".txt", L".docx", L"Folder"})
    NumberList(explorer + L"RecentDocs\\" + ext, rng_.Between(1, 10));
  NumberList(explorer + L"WordWheelQuery", rng_.Between(1, 8));
  const std::wstring typed = explorer + L"TypedPaths";
  ctx_.reg.Key(profile_.hive + typed);
  for (int i = 1, n = rng_.Between(1, 6); i <= n; ++i) {
    ctx_.reg.String(L"url" + std::to_wstring(i), profile_.documents + L"\\" + CamelName(rng_, 1));
    Expect(typed, L"url" + std::to_wstring(i));
  }
  ctx_.reg.Key(profile_.hive + kWordpad);
  for (int i = 1, n = rng_.Between(1, 5); i <= n; ++i) {
    ctx_.reg.String(L"File" + std::to_wstring(i), profile_.documents + L"\\" + CamelName(rng_, 2) + L".rtf");
    Expect(kWordpad, L"File" + std::to_wstring(i));
  }
  for (const wchar_t* id : kUserAssistIds) {
    const std::wstring count = explorer + L"UserAssist\\" + id + L"\\Count";
    ctx_.reg.Key(profile_.hive + count);
    for (int i = 0, n = rng_.Between(3, perList); i < n; ++i) {
      const std::wstring name = L"HRZR_EHACNGU:" + CamelName(rng_, 2) + std::to_wstring(i);
      ctx_.reg.Binary(name, Blob(72, 72));
      if (profile_.running) Expect(count, name, true);
    }
  }
}

void HistoryWriter::TypedUrls(std::size_t count) {
  ctx_.reg.Key(profile_.hive + kTypedUrls);
  for (std::size_t i = 1; i <= count; ++i) {
    const std::wstring name = L"url" + std::to_wstring(i);
    ctx_.reg.String(name, L"https://www." + FileWord(rng_) + FileWord(rng_) + L".example/");
    if (profile_.running) ctx_.truth.Expect(_IEUrl, profile_.truthRoot + kTypedUrls, name, true);
  }
}

void HistoryWriter::ProgramNames(std::size_t count) {
  // The cache of current Windows: entries of removed programs are findings.
  ctx_.reg.Key(profile_.hive + kMuiCache);
  ctx_.reg.Binary(L"LangID", std::vector<std::uint8_t>{9, 4});
  ctx_.reg.String(L"@%SystemRoot%\\system32\\shell32.dll,-22067", L"Documents");
  PlantSchedule plants(8, 1);
  std::unordered_set<std::wstring> seen;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    if (!seen.insert(p.exe).second) continue;
    for (const wchar_t* suffix : {L".FriendlyAppName", L".ApplicationCompany"}) {
      const std::wstring name = p.exe + suffix;
      ctx_.reg.String(name, suffix[1] == L'F' ? p.name : p.vendor);
      if (plant == 0) ctx_.truth.Expect(_MUICache, profile_.truthRoot + kMuiCache, name, true);
    }
  }
  // The older cache, whose entries naming programs are history.
  ctx_.reg.Key(profile_.hive + kProgramNames);
  ctx_.reg.Binary(L"LangID", std::vector<std::uint8_t>{9, 4});
  seen.clear();
  for (std::size_t i = 0; i < std::min<std::size_t>(count, 12); ++i) {
    const Product& p = ctx_.catalog.Installed(rng_);
    if (!seen.insert(p.exe).second) continue;
    ctx_.reg.String(p.exe, p.name);
    ctx_.truth.Expect(_MRU, profile_.truthRoot + kProgramNames, p.exe, true);
  }
}

}  // namespace

void WriteHistory(MachineContext& ctx, SplitMix rng) {
  const std::vector<const UserProfile*> profiles = {&ctx.layout.user, ctx.layout.other ? &*ctx.layout.other : nullptr};
  for (const UserProfile* profile : profiles) {
    if (profile == nullptr) continue;
    HistoryWriter writer(ctx, rng, *profile);
    writer.Lists(ctx.Scaled(30, 6));
    writer.TypedUrls(ctx.Scaled(25, 3));
    writer.ProgramNames(ctx.Scaled(400, 16));
  }
}

}  // namespace kelvara::bench
