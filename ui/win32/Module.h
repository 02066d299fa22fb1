// The library's own module, its window classes and the resources its windows share.
//
// The classes are registered with the module's own instance (the plug-in is a DLL in another
// program's process) when the library creates its first window, and unregistered when its last
// window is gone, so the DLL can be unloaded with nothing of it left registered. Never from the
// library's entry point, which does nothing.
#pragma once

#include <string>

#include "ui/Types.h"
#include "ui/win32/Handles.h"

namespace tolv::ui::win32 {

class WindowPeer;

inline constexpr char kFormClass[] = "TolvForm";
// Controls the library paints itself: panels, bevels, images, tab sheets, scroll boxes.
inline constexpr char kControlClass[] = "TolvControl";
// Paint boxes: each has a DC of its own, so drawing outside WM_PAINT keeps its font and colours.
inline constexpr char kPaintBoxClass[] = "TolvPaintBox";
// The message-only window that frees released forms after the event that released them.
inline constexpr char kMessageClass[] = "TolvMessages";

// The procedures of the classes: the peers' one (WindowPeer.cpp) and the message window's
// (BackendWin32.cpp).
LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HINSTANCE ModuleInstance();
bool ClassesRegistered();

struct WindowSpec {
  const char* ClassName;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  std::string Text;  // UTF-8
  RECT Bounds{};     // left, top, right, bottom in the parent's client coordinates (screen for forms)
  HWND Parent = nullptr;
  UINT_PTR Id = 0;  // control id; ignored for top-level windows
};

// Creates a window of the library, registering the classes first if none is registered. Windows
// of the library's own classes receive peer in their WM_NCCREATE (see WindowPeer.cpp).
WindowHandle CreateLibraryWindow(const WindowSpec& request, void* peer);
// Called when the count of live windows drops to zero: unregisters the classes and frees the
// shared control fonts.
void LastWindowGone();

// The GDI font of a control's font, created once and shared until the last window is gone.
HFONT ControlFont(const TFont& font);
// A colour of the framework (RGB or a system colour) as GDI's COLORREF.
COLORREF ColorRef(TColor color);

}  // namespace tolv::ui::win32
