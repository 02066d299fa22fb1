#include "tools/hostsim/ProcessFigures.h"

// clang-format off
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

namespace tolv::hostsim {

ProcessFigures ReadProcessFigures() {
  ProcessFigures figures;
  const DWORD self = GetCurrentProcessId();
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more != FALSE; more = Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID == self) ++threads;
    }
    CloseHandle(snapshot);
    figures.Threads = threads;
  }
  // The commit charge: Windows gives it in both fields, Wine only in PagefileUsage.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
    figures.PrivateBytes = static_cast<std::int64_t>(memory.PagefileUsage);
  }
  return figures;
}

}  // namespace tolv::hostsim
