// The event sounds of the default profile and of each user, the empty
// event keys the empty-key scan reports, and the running user's Start menu
// order. Planted: event sounds that are gone (judged for the default
// profile and the running user only), event keys without any value (in
// every user's hive; the default profile is left alone), and menu order
// entries whose folder is gone.
#include <array>
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

constexpr std::array<const wchar_t*, 8> kWindowsEvents = {
    L"SystemAsterisk", L"SystemExclamation", L"SystemHand", L"SystemNotification",
    L"DeviceConnect",  L"DeviceDisconnect",  L"MailBeep",   L"Notification.Default"};
constexpr wchar_t kMenuOrder[] =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs";

class EventWriter {
 public:
  EventWriter(MachineContext& ctx, SplitMix& rng) : ctx_(ctx), rng_(rng) {}

  // The event tree of one hive; `hive` and `truthRoot` as in UserProfile.
  // `soundsJudged`: the sound scan reads this hive; `emptyJudged`: the
  // empty-key scan does.
  void Events(const std::wstring& hive, const std::wstring& truthRoot, std::size_t apps, bool soundsJudged,
              bool emptyJudged);
  void MenuOrder(std::size_t count);

 private:
  void Sound(const std::wstring& key, bool plant);
  std::wstring EventName() { return CamelName(rng_, 2); }

  MachineContext& ctx_;
  SplitMix& rng_;
  std::size_t gone_ = 0;
};

void EventWriter::Sound(const std::wstring& key, bool plant) {
  ctx_.reg.Key(key);
  if (plant) {
    const std::wstring gone = L"\\Media\\" + FileWord(rng_) + L"_old" + std::to_wstring(++gone_) + L".wav";
    ctx_.files.Missing(ctx_.layout.windows + gone);
    ctx_.reg.ExpandString(L"", L"%SystemRoot%" + gone);
    return;
  }
  const std::wstring& sound = ctx_.catalog.Sound(rng_);
  if (rng_.Percent(25)) {
    ctx_.reg.String(L"", L"");
  } else if (rng_.Percent(50)) {
    ctx_.reg.ExpandString(L"", L"%SystemRoot%" + sound.substr(ctx_.layout.windows.size()));
  } else {
    ctx_.reg.String(L"", sound);
  }
}

void EventWriter::Events(const std::wstring& hive, const std::wstring& truthRoot, std::size_t apps, bool soundsJudged,
                         bool emptyJudged) {
  const std::wstring schemes = L"\\AppEvents\\Schemes\\Apps\\";
  const std::wstring labels = L"\\AppEvents\\EventLabels\\";
  // Kinds: a sound that is gone, an event key without values.
  PlantSchedule plants(10, 2);
  std::unordered_set<std::wstring> labelNames;
  // A Wine prefix has its own default events; only new applications are
  // added to it.
  for (std::size_t a = ctx_.layout.wine ? 1 : 0; a <= apps; ++a) {
    const std::wstring app = a == 0 ? L".Default" : ctx_.catalog.Installed(rng_).key + std::to_wstring(a);
    ctx_.reg.Key(hive + schemes + app);
    ctx_.reg.String(L"", a == 0 ? L"Windows" : app);
    const int events = a == 0 ? static_cast<int>(kWindowsEvents.size()) : rng_.Between(1, 4);
    for (int e = 0; e < events; ++e) {
      const int plant = a == 0 ? -1 : plants.Next();
      const std::wstring event =
          a == 0 ? kWindowsEvents[static_cast<std::size_t>(e)] : EventName() + std::to_wstring(e);
      const std::wstring eventKey = schemes + app + L"\\" + event;
      if (plant == 1) {
        ctx_.reg.Key(hive + eventKey);
        if (emptyJudged) ctx_.truth.Expect(_EMPTY, truthRoot + eventKey, L"", true);
        continue;
      }
      Sound(hive + eventKey + L"\\.Current", plant == 0);
      if (plant == 0 && soundsJudged) ctx_.truth.Expect(_Sound, truthRoot + eventKey + L"\\.Current", L"", true);
      Sound(hive + eventKey + L"\\.Default", false);
      if (labelNames.insert(event).second) {
        ctx_.reg.Key(hive + labels + event);
        ctx_.reg.String(L"", CamelName(rng_, 1) + L" " + CamelName(rng_, 1));
      }
    }
  }
  // A label key without values.
  const std::wstring empty = labels + L"Vendor" + EventName();
  ctx_.reg.Key(hive + empty);
  if (emptyJudged) ctx_.truth.Expect(_EMPTY, truthRoot + empty, L"", true);
}

void EventWriter::MenuOrder(std::size_t count) {
  const UserProfile& user = ctx_.layout.user;
  const std::wstring programs = user.home + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
  const std::wstring common = ctx_.layout.programData + L"\\Microsoft\\Windows\\Start Menu\\Programs";
  ctx_.files.Folder(programs);
  ctx_.files.Folder(common);
  ctx_.reg.Key(user.hive + kMenuOrder);
  ctx_.reg.Binary(L"Order", std::vector<std::uint8_t>{8, 0, 0, 0, 2, 0, 0, 0});
  // Kinds: the folder is gone, a sub-folder of a present one is gone.
  PlantSchedule plants(6, 2);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = ctx_.catalog.Installed(rng_);
    const std::wstring folder = plant == 0 ? p.name + L" Classic" : p.vendor;
    if (!names.insert(folder).second) continue;
    const std::wstring item = std::wstring(kMenuOrder) + L"\\" + folder;
    ctx_.reg.Key(user.hive + item);
    ctx_.reg.Binary(L"Order", std::vector<std::uint8_t>{8, 0, 0, 0, 1, 0, 0, 0});
    if (plant == 0) {
      ctx_.files.Missing(programs + L"\\" + folder);
      ctx_.files.Missing(common + L"\\" + folder);
      ctx_.truth.Expect(_StartMenu, user.truthRoot + item, L"", true);
      continue;
    }
    ctx_.files.Folder((rng_.Percent(50) ? programs : common) + L"\\" + folder);
    if (plant == 1) {
      const std::wstring gone = p.name + L" Tools";
      ctx_.files.Missing(programs + L"\\" + folder + L"\\" + gone);
      ctx_.files.Missing(common + L"\\" + folder + L"\\" + gone);
      ctx_.reg.Key(user.hive + item + L"\\" + gone);
      ctx_.reg.Binary(L"Order", std::vector<std::uint8_t>{8, 0, 0, 0});
      ctx_.truth.Expect(_StartMenu, user.truthRoot + item + L"\\" + gone, L"", true);
    }
  }
}

}  // namespace

void WriteUserEvents(MachineContext& ctx, SplitMix rng) {
  EventWriter writer(ctx, rng);
  const std::size_t apps = ctx.Scaled(60, 4);
  if (!ctx.layout.wine) writer.Events(L"HKEY_USERS\\.DEFAULT", L"HKEY_USERS\\.DEFAULT", apps / 2, true, false);
  writer.Events(ctx.layout.user.hive, ctx.layout.user.truthRoot, apps, true, true);
  if (ctx.layout.other) writer.Events(ctx.layout.other->hive, ctx.layout.other->hive, apps, false, true);
  writer.MenuOrder(ctx.Scaled(80, 8));
}

}  // namespace kelvara::bench
