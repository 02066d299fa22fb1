#include "platform/HostMessage.h"

#include <mutex>

namespace tolv::platform {
namespace {

std::mutex g_mutex;
HostAnswer g_answer;

}  // namespace

void SetHostAnswer(HostAnswer answer) {
  std::lock_guard lock(g_mutex);
  g_answer = std::move(answer);
}

std::intptr_t SendToHost(void* hostWindow, std::uint32_t command, std::intptr_t parameter) noexcept {
  HostAnswer answer;
  {
    std::lock_guard lock(g_mutex);
    answer = g_answer;
  }
  // Called outside the lock: like the real host, the answer may call back into the plug-in.
  return answer ? answer(hostWindow, command, parameter) : 0;
}

}  // namespace tolv::platform
