// The registry contract suite over the snapshot store: a fresh store per
// backend, with the scratch key below the running user's Software key.
#ifndef _WIN32

#include <memory>

#include "platform/RegistryContract.h"
#include "platform/snapshot/SnapshotRegistry.h"

namespace kelvara::test {
namespace {

class SnapshotContractBackend final : public ContractBackend {
 public:
  SnapshotContractBackend() : registry_(std::make_shared<platform::RegistryStore>()) {
    platform::HKey created = 0;
    if (registry_.CreateKey(Root(), ScratchPath(), platform::kKeyAllAccess, created) == platform::kErrorSuccess) {
      registry_.CloseKey(created);
    }
  }

  platform::RegistryApi& Registry() override { return registry_; }
  platform::HKey Root() override { return platform::kHkeyCurrentUser; }
  std::wstring ScratchPath() override { return L"Software\\Kelvara-contract"; }

 private:
  platform::SnapshotRegistry registry_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() { return std::make_unique<SnapshotContractBackend>(); }

}  // namespace kelvara::test

#endif  // _WIN32
