#include "tools/tolvane/Messages.h"

#include <cstdio>
#include <cstring>

namespace tolv::tolvane {

std::string Quoted(std::string_view name) {
  std::string quoted = "'";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n': quoted += "\\n"; break;
      case '\t': quoted += "\\t"; break;
      case '\r': quoted += "\\r"; break;
      case '\\': quoted += "\\\\"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char escaped[5];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "'";
}

std::string CannotDo(std::string_view action, std::string_view name, int error) {
  std::string line = "cannot " + std::string(action) + ' ' + Quoted(name);
  if (error != 0) line += std::string(": ") + std::strerror(error);
  return line;
}

}  // namespace tolv::tolvane
