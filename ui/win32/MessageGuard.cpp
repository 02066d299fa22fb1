#include "ui/win32/MessageGuard.h"

namespace tolv::ui::win32 {
namespace {

// Windows of the library live on one thread, the host's window thread.
int messagesBeingHandled = 0;

}  // namespace

int MessagesBeingHandled() { return messagesBeingHandled; }

MessageScope::MessageScope() { ++messagesBeingHandled; }

MessageScope::~MessageScope() { --messagesBeingHandled; }

}  // namespace tolv::ui::win32
