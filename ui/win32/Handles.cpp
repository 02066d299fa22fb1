#include "ui/win32/Handles.h"

#include "ui/win32/Module.h"

namespace tolv::ui::win32 {
namespace {
std::array<std::atomic<int>, static_cast<std::size_t>(HandleKind::kCount)> live{};
std::atomic<int>& Counter(HandleKind kind) { return live[static_cast<std::size_t>(kind)]; }
}  // namespace

int LiveHandles(HandleKind kind) { return Counter(kind).load(std::memory_order_relaxed); }
const char* HandleKindName(HandleKind kind) {
  constexpr std::array<const char*, static_cast<std::size_t>(HandleKind::kCount)> kNames = {
      "windows",    "fonts",       "bitmaps", "brushes", "memory DCs",
      "window DCs", "printer DCs", "menus",   "timers",  "global memory"};
  const auto index = static_cast<std::size_t>(kind);
  return index < kNames.size() ? kNames[index] : "?";
}
void CountAcquired(HandleKind kind) { Counter(kind).fetch_add(1, std::memory_order_relaxed); }
void CountReleased(HandleKind kind) {
  const int left = Counter(kind).fetch_sub(1, std::memory_order_relaxed) - 1;
  if (kind == HandleKind::Window && left == 0) LastWindowGone();
}

FontHandle NewFont(const LOGFONTA& description) { return FontHandle(CreateFontIndirectA(&description)); }
BrushHandle NewSolidBrush(COLORREF color) { return BrushHandle(CreateSolidBrush(color)); }
MemoryDC NewMemoryDC() { return MemoryDC(CreateCompatibleDC(nullptr)); }
MenuHandle NewMenuBar() { return MenuHandle(CreateMenu()); }
MenuHandle NewPopupMenu() { return MenuHandle(CreatePopupMenu()); }

BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

BitmapHandle NewDibSection(int width, int height, void** bits) {
  const BITMAPINFO info = TopDownDibInfo(width, height);
  return BitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

WindowDC::WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {
  if (dc_ != nullptr) CountAcquired(HandleKind::WindowDC);
}

WindowDC& WindowDC::operator=(WindowDC&& other) noexcept {
  if (this != &other) {
    Reset();
    window_ = std::exchange(other.window_, nullptr);
    dc_ = std::exchange(other.dc_, nullptr);
  }
  return *this;
}

void WindowDC::Reset() {
  if (dc_ == nullptr) return;
  ReleaseDC(window_, std::exchange(dc_, nullptr));
  window_ = nullptr;
  CountReleased(HandleKind::WindowDC);
}

SelectedObject& SelectedObject::operator=(SelectedObject&& other) noexcept {
  if (this != &other) {
    Reset();
    dc_ = std::exchange(other.dc_, nullptr);
    previous_ = std::exchange(other.previous_, nullptr);
  }
  return *this;
}

void SelectedObject::Reset() {
  if (dc_ != nullptr && previous_ != nullptr) SelectObject(dc_, previous_);
  dc_ = nullptr;
  previous_ = nullptr;
}

WindowTimer::WindowTimer(HWND window, UINT_PTR id, UINT milliseconds) {
  if (SetTimer(window, id, milliseconds, nullptr) != 0) {
    window_ = window;
    id_ = id;
    CountAcquired(HandleKind::Timer);
  }
}

WindowTimer& WindowTimer::operator=(WindowTimer&& other) noexcept {
  if (this != &other) {
    Reset();
    window_ = std::exchange(other.window_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void WindowTimer::Reset() {
  if (id_ == 0) return;
  KillTimer(window_, std::exchange(id_, 0));
  window_ = nullptr;
  CountReleased(HandleKind::Timer);
}

}  // namespace tolv::ui::win32
