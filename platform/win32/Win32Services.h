// What the Win32 build of the platform services lets tests see: the kernel handles it holds.
#pragma once

namespace tolv::platform::win32 {

// Mutex handles opened by NamedMutex::Open and not yet closed.
int OpenMutexHandles();

}  // namespace tolv::platform::win32
