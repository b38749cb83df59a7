#include "sysutil/AdminFlag.h"

#include "sysutil/RunElevatedSupport.h"

namespace kelvara {
namespace {

bool& Flag() {
  static bool isAdmin = false;
  return isAdmin;
}

}  // namespace

void InitIsAdmin() { Flag() = IsAdministratorsMember(); }

bool IsAdmin() { return Flag(); }

void SetIsAdmin(bool isAdmin) { Flag() = isAdmin; }

}  // namespace kelvara
