#include "ui/win32/Module.h"

#include "ui/TextEncoding.h"
#include "ui/win32/FontCache.h"

// The image of the module this code is linked into: the DLL's, not the host program's. The
// linker defines the symbol under this reserved name.
extern "C" IMAGE_DOS_HEADER __ImageBase;  // NOLINT(bugprone-reserved-identifier)

namespace tolv::ui::win32 {
namespace {

// Window-thread state, like the framework's.
bool registered = false;

FontCache& ControlFonts() {
  static FontCache fonts;
  return fonts;
}

struct ClassSpec {
  const char* Name;
  WNDPROC Procedure;
  UINT Style;
};

constexpr ClassSpec kClasses[] = {
    {kFormClass, PeerWindowProc, CS_DBLCLKS},
    {kControlClass, PeerWindowProc, CS_DBLCLKS},
    // Redrawn whole when resized, and a DC of its own (see Module.h).
    {kPaintBoxClass, PeerWindowProc, CS_OWNDC | CS_HREDRAW | CS_VREDRAW},
    {kMessageClass, MessageWindowProc, 0},
};

bool RegisterClasses() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  for (const ClassSpec& libraryClass : kClasses) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = libraryClass.Style;
    windowClass.lpfnWndProc = libraryClass.Procedure;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = libraryClass.Name;
    // No class brush: the peers paint their whole background.
    // A class may outlive its windows for a moment when the system destroyed them (see
    // LastWindowGone): it is there, and serves.
    if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      for (const ClassSpec& done : kClasses) {
        if (&done == &libraryClass) break;
        UnregisterClassA(done.Name, ModuleInstance());
      }
      return false;
    }
  }
  registered = true;
  return true;
}

}  // namespace

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

bool ClassesRegistered() { return registered; }

WindowHandle CreateLibraryWindow(const WindowSpec& request, void* peer) {
  if (!registered && !RegisterClasses()) return WindowHandle();
  const std::string text = Utf8ToWindows1252(request.Text);
  const bool child = (request.Style & WS_CHILD) != 0;
  HWND window = CreateWindowExA(request.ExStyle, request.ClassName, text.c_str(), request.Style, request.Bounds.left,
                                request.Bounds.top, request.Bounds.right - request.Bounds.left,
                                request.Bounds.bottom - request.Bounds.top, request.Parent,
                                child ? reinterpret_cast<HMENU>(request.Id) : nullptr, ModuleInstance(), peer);
  WindowHandle handle(window);
  // A first window that failed leaves nothing registered behind.
  if (!handle && LiveHandles(HandleKind::Window) == 0) LastWindowGone();
  return handle;
}

void LastWindowGone() {
  ControlFonts().Clear();
  if (!registered) return;
  registered = false;
  for (const ClassSpec& libraryClass : kClasses) UnregisterClassA(libraryClass.Name, ModuleInstance());
}

HFONT ControlFont(const TFont& font) {
  // Points to pixels at the screen's resolution, as the character height (negative).
  const WindowDC screen(nullptr);
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return ControlFonts().Get(font.Name, -MulDiv(font.Size, dpi, 72), font.Bold, font.Underline);
}

COLORREF ColorRef(TColor color) {
  return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & ~kSystemColorFlag)) : color;
}

}  // namespace tolv::ui::win32
