// Removing one finding from the registry: a key with everything below it
// (rfKey) or one value (rfValue, the default value for an empty name).
// The key is opened in the view its path selects (GetRegAccess). A
// location that no longer exists afterwards counts as removed, also when
// someone else deleted it between scan and clean; a location that refuses
// reading counts as still there.
#pragma once

#include "scanner/uDefines.h"

namespace kelvara {

// True when the location is gone. rfNode removes nothing and succeeds. An
// entry without a key path fails: the root itself is never deleted.
bool RemoveRegEntry(const TRegData& location);

}  // namespace kelvara
