#include "tools/hostsim/PluginWindows.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace tolv::hostsim {
namespace {

struct EnumState {
  HWND host;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM state) {
  auto& s = *reinterpret_cast<EnumState*>(state);
  const std::string cls = WindowClass(window);
  if (window != s.host && cls != "IME" && cls != "MSCTFIME UI") s.windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM state) {
  reinterpret_cast<std::vector<HWND>*>(state)->push_back(window);
  return TRUE;
}

std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> windows;
  EnumChildWindows(root, &CollectChild, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

int Depth(HWND window, HWND root) {
  int depth = 0;
  for (HWND at = window; at != nullptr && at != root; at = GetParent(at)) ++depth;
  return depth;
}

std::string DescribeWindow(HWND window, int depth) {
  std::string line(static_cast<std::size_t>(depth) * 2, ' ');
  line += WindowClass(window) + "\t\"" + WindowCaption(window) + "\"\t";
  line += IsWindowVisible(window) ? "visible" : "hidden";
  line += IsWindowEnabled(window) ? "\tenabled" : "\tdisabled";
  return line + "\n";
}

LPARAM KeyParameter(UINT virtualKey, bool release) {
  const UINT scan = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
  // The navigation block's keys are extended keys.
  const bool extended = virtualKey >= VK_PRIOR && virtualKey <= VK_DELETE;
  LPARAM value = 1 | static_cast<LPARAM>(scan & 0xFF) << 16 | (extended ? 1L << 24 : 0);
  if (release) value |= static_cast<LPARAM>(3UL << 30);
  return value;
}

void PostKey(HWND target, UINT virtualKey, bool release) {
  PostMessageA(target, release ? WM_KEYUP : WM_KEYDOWN, virtualKey, KeyParameter(virtualKey, release));
}

// The position of the item with caption in menu or one of its submenus; menu receives the
// (sub)menu that holds it. -1 when none.
int FindMenuItem(HMENU& menu, const std::string& caption) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub != nullptr) {
      const int found = FindMenuItem(sub, caption);
      if (found >= 0) {
        menu = sub;
        return found;
      }
      continue;
    }
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    std::string shown = text;
    shown = shown.substr(0, shown.find('\t'));
    if (shown == caption) return i;
  }
  return -1;
}

// The position of the submenu with caption in menu or one of its submenus; menu receives the
// menu that holds it. -1 when none.
int FindSubmenu(HMENU& menu, const std::string& caption) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub == nullptr) continue;
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    if (caption == text) return i;
    const int found = FindSubmenu(sub, caption);
    if (found >= 0) {
      menu = sub;
      return found;
    }
  }
  return -1;
}

}  // namespace

bool ChooseMenuItem(HWND hostWindow, const std::string& caption, std::string& error) {
  HWND viewer = FindViewerWindow(hostWindow);
  HMENU menu = viewer != nullptr ? GetMenu(viewer) : nullptr;
  if (menu == nullptr) {
    error = "no viewer window with a menu";
    return false;
  }
  // "SUBMENU > ITEM": the item in that submenu (of the menu bar or a menu of it).
  std::string item = caption;
  if (const std::size_t arrow = caption.find(" > "); arrow != std::string::npos) {
    const std::string submenu = caption.substr(0, arrow);
    item = caption.substr(arrow + 3);
    HMENU holder = menu;
    const int at = FindSubmenu(holder, submenu);
    if (at < 0) {
      error = "no submenu \"" + submenu + "\"";
      return false;
    }
    menu = GetSubMenu(holder, at);
  }
  const int position = FindMenuItem(menu, item);
  if (position < 0) {
    error = "no menu item \"" + caption + "\"";
    return false;
  }
  if ((GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) != 0) {
    error = "the menu item \"" + caption + "\" is disabled";
    return false;
  }
  const UINT id = GetMenuItemID(menu, position);
  SendMessageA(viewer, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return true;
}

std::string WindowClass(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string WindowCaption(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::vector<HWND> PluginTopLevelWindows(HWND hostWindow) {
  EnumState state{hostWindow, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return state.windows;
}

HWND FindViewerWindow(HWND hostWindow) {
  for (HWND window : PluginTopLevelWindows(hostWindow)) {
    if (WindowCaption(window).rfind(kViewerCaption, 0) == 0) return window;
  }
  return nullptr;
}

HWND FindDescendantOfClass(HWND root, const std::string& className) {
  for (HWND window : Descendants(root)) {
    if (WindowClass(window) == className) return window;
  }
  return nullptr;
}

std::string DumpControls(HWND hostWindow) {
  std::string text;
  for (HWND top : PluginTopLevelWindows(hostWindow)) {
    text += DescribeWindow(top, 0);
    for (HWND child : Descendants(top)) text += DescribeWindow(child, Depth(child, top));
  }
  return text;
}

bool AnyCaptionContains(HWND hostWindow, const std::string& text) {
  for (HWND top : PluginTopLevelWindows(hostWindow)) {
    if (WindowCaption(top).find(text) != std::string::npos) return true;
    for (HWND child : Descendants(top)) {
      if (WindowCaption(child).find(text) != std::string::npos) return true;
    }
  }
  return false;
}

HWND FindButtonByCaption(HWND hostWindow, const std::string& text) {
  for (HWND top : PluginTopLevelWindows(hostWindow)) {
    for (HWND child : Descendants(top)) {
      if (WindowCaption(child) == text && _stricmp(WindowClass(child).c_str(), "Button") == 0) return child;
    }
  }
  return nullptr;
}

bool PostKeys(HWND hostWindow, const std::vector<Key>& keys, std::string& error) {
  HWND viewer = FindViewerWindow(hostWindow);
  if (viewer == nullptr) {
    error = "no viewer window";
    return false;
  }
  HWND focus = GetFocus();
  HWND target = focus != nullptr && GetAncestor(focus, GA_ROOT) == viewer ? focus : viewer;
  // Posted messages of one thread are read in the order they were posted: each key's modifier
  // state is set just before its messages are read, and put back after the last one.
  for (const Key& key : keys) {
    PostMessageA(hostWindow, kSetKeyStateMessage, (key.Shift ? kShiftHeld : 0) | (key.Control ? kControlHeld : 0), 0);
    if (key.Control) PostKey(target, VK_CONTROL, false);
    if (key.Shift) PostKey(target, VK_SHIFT, false);
    PostKey(target, key.VirtualKey, false);
    PostKey(target, key.VirtualKey, true);
    if (key.Shift) PostKey(target, VK_SHIFT, true);
    if (key.Control) PostKey(target, VK_CONTROL, true);
  }
  PostMessageA(hostWindow, kSetKeyStateMessage, 0, 0);
  return true;
}

void SetHeldModifiers(WPARAM held) {
  // Keys typed by a script never touch the real keyboard: the thread's state is the system's
  // with shift and ctrl set as the key wants them.
  BYTE state[256];
  GetKeyboardState(state);
  const BYTE shift = (held & kShiftHeld) != 0 ? 0x80 : 0;
  const BYTE control = (held & kControlHeld) != 0 ? 0x80 : 0;
  state[VK_SHIFT] = state[VK_LSHIFT] = shift;
  state[VK_CONTROL] = state[VK_LCONTROL] = control;
  SetKeyboardState(state);
}

bool ReadClientPixels(HWND window, Pixels& pixels, std::string& error) {
  RECT client;
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) {
    error = "the window has no client area";
    return false;
  }
  // Pixels off the screen read as black: a screenshot with black columns would pass for the
  // window's own, so a window that reaches past the screen is refused.
  POINT corner = {client.right, client.bottom};
  ClientToScreen(window, &corner);
  if (corner.x > GetSystemMetrics(SM_CXSCREEN) || corner.y > GetSystemMetrics(SM_CYSCREEN)) {
    error = "the window reaches past the screen's " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
            std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " pixels";
    return false;
  }
  UpdateWindow(window);  // a pending WM_PAINT is handled before the pixels are read
  const int width = client.right, height = client.bottom;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool read = false;
  if (memoryDc != nullptr && bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    read = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
    GdiFlush();
    if (read) {
      const auto* bgrx = static_cast<const std::uint8_t*>(bits);
      pixels.Width = width;
      pixels.Height = height;
      pixels.Rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
      for (std::size_t i = 0; i < pixels.Rgb.size() / 3; ++i) {
        pixels.Rgb[i * 3] = bgrx[i * 4 + 2];
        pixels.Rgb[i * 3 + 1] = bgrx[i * 4 + 1];
        pixels.Rgb[i * 3 + 2] = bgrx[i * 4];
      }
    }
    SelectObject(memoryDc, old);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memoryDc != nullptr) DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  if (!read) error = "cannot copy the window's pixels";
  return read;
}

}  // namespace tolv::hostsim
