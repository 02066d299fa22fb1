#include "platform/HostMessage.h"

#include "platform/win32/Win32Api.h"

namespace tolv::platform {

std::intptr_t SendToHost(void* hostWindow, std::uint32_t command, std::intptr_t parameter) noexcept {
  if (hostWindow == nullptr) return 0;
  return static_cast<std::intptr_t>(SendMessageA(static_cast<HWND>(hostWindow), WM_USER, static_cast<WPARAM>(command),
                                                 static_cast<LPARAM>(parameter)));
}

// The real host answers itself; the portable implementation keeps its argument, hence by value.
void SetHostAnswer(HostAnswer /*answer*/) {}  // NOLINT(performance-unnecessary-value-param)

}  // namespace tolv::platform
