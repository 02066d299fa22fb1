// Asks the desktop to open a document, web address or "mailto:" address with the program the
// user registered for it (Win32: ShellExecuteA with the default verb, no parameters, no working
// directory, shown normally).
#pragma once

#include <string_view>

namespace tolv::platform {

// True when the request was handed on. Callers that do not care about a missing browser or
// mail program may ignore the result.
bool ShellOpen(std::string_view target) noexcept;

}  // namespace tolv::platform
