#include "platform/win32/Win32Api.h"

#include <shellapi.h>

#include <string>

#include "platform/Shell.h"

namespace tolv::platform {

bool ShellOpen(std::string_view target) noexcept {
  try {
    const std::string terminated(target);
    // The default verb, no parameters, no working directory, shown. Values above 32 mean success.
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, terminated.c_str(), nullptr, nullptr, SW_SHOW));
    return result > 32;
  } catch (...) {
    return false;
  }
}

}  // namespace tolv::platform
