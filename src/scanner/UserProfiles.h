// The Windows user profiles the scanner can cover: the process-wide list
// built at start from the registry's profile list, the hives of other
// users loaded under HKEY_USERS before a scan, and the context in which a
// per-user rule runs.
#pragma once

#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "scanner/uDefines.h"

namespace kelvara {

// The process-wide list. Changed only on the main thread before a scan
// starts; read by the scan thread.
std::vector<TUserInfo>& UserList();
// The running user's name as the system reports it.
const std::wstring& RunningUserName();

void LoadUserList();
void FreeUserList();
void LoadUserHives();
void UnloadUserHives();
// Whether `text` is a well-formed textual SID ("S-1-" and decimal parts).
bool StringToSid(const std::wstring& text);

// Where a per-user rule reads: HKEY_CURRENT_USER with no prefix for the
// running user, HKEY_USERS with "<SID>\" for another profile.
struct TProfileContext {
  platform::HKey root = platform::kHkeyCurrentUser;
  std::wstring prefix;
  std::wstring userName;
  bool allowPercent = true;  // file references with "%" are resolved
  bool isCurrentUser = true;
};

TProfileContext RunningUserContext();
TProfileContext ProfileContext(const TUserInfo& user);

}  // namespace kelvara
