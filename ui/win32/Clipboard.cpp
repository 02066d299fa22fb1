// The system clipboard: the content is copied into movable global memory, owned here until
// SetClipboardData hands it to the system, which frees it when the clipboard is next emptied.
#include <cstring>
#include <new>
#include <optional>
#include <span>

#include "ui/Clipboard.h"
#include "ui/Form.h"
#include "ui/win32/BackendWin32.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::ui::win32 {
namespace {

// Open from construction to destruction; another program may hold it for a moment.
class OpenClipboardGuard {
 public:
  explicit OpenClipboardGuard(HWND owner) {
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMs = 20;
    for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
      if (attempt > 0) Sleep(kPauseMs);
      open_ = OpenClipboard(owner) != FALSE;
    }
  }
  OpenClipboardGuard(const OpenClipboardGuard&) = delete;
  OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
  ~OpenClipboardGuard() {
    if (open_) CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

// Global memory holding bytes; empty when it cannot be had.
GlobalMemory GlobalCopy(std::span<const std::uint8_t> bytes) {
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!memory) return memory;
  void* target = GlobalLock(memory.Get());
  if (target == nullptr) return GlobalMemory();
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory.Get());
  return memory;
}

// The text as CF_UNICODETEXT wants it: UTF-16 with a terminating 0; characters beyond the
// basic plane (the mosaic sextants) as surrogate pairs.
std::optional<std::vector<std::uint8_t>> UnicodeText(const std::string& utf8) {
  const int length = static_cast<int>(utf8.size());
  const int units = length == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  if (length != 0 && units <= 0) return std::nullopt;
  std::vector<std::uint8_t> bytes((static_cast<std::size_t>(units) + 1) * sizeof(WCHAR), 0);
  if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, reinterpret_cast<WCHAR*>(bytes.data()), units);
  return bytes;
}

bool PutFormat(UINT format, GlobalMemory memory) {
  if (SetClipboardData(format, memory.Get()) == nullptr) return false;
  memory.Abandon();  // the system's now
  return true;
}

}  // namespace

bool BackendWin32::PutOnClipboard(Form* owner, const ClipboardContent& content) {
  try {
    // Everything is made before the clipboard is opened, so it stays open only briefly.
    GlobalMemory text;
    if (!content.Text.empty()) {
      const std::optional<std::vector<std::uint8_t>> unicode = UnicodeText(content.Text);
      if (!unicode) return false;
      text = GlobalCopy(*unicode);
      if (!text) return false;
    }
    GlobalMemory dib;
    if (!content.Dib.empty()) {
      dib = GlobalCopy(content.Dib);
      if (!dib) return false;
    }

    const OpenClipboardGuard clipboard(owner != nullptr ? WindowOf(*owner) : nullptr);
    if (!clipboard || EmptyClipboard() == FALSE) return false;
    bool put = true;
    if (text) put = PutFormat(CF_UNICODETEXT, std::move(text)) && put;
    if (dib) put = PutFormat(CF_DIB, std::move(dib)) && put;
    return put;
  } catch (const std::bad_alloc&) {
    return false;  // nothing was put; the clipboard keeps what it held
  }
}

}  // namespace tolv::ui::win32
