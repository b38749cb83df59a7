// The registry contract suite runs unchanged against every backend: the
// snapshot store on Linux and, under Wine, the win32 backend. Each target
// supplies one factory that gives the suite a registry and a scratch key
// that exists, is empty, and is removed again when the backend is dropped.
#pragma once

#include <memory>
#include <string>

#include "platform/RegistryApi.h"

namespace kelvara::test {

class ContractBackend {
 public:
  virtual ~ContractBackend() = default;
  virtual platform::RegistryApi& Registry() = 0;
  // The root and the path below it of the scratch key.
  virtual platform::HKey Root() = 0;
  virtual std::wstring ScratchPath() = 0;
};

std::unique_ptr<ContractBackend> MakeContractBackend();

}  // namespace kelvara::test
