// The eight entry points the host calls, by their plain C names and with the C calling
// convention, and the library entry point. Nothing throws out of them.
#include "platform/win32/Win32Api.h"

#include "host/Plugin.h"

#define TOLV_EXPORT extern "C" __declspec(dllexport)

namespace {

// The host has no use for a C++ exception; whatever escapes the plug-in's work ends here.
template <class Work>
void Guarded(Work work) noexcept {
  try {
    work();
  } catch (...) {
  }
}

}  // namespace

// The library entry point does nothing: window classes and the like are set up and torn down
// by the windows themselves.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Returned through the caller's hidden result pointer; the function ends with a plain ret.
TOLV_EXPORT tolv::host::TDllIdName __cdecl On_Send_Dll_ID_Name() noexcept { return tolv::host::DllIdName(); }

TOLV_EXPORT void __cdecl On_Filter_Receive(std::int32_t /*first*/, std::int32_t length,
                                           const std::uint8_t* data) noexcept {
  Guarded([&] { tolv::host::FilterReceive(length, data); });
}

TOLV_EXPORT void __cdecl On_Start(std::uint32_t /*first*/, HWND hostWindow, std::uint32_t /*third*/,
                                  std::uint32_t tag) noexcept {
  Guarded([&] {
    tolv::host::State().DataCallbackAddress =
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&On_Filter_Receive));
    tolv::host::Start(hostWindow, tag);
  });
}

TOLV_EXPORT void __cdecl On_Menu_Select(std::uint32_t code) noexcept {
  Guarded([&] { tolv::host::MenuSelect(code); });
}

// The channel record arrives by value, in the argument area of the stack.
TOLV_EXPORT void __cdecl On_Channel_Change(tolv::host::TChannelInfo channel) noexcept {
  Guarded([&] { tolv::host::ChannelChange(channel); });
}

TOLV_EXPORT void __cdecl On_Filter_Close() noexcept {
  Guarded([] { tolv::host::FilterClose(); });
}

TOLV_EXPORT int __cdecl On_Key_Down() noexcept { return 0; }

TOLV_EXPORT void __cdecl On_Exit() noexcept {
  Guarded([] { tolv::host::Exit(); });
}
