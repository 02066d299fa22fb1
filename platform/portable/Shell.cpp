// Portable shell: nothing is opened; each request is recorded so tests can see what the
// program asked for.
#include <mutex>

#include "platform/Shell.h"
#include "platform/portable/PortableServices.h"

namespace tolv::platform {
namespace {

struct ShellLog {
  std::mutex Lock;
  std::vector<std::string> Targets;
};

ShellLog& TheShellLog() {
  static ShellLog log;
  return log;
}

}  // namespace

bool ShellOpen(std::string_view target) noexcept {
  try {
    ShellLog& log = TheShellLog();
    std::lock_guard guard(log.Lock);
    log.Targets.emplace_back(target);
    return true;
  } catch (...) {
    return false;
  }
}

namespace portable {

std::vector<std::string> ShellRequests() {
  ShellLog& log = TheShellLog();
  std::lock_guard guard(log.Lock);
  return log.Targets;
}

void ClearShellRequests() {
  ShellLog& log = TheShellLog();
  std::lock_guard guard(log.Lock);
  log.Targets.clear();
}

}  // namespace portable
}  // namespace tolv::platform
