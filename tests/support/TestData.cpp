#include "support/TestData.h"

#include "platform/Text.h"

namespace kelvara::test {

std::wstring FixturePath(const std::wstring& relative) {
#ifdef _WIN32
  const std::wstring path = Widen(KELVARA_TEST_DATA) + L"\\" + relative;
  return ReplaceAll(path, L"/", L"\\");
#else
  return Widen(KELVARA_TEST_DATA) + L"/" + relative;
#endif
}

}  // namespace kelvara::test
