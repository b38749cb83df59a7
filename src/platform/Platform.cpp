#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kelvara::platform {
namespace {

// The one process-wide platform; written at start-up before threads exist.
Platform& Installed() {
  static Platform instance;
  return instance;
}

}  // namespace

void Install(Platform platform) { Installed() = std::move(platform); }

const Platform& Current() {
  const Platform& p = Installed();
  if (!p.registry || !p.files || !p.hostFiles || !p.system || !p.security || !p.process) {
    std::fputs("kelvara: no platform installed\n", stderr);
    std::abort();
  }
  return p;
}

}  // namespace kelvara::platform
