// The one error the registry layer raises: a key that could not be created
// or a value that could not be written. Reads never raise.
#pragma once

#include <stdexcept>
#include <string>

namespace kelvara {

class ERegistryException : public std::runtime_error {
 public:
  explicit ERegistryException(const std::wstring& message);

  // The message as the user sees it.
  [[nodiscard]] const std::wstring& Message() const noexcept { return message_; }

 private:
  std::wstring message_;
};

}  // namespace kelvara
