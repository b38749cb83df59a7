// The registry contract suite over the real registry (Wine's under test):
// each backend works in its own scratch key under HKEY_CURRENT_USER\Software,
// created fresh and removed with everything below it when dropped.
#ifdef _WIN32

#include <atomic>
#include <random>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/RegistryContract.h"
#include "platform/win32/Win32Registry.h"

namespace kelvara::test {
namespace {

using platform::HKey;
using platform::RegistryApi;

// Deletes `subKey` of `parent` and everything below it.
void DeleteTree(RegistryApi& registry, HKey parent, const std::wstring& subKey) {
  HKey opened = 0;
  if (registry.OpenKey(parent, subKey, platform::kKeyAllAccess, opened) != platform::kErrorSuccess) return;
  platform::UniqueKey key(registry, opened);
  std::vector<std::wstring> children;
  std::wstring name;
  for (std::uint32_t i = 0; registry.EnumKey(key.get(), i, name) == platform::kErrorSuccess; ++i) {
    children.push_back(name);
  }
  for (const std::wstring& child : children) DeleteTree(registry, key.get(), child);
  key.reset();
  registry.DeleteKey(parent, subKey, 0);
}

class Win32ContractBackend final : public ContractBackend {
 public:
  Win32ContractBackend() {
    // A random part keeps parallel test processes apart, the serial number
    // the backends of one process.
    static std::atomic<unsigned> serial{0};
    path_ = L"Software\\Kelvara-contract-" + std::to_wstring(std::random_device{}()) + L"-" + std::to_wstring(++serial);
    DeleteTree(registry_, Root(), path_);
    HKey created = 0;
    if (registry_.CreateKey(Root(), path_, platform::kKeyAllAccess, created) == platform::kErrorSuccess) {
      registry_.CloseKey(created);
    }
  }
  Win32ContractBackend(const Win32ContractBackend&) = delete;
  Win32ContractBackend& operator=(const Win32ContractBackend&) = delete;
  ~Win32ContractBackend() override { DeleteTree(registry_, Root(), path_); }

  RegistryApi& Registry() override { return registry_; }
  HKey Root() override { return platform::kHkeyCurrentUser; }
  std::wstring ScratchPath() override { return path_; }

 private:
  platform::win32::Win32Registry registry_;
  std::wstring path_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() { return std::make_unique<Win32ContractBackend>(); }

}  // namespace kelvara::test

#endif  // _WIN32
