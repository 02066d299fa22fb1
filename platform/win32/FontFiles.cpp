// Font files handed to GDI, which serves their faces to CreateFont by name.
#include "platform/win32/Win32Api.h"

#include "platform/FontFiles.h"

namespace tolv::platform {

int AddFontFile(const std::string& path) noexcept { return AddFontResourceA(path.c_str()); }

bool RemoveFontFile(const std::string& path) noexcept { return RemoveFontResourceA(path.c_str()) != FALSE; }

}  // namespace tolv::platform
