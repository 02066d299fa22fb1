#include "tools/tolvane/TerminalColour.h"

namespace tolv::tolvane {

bool WantsColour(ColorChoice choice, bool outputIsTerminal) {
  return choice == ColorChoice::kAlways || (choice == ColorChoice::kAuto && outputIsTerminal);
}

std::string WithoutColour(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
      const std::size_t end = text.find('m', i + 2);
      if (end != std::string_view::npos) {
        i = end;
        continue;
      }
    }
    plain += text[i];
  }
  return plain;
}

}  // namespace tolv::tolvane
