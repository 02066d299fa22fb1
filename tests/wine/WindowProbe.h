// What a test sees of real windows, as a user or a screen reader would: window texts, menus read
// back from their HMENUs, keys sent through the message queue, and the pixels on the screen.
#pragma once

#include "platform/win32/Win32Api.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tolv::wine {

// Runs the messages waiting for this thread, as the host's message loop would.
void PumpMessages();
// Pumps for about milliseconds (timers fire meanwhile).
void PumpFor(int milliseconds);

// The window's text in the system's code page (Windows-1252 bytes).
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Every window below parent, depth first.
std::vector<HWND> Descendants(HWND parent);
// The first window below parent whose text is text (Windows-1252 bytes); null when none.
HWND FindByText(HWND parent, const std::string& text);

struct MenuLine {
  int Depth;         // 0 for the menu bar's entries
  std::string Text;  // Windows-1252 bytes; "-" for a separator
  bool Enabled;
  bool Checked;
  bool HasSubmenu;
  UINT Id;
  friend bool operator==(const MenuLine&, const MenuLine&) = default;
};
// The menu and its submenus as the system holds them, in display order.
std::vector<MenuLine> ReadMenu(HMENU menu, int depth = 0);
// The line with this text (without its shortcut part); null when none.
const MenuLine* FindLine(const std::vector<MenuLine>& lines, const std::string& text);

// A key pressed while window has the focus: the key down message goes through the queue and
// TranslateMessage as a real one does, with the modifier keys held in the thread's key state.
void PressKey(HWND window, std::uint8_t key, bool ctrl = false, bool shift = false);

// The pixels of window on the screen (frame included), 0x00BBGGRR, rows top first.
struct Screenshot {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};
Screenshot Capture(HWND window, bool clientOnly = false);
// Writes a 24-bit BMP; false when the file cannot be written.
bool WriteBmp(const Screenshot& shot, const std::string& path);

}  // namespace tolv::wine
