// What the portable build of the platform services lets tests see and steer: the shell
// requests it recorded instead of opening anything, and failures injected into mutex waits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolv::platform::portable {

// Every target ShellOpen was asked to open since the last ClearShellRequests, oldest first.
std::vector<std::string> ShellRequests();
void ClearShellRequests();

// The next count waits on the mutex called name fail (as a wait on a broken handle does).
// Has no effect when no one holds that name.
void FailNextWaits(std::string_view name, unsigned count);
// How many distinct names are open right now.
unsigned OpenMutexNames();

}  // namespace tolv::platform::portable
