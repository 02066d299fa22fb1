// The plug-in's windows as the host's script sees them: found on the window thread by caption
// and class, their controls listed, keys posted to them, a paint box's pixels read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/hostsim/Script.h"

namespace tolv::hostsim {

inline constexpr char kViewerCaption[] = "Tol-Vane DVB";

// The top-level windows of the calling thread other than the host's own (and the system's IME
// windows), in creation order as the system lists them.
std::vector<HWND> PluginTopLevelWindows(HWND hostWindow);
// The first of them whose caption begins with "Tol-Vane DVB"; null when none.
HWND FindViewerWindow(HWND hostWindow);
// The first descendant of root of window class className; null when none.
HWND FindDescendantOfClass(HWND root, const std::string& className);

std::string WindowClass(HWND window);
std::string WindowCaption(HWND window);

// Each plug-in window and, indented below it, every descendant: class, caption, visible, enabled.
std::string DumpControls(HWND hostWindow);
bool AnyCaptionContains(HWND hostWindow, const std::string& text);
// The first control of window class BUTTON in the plug-in's windows whose caption is text,
// visible or not; null when none.
HWND FindButtonByCaption(HWND hostWindow, const std::string& text);

// Chooses the item of the viewer window's menu bar (or its submenus) whose caption, up to its
// shortcut, is caption, as a click on it does: WM_COMMAND with its id. False, with error set, when
// there is no viewer window, no such item, or the item is disabled.
bool ChooseMenuItem(HWND hostWindow, const std::string& caption, std::string& error);

// Posts each key's press and release to the viewer's focused window (or the viewer window when
// the focus is elsewhere), as the message loop would receive them from the keyboard, with shift
// and ctrl held in the thread's keyboard state while they are read (GetKeyState in the viewer,
// TranslateMessage). False, with error set, when there is no viewer window.
bool PostKeys(HWND hostWindow, const std::vector<Key>& keys, std::string& error);
// PostKeys posts this message to the host window before each key (and after the last one, with
// nothing held): wParam holds kShiftHeld and kControlHeld, for SetHeldModifiers.
inline constexpr UINT kSetKeyStateMessage = WM_APP + 1;
inline constexpr WPARAM kShiftHeld = 1;
inline constexpr WPARAM kControlHeld = 2;
void SetHeldModifiers(WPARAM held);

struct Pixels {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;  // rows top to bottom, 3 bytes a pixel
};

// The client area's pixels as the window shows them, read from its window DC once it has
// painted; false, with error set, when it cannot be read or part of it lies off the screen.
bool ReadClientPixels(HWND window, Pixels& pixels, std::string& error);

}  // namespace tolv::hostsim
