// Move-only owners of the Win32 back end's handles. Each acquires through its own function and
// releases through the matching one (a GetDC DC is released, never deleted), and counts the live
// handles of its kind: under Wine neither GetGuiResources nor GetProcessHandleCount says
// anything useful, so the tests read these counts instead.
#pragma once

#include "platform/win32/Win32Api.h"

#include <array>
#include <atomic>
#include <utility>

namespace tolv::ui::win32 {

enum class HandleKind : std::uint8_t {
  Window,
  Font,
  Bitmap,
  Brush,
  MemoryDC,
  WindowDC,
  PrinterDC,
  Menu,
  Timer,
  Global,
  kCount
};

int LiveHandles(HandleKind kind);
// The kind in a few words, for reports ("memory DCs").
const char* HandleKindName(HandleKind kind);
void CountAcquired(HandleKind kind);
void CountReleased(HandleKind kind);

// One handle; Traits gives its type, its kind, and the function that releases it.
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  // Takes over a handle just acquired by the matching function; null stays empty.
  explicit UniqueHandle(Handle handle) : handle_(handle) {
    if (handle_ != nullptr) CountAcquired(Traits::kKind);
  }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_ == nullptr) return;
    Traits::Release(std::exchange(handle_, nullptr));
    CountReleased(Traits::kKind);
  }
  // The system released the handle itself (a window destroyed with its parent): forget it.
  void Abandon() {
    if (handle_ != nullptr) {
      handle_ = nullptr;
      CountReleased(Traits::kKind);
    }
  }

 private:
  Handle handle_ = nullptr;
};

struct FontTraits {
  using Handle = HFONT;
  static constexpr HandleKind kKind = HandleKind::Font;
  static void Release(HFONT font) { DeleteObject(font); }
};
struct BitmapTraits {
  using Handle = HBITMAP;
  static constexpr HandleKind kKind = HandleKind::Bitmap;
  static void Release(HBITMAP bitmap) { DeleteObject(bitmap); }
};
struct BrushTraits {
  using Handle = HBRUSH;
  static constexpr HandleKind kKind = HandleKind::Brush;
  static void Release(HBRUSH brush) { DeleteObject(brush); }
};
struct MemoryDCTraits {
  using Handle = HDC;
  static constexpr HandleKind kKind = HandleKind::MemoryDC;
  static void Release(HDC dc) { DeleteDC(dc); }
};
// The DC the print dialog made for the printer chosen.
struct PrinterDCTraits {
  using Handle = HDC;
  static constexpr HandleKind kKind = HandleKind::PrinterDC;
  static void Release(HDC dc) { DeleteDC(dc); }
};
struct MenuTraits {
  using Handle = HMENU;
  static constexpr HandleKind kKind = HandleKind::Menu;
  static void Release(HMENU menu) { DestroyMenu(menu); }
};
struct WindowTraits {
  using Handle = HWND;
  static constexpr HandleKind kKind = HandleKind::Window;
  static void Release(HWND window) { DestroyWindow(window); }
};

struct GlobalTraits {
  using Handle = HGLOBAL;
  static constexpr HandleKind kKind = HandleKind::Global;
  static void Release(HGLOBAL memory) { GlobalFree(memory); }
};

using FontHandle = UniqueHandle<FontTraits>;
using BitmapHandle = UniqueHandle<BitmapTraits>;
using BrushHandle = UniqueHandle<BrushTraits>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;
using PrinterDC = UniqueHandle<PrinterDCTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using GlobalMemory = UniqueHandle<GlobalTraits>;

FontHandle NewFont(const LOGFONTA& description);
BrushHandle NewSolidBrush(COLORREF color);
MemoryDC NewMemoryDC();
// The header of a 32-bit DIB of width x height, the top row first: the drawing code's pixel layout.
BITMAPINFO TopDownDibInfo(int width, int height);
// A top-down 32-bit DIB section; bits receives its pixels (0x00RRGGBB per pixel, rows top first).
BitmapHandle NewDibSection(int width, int height, void** bits);
MenuHandle NewMenuBar();
MenuHandle NewPopupMenu();

// A window's own DC from GetDC, given back with ReleaseDC.
class WindowDC {
 public:
  WindowDC() = default;
  explicit WindowDC(HWND window);
  WindowDC(WindowDC&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDC& operator=(WindowDC&& other) noexcept;
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { Reset(); }
  HDC Get() const { return dc_; }
  void Reset();

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// BeginPaint to EndPaint, inside WM_PAINT only.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &paint_); }
  HDC Get() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a DC until the guard ends, when the one it replaced comes back: GDI
// refuses to delete an object that is still selected.
class SelectedObject {
 public:
  SelectedObject() = default;
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&& other) noexcept;
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { Reset(); }
  void Reset();

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// A window timer from SetTimer, killed with KillTimer.
class WindowTimer {
 public:
  WindowTimer() = default;
  WindowTimer(HWND window, UINT_PTR id, UINT milliseconds);
  WindowTimer(WindowTimer&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), id_(std::exchange(other.id_, 0)) {}
  WindowTimer& operator=(WindowTimer&& other) noexcept;
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  ~WindowTimer() { Reset(); }
  explicit operator bool() const { return id_ != 0; }
  void Reset();

 private:
  HWND window_ = nullptr;
  UINT_PTR id_ = 0;
};

}  // namespace tolv::ui::win32
