// The framework keeps texts in UTF-8 (the encoding of the sources, the tests and the tools).
// The Win32 back end talks to the system through the "A" functions in the Windows-1252 code
// page of the German system the program is made for, and converts at that boundary only.
#pragma once

#include <string>
#include <string_view>

namespace tolv::ui {

// Characters Windows-1252 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToWindows1252(std::string_view utf8);
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become '?'.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace tolv::ui
