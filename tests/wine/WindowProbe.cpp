#include "WindowProbe.h"

#include <array>
#include <chrono>
#include <fstream>

namespace tolv::wine {

void PumpMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PumpFor(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  PumpMessages();
}

std::string WindowText(HWND window) {
  std::array<char, 1024> text{};
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string ClassName(HWND window) {
  std::array<char, 256> name{};
  const int length = GetClassNameA(window, name.data(), static_cast<int>(name.size()));
  return std::string(name.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

namespace {
BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindByText(HWND parent, const std::string& text) {
  for (HWND window : Descendants(parent)) {
    if (WindowText(window) == text) return window;
  }
  return nullptr;
}

std::vector<MenuLine> ReadMenu(HMENU menu, int depth) {
  std::vector<MenuLine> lines;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    std::array<char, 256> text{};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    lines.push_back({depth, separator ? std::string("-") : std::string(text.data()), (info.fState & MFS_DISABLED) == 0,
                     (info.fState & MFS_CHECKED) != 0, info.hSubMenu != nullptr, info.wID});
    if (info.hSubMenu != nullptr) {
      std::vector<MenuLine> inner = ReadMenu(info.hSubMenu, depth + 1);
      lines.insert(lines.end(), inner.begin(), inner.end());
    }
  }
  return lines;
}

const MenuLine* FindLine(const std::vector<MenuLine>& lines, const std::string& text) {
  for (const MenuLine& line : lines) {
    if (line.Text.substr(0, line.Text.find('\t')) == text) return &line;
  }
  return nullptr;
}

void PressKey(HWND window, std::uint8_t key, bool ctrl, bool shift) {
  std::array<BYTE, 256> before{};
  GetKeyboardState(before.data());
  std::array<BYTE, 256> held = before;
  held[VK_CONTROL] = held[VK_LCONTROL] = ctrl ? 0x80 : 0;
  held[VK_SHIFT] = held[VK_LSHIFT] = shift ? 0x80 : 0;
  held[key] = 0x80;
  SetKeyboardState(held.data());
  const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  PostMessageA(window, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
  PumpMessages();
  held[key] = 0;
  SetKeyboardState(held.data());
  PostMessageA(window, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3u << 30));
  PumpMessages();
  SetKeyboardState(before.data());
}

Screenshot Capture(HWND window, bool clientOnly) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  PumpMessages();
  GdiFlush();
  RECT area{};
  if (clientOnly) {
    GetClientRect(window, &area);
  } else {
    GetWindowRect(window, &area);
    OffsetRect(&area, -area.left, -area.top);
  }
  Screenshot shot;
  shot.Width = area.right;
  shot.Height = area.bottom;
  HDC source = clientOnly ? GetDC(window) : GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.Width;
  info.bmiHeader.biHeight = -shot.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ before = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.Width, shot.Height, source, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* dib = static_cast<const std::uint32_t*>(bits);
  shot.Pixels.resize(static_cast<std::size_t>(shot.Width) * shot.Height);
  for (std::size_t i = 0; i < shot.Pixels.size(); ++i) {
    const std::uint32_t p = dib[i];
    shot.Pixels[i] = ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
  }
  SelectObject(memory, before);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return shot;
}

bool WriteBmp(const Screenshot& shot, const std::string& path) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(shot.Width) * 3 + 3) & ~3u;
  const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(shot.Height);
  std::vector<std::uint8_t> file(54 + dataBytes, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(shot.Width));
  put32(22, static_cast<std::uint32_t>(shot.Height));  // bottom row first
  file[26] = 1;
  file[28] = 24;
  put32(34, dataBytes);
  for (int y = 0; y < shot.Height; ++y) {
    std::uint8_t* row = &file[54 + static_cast<std::size_t>(shot.Height - 1 - y) * rowBytes];
    for (int x = 0; x < shot.Width; ++x) {
      const std::uint32_t c = shot.At(x, y);  // 0x00BBGGRR
      row[3 * x] = static_cast<std::uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace tolv::wine
