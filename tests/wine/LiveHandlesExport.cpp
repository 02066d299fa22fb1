// The soak's build of the plug-in adds this export to the eight: the live counts of the Win32
// back end's handle owners, as text, so that the host simulator can check them after each cycle
// (under Wine nothing outside the process counts GDI or USER objects usefully). tolv.dll itself
// never has it.
#include <cstdio>

#include "ui/win32/Handles.h"

// Writes "windows 0, fonts 0, ..." into text, at most size bytes with its terminating zero;
// returns its length, or -1 when it does not fit.
extern "C" __declspec(dllexport) int __cdecl Tolv_LiveHandles(char* text, int size) noexcept {
  using tolv::ui::win32::HandleKind;
  if (text == nullptr || size <= 0) return -1;
  int length = 0;
  for (int i = 0; i < static_cast<int>(HandleKind::kCount); ++i) {
    const auto kind = static_cast<HandleKind>(i);
    const int written =
        std::snprintf(text + length, static_cast<std::size_t>(size - length), "%s%s %d", i == 0 ? "" : ", ",
                      tolv::ui::win32::HandleKindName(kind), tolv::ui::win32::LiveHandles(kind));
    if (written < 0 || written >= size - length) return -1;
    length += written;
  }
  return length;
}
