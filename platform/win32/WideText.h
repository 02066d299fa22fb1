// UTF-8 to and from the system's UTF-16, and the system's words for an error code, for the Win32
// back ends that call the wide ("W") functions.
#pragma once

#include <string>

#include "platform/win32/Win32Api.h"

namespace tolv::platform {

std::wstring WideFromUtf8(const std::string& utf8);
// wide ends in 0.
std::string Utf8FromWide(const wchar_t* wide);
// FormatMessage's text for error in UTF-8, without the line end it comes with; "Fehler N" when
// the system has none.
std::string SystemErrorText(DWORD error);

}  // namespace tolv::platform
