// The English system message texts of the result codes the snapshot
// backend reports, as Windows words them.
#pragma once

#include <string>

namespace kelvara::platform {

// Empty for 0; "Error N." for a code without a text here.
std::wstring SystemMessageText(long code);

}  // namespace kelvara::platform
