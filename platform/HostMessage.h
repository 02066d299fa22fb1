// The one way the plug-in talks to its host: a WM_USER message to the host's main window with
// a command code and a number or pointer, answered synchronously.
#pragma once

#include <cstdint>
#include <functional>

namespace tolv::platform {

// Sends command to hostWindow and returns the host's answer (0 when there is no host).
std::intptr_t SendToHost(void* hostWindow, std::uint32_t command, std::intptr_t parameter) noexcept;

// Portable builds have no host window: a test or tool plays the host by answering here.
using HostAnswer = std::function<std::intptr_t(void* hostWindow, std::uint32_t command, std::intptr_t parameter)>;
void SetHostAnswer(HostAnswer answer);

}  // namespace tolv::platform
