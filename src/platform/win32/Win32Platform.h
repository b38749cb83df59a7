// The platform of the Windows build: every facility over the real API.
#pragma once

#include "platform/Platform.h"

namespace kelvara::platform {

Platform MakeWin32Platform();

}  // namespace kelvara::platform
