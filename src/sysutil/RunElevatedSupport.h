// Whether the program runs as an administrator, and restarting it elevated.
#pragma once

#include <string>

namespace kelvara {

// The user belongs to the Administrators group, whether or not the token
// is elevated (a filtered administrator token counts). True on Windows 9x;
// false when no token can be opened.
bool IsAdministratorsMember();
// The effective token is an elevated administrator's.
bool IsElevated();
// Starts the own program file again with the "runas" verb and the given
// parameters; the user may decline, which is not reported.
void RunElevated(const std::wstring& parameters);

}  // namespace kelvara
