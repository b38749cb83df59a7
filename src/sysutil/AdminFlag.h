// The process-wide administrator flag: whether the user running the
// program belongs to the Administrators group. Settled once at start-up,
// before any window or thread exists; the scanner, the cleaner and the
// configuration read it.
#pragma once

namespace kelvara {

// Computes the flag from IsAdministratorsMember().
void InitIsAdmin();
bool IsAdmin();
// Sets the flag explicitly: a run on a registry snapshot takes it from the
// command line, and tests choose it.
void SetIsAdmin(bool isAdmin);

}  // namespace kelvara
