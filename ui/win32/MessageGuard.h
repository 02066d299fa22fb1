// The system enters the library through its window and subclass procedures, from the host's
// message loop. A C++ exception must not unwind through the system's frames into the host (with
// the i686 toolchain's DWARF unwinding it would end the host in std::terminate), so each of them
// handles a message inside this guard: when the library's handling throws, the message gets the
// system's default handling instead. The guard also counts the messages being handled, so the
// library knows when frames of its own lie below a call from the host.
#pragma once

#include "platform/win32/Win32Api.h"

namespace tolv::ui::win32 {

// How many messages the library's window procedures are handling on the window thread now.
int MessagesBeingHandled();

class MessageScope {
 public:
  MessageScope();
  MessageScope(const MessageScope&) = delete;
  MessageScope& operator=(const MessageScope&) = delete;
  ~MessageScope();
};

template <class Handling, class DefaultHandling>
LRESULT GuardedMessage(Handling handling, DefaultHandling defaultHandling) noexcept {
  const MessageScope scope;
  try {
    return handling();
  } catch (...) {
    return defaultHandling();
  }
}

}  // namespace tolv::ui::win32
