#include "scanner/UserProfiles.h"

#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "sysutil/Privileges.h"

namespace kelvara {
namespace {

const wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::wstring& RunningUser() {
  static std::wstring name;
  return name;
}

bool IsOtherCheckedProfile(const TUserInfo& user) { return user.Checked && !user.IsCurUser; }

}  // namespace

std::vector<TUserInfo>& UserList() {
  static std::vector<TUserInfo> list;
  return list;
}

const std::wstring& RunningUserName() { return RunningUser(); }

bool StringToSid(const std::wstring& text) {
  // S-<revision>-<authority>(-<sub-authority>)*, each part decimal.
  if (text.size() < 4 || (text[0] != L'S' && text[0] != L's') || text[1] != L'-') return false;
  std::size_t parts = 0;
  std::size_t digits = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c >= L'0' && c <= L'9') {
      ++digits;
      if (digits > 20) return false;
    } else if (c == L'-' && digits > 0) {
      ++parts;
      digits = 0;
    } else {
      return false;
    }
  }
  return digits > 0 && parts >= 1 && parts <= 16;
}

void LoadUserList() {
  FreeUserList();
  RunningUser() = platform::System().UserName();
  std::vector<std::wstring> sids;
  GetRegSubKeys(platform::kHkeyLocalMachine, kProfileList, sids, true);
  for (const auto& sid : sids) {
    if (sid.size() <= 8) continue;
    if (!StringToSid(sid)) continue;
    const auto account = platform::System().AccountNameOfSid(sid);
    if (!account) continue;
    TUserInfo user;
    user.UserName = *account;
    user.StringSID = sid;
    ReadRegData(platform::kHkeyLocalMachine, std::wstring(kProfileList) + L"\\" + sid, L"ProfileImagePath", true,
                user.HomeDir);
    user.IsCurUser = SameText(user.UserName, RunningUser());
    user.Checked = user.IsCurUser;
    UserList().push_back(std::move(user));
  }
}

void FreeUserList() { UserList().clear(); }

void LoadUserHives() {
  SetPrivilege(L"SeRestorePrivilege", true);
  for (const auto& user : UserList()) {
    if (!IsOtherCheckedProfile(user)) continue;
    if (RegKeyExistsEx(platform::kHkeyUsers, user.StringSID, true)) continue;
    std::wstring home = user.HomeDir;
    if (!home.empty() && home.back() != L'\\') home.push_back(L'\\');
    platform::Registry().LoadKey(platform::kHkeyUsers, user.StringSID, home + L"NtUser.dat");
  }
}

void UnloadUserHives() {
  SetPrivilege(L"SeRestorePrivilege", true);
  for (const auto& user : UserList()) {
    if (!IsOtherCheckedProfile(user)) continue;
    if (!RegKeyExistsEx(platform::kHkeyUsers, user.StringSID, true)) continue;
    platform::Registry().UnLoadKey(platform::kHkeyUsers, user.StringSID);
  }
}

TProfileContext RunningUserContext() {
  TProfileContext ctx;
  ctx.userName = RunningUser();
  for (const auto& user : UserList()) {
    if (user.IsCurUser) {
      ctx.userName = user.UserName;
      break;
    }
  }
  return ctx;
}

TProfileContext ProfileContext(const TUserInfo& user) {
  if (user.IsCurUser) return RunningUserContext();
  TProfileContext ctx;
  ctx.root = platform::kHkeyUsers;
  ctx.prefix = user.StringSID + L"\\";
  ctx.userName = user.UserName;
  ctx.allowPercent = false;
  ctx.isCurrentUser = false;
  return ctx;
}

}  // namespace kelvara
