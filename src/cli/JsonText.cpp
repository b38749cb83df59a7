#include "cli/JsonText.h"

#include <cstdio>

#include "platform/Text.h"

namespace kelvara::cli {

std::string JsonString(std::wstring_view text) {
  std::string out = "\"";
  for (char16_t unit : ToUtf16(text)) {
    switch (unit) {
      case u'"':
        out += "\\\"";
        break;
      case u'\\':
        out += "\\\\";
        break;
      case u'\n':
        out += "\\n";
        break;
      case u'\r':
        out += "\\r";
        break;
      case u'\t':
        out += "\\t";
        break;
      default:
        if (unit >= 0x20 && unit < 0x7F) {
          out.push_back(static_cast<char>(unit));
        } else {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
          out += escaped;
        }
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace kelvara::cli
