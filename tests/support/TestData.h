// Where the tests find their fixture files.
#pragma once

#include <string>

namespace kelvara::test {

// The fixtures folder as a native path of the test's platform.
std::wstring FixturePath(const std::wstring& relative);

}  // namespace kelvara::test
