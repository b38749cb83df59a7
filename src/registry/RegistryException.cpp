#include "registry/RegistryException.h"

#include "platform/Text.h"

namespace kelvara {

ERegistryException::ERegistryException(const std::wstring& message)
    : std::runtime_error(ToUtf8(message)), message_(message) {}

}  // namespace kelvara
