// A stand-in for tolv.dll that does what the plug-in does towards its host (the eight exports,
// the viewer window with a paint box, the three WM_USER commands, the stop from the data
// callback) and writes down every call it gets, for the host simulator's tests. Test_Journal
// hands the journal out; Test_Configure sets when the data callback stops the filter itself.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

// The variant built with TOLV_TEST_CALLEE_POPS returns its name the wrong way for the host: it
// pops the hidden result pointer itself (ret 4), which the host must notice.
#ifdef TOLV_TEST_CALLEE_POPS
#define ID_NAME_CONVENTION __attribute__((callee_pop_aggregate_return(1)))
#else
#define ID_NAME_CONVENTION
#endif

namespace {

constexpr std::uint32_t kGetChannel = 0x01020010;
constexpr std::uint32_t kStartFilter = 0x01020020;
constexpr std::uint32_t kStopFilter = 0x01020021;
constexpr UINT kCallsMessage = WM_APP + 7;
constexpr char kViewerClass[] = "TestPluginViewer";
constexpr char kPaintBoxClass[] = "TolvPaintBox";
// The paint box: 64 x 32 pixels, top left red, top right green, bottom half blue.
constexpr int kBoxWidth = 64, kBoxHeight = 32;

struct IdName {
  char Name[9];
};
static_assert(sizeof(IdName) == 9);
struct ChannelInfo {
  std::uint8_t Bytes[1356];
};

std::mutex journalMutex;
std::string journal;
HWND hostWindow = nullptr;
std::uint32_t hostTag = 0;
std::atomic<HWND> viewer{nullptr};
std::atomic<bool> filterRunning{false};
std::atomic<int> dataCalls{0};
std::atomic<int> stopAfterCalls{0};
std::atomic<int> sleepBeforeStopMs{0};
DWORD windowThread = 0;
alignas(4) std::uint8_t filterRequest[48];

void Note(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
void Note(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  const std::lock_guard<std::mutex> lock(journalMutex);
  journal += line;
  journal += '\n';
}

const char* ThreadName() { return GetCurrentThreadId() == windowThread ? "window" : "other"; }

// The same reckoning as the host's clock, so that times can be compared.
long long NowMicroseconds() {
  LARGE_INTEGER f, now;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&now);
  return now.QuadPart / f.QuadPart * 1'000'000 + now.QuadPart % f.QuadPart * 1'000'000 / f.QuadPart;
}

std::uint32_t Crc32(const std::uint8_t* data, std::int32_t length) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::int32_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
  }
  return ~crc;
}

LRESULT Command(std::uint32_t code, LPARAM argument) { return SendMessageA(hostWindow, WM_USER, code, argument); }

extern "C" void __cdecl On_Filter_Receive(std::uint32_t first, std::int32_t length, const std::uint8_t* data);

void StartFilter(std::uint16_t pid) {
  if (filterRunning || viewer.load() == nullptr || pid == 0) return;
  std::memset(filterRequest, 0, sizeof filterRequest);
  filterRequest[0] = static_cast<std::uint8_t>(hostTag);
  filterRequest[1] = static_cast<std::uint8_t>(hostTag >> 8);
  filterRequest[4] = static_cast<std::uint8_t>(pid);
  filterRequest[5] = static_cast<std::uint8_t>(pid >> 8);
  std::memcpy(filterRequest + 6, "TOLVANE Filter", 14);
  const auto callback = reinterpret_cast<std::uintptr_t>(&On_Filter_Receive);
  std::memcpy(filterRequest + 40, &callback, 4);
  const LRESULT result = Command(kStartFilter, reinterpret_cast<LPARAM>(filterRequest));
  std::uint32_t id = 0;
  std::memcpy(&id, filterRequest + 44, 4);
  Note("start pid=0x%04X result=%ld id=%u", pid, static_cast<long>(result), id);
  filterRunning = result != 0;
}

void StopFilter() {
  std::uint32_t id = 0;
  std::memcpy(&id, filterRequest + 44, 4);
  const LRESULT result = Command(kStopFilter, static_cast<LPARAM>(id));
  Note("stop id=%u result=%ld thread=%s", id, static_cast<long>(result), ThreadName());
  filterRunning = false;
}

void PaintBox(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const struct {
    RECT area;
    COLORREF colour;
  } parts[] = {{{0, 0, kBoxWidth / 2, kBoxHeight / 2}, RGB(255, 0, 0)},
               {{kBoxWidth / 2, 0, kBoxWidth, kBoxHeight / 2}, RGB(0, 255, 0)},
               {{0, kBoxHeight / 2, kBoxWidth, kBoxHeight}, RGB(0, 0, 255)}};
  for (const auto& part : parts) {
    HBRUSH brush = CreateSolidBrush(part.colour);
    FillRect(dc, &part.area, brush);
    DeleteObject(brush);
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK PaintBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintBox(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      Note("keydown vk=0x%02X shift=%d ctrl=%d", static_cast<unsigned>(wParam), GetKeyState(VK_SHIFT) < 0 ? 1 : 0,
           GetKeyState(VK_CONTROL) < 0 ? 1 : 0);
      return 0;
    case WM_CHAR: Note("char 0x%02X", static_cast<unsigned>(wParam)); return 0;
    case kCallsMessage: {
      char caption[32];
      std::snprintf(caption, sizeof caption, "Aufrufe: %d", static_cast<int>(wParam));
      SetWindowTextA(GetDlgItem(window, 1), caption);
      return 0;
    }
    case WM_CLOSE:
      Note("close");
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: viewer = nullptr; return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ViewerProc), &module);
  return module;
}

void OpenViewer() {
  HINSTANCE instance = ModuleInstance();
  WNDCLASSA viewerClass = {};
  viewerClass.lpfnWndProc = &ViewerProc;
  viewerClass.hInstance = instance;
  viewerClass.lpszClassName = kViewerClass;
  viewerClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&viewerClass);
  WNDCLASSA boxClass = {};
  boxClass.lpfnWndProc = &PaintBoxProc;
  boxClass.hInstance = instance;
  boxClass.lpszClassName = kPaintBoxClass;
  RegisterClassA(&boxClass);
  HWND window = CreateWindowExA(0, kViewerClass, "Tol-Vane DVB", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200, nullptr,
                                nullptr, instance, nullptr);
  CreateWindowExA(0, "STATIC", "Aufrufe: 0", WS_CHILD | WS_VISIBLE, 0, 0, 120, 20, window, reinterpret_cast<HMENU>(1),
                  instance, nullptr);
  CreateWindowExA(0, "BUTTON", "Knopf", WS_CHILD | WS_VISIBLE | WS_DISABLED, 130, 0, 60, 20, window,
                  reinterpret_cast<HMENU>(2), instance, nullptr);
  CreateWindowExA(0, "STATIC", "Versteckt", WS_CHILD, 200, 0, 60, 20, window, reinterpret_cast<HMENU>(3), instance,
                  nullptr);
  CreateWindowExA(0, kPaintBoxClass, "", WS_CHILD | WS_VISIBLE, 0, 30, kBoxWidth, kBoxHeight, window,
                  reinterpret_cast<HMENU>(4), instance, nullptr);
  viewer = window;
}

}  // namespace

extern "C" {

__declspec(dllexport) ID_NAME_CONVENTION IdName __cdecl On_Send_Dll_ID_Name() {
  Note("On_Send_Dll_ID_Name");
  return IdName{{'T', 'o', 'l', '-', 'V', 'a', 'n', 'e', '\0'}};
}

__declspec(dllexport) void __cdecl On_Start(std::uint32_t first, HWND window, std::uint32_t third, std::uint32_t tag) {
  windowThread = GetCurrentThreadId();
  hostWindow = window;
  hostTag = tag;
  Note("On_Start first=%u window=%s third=%u tag=0x%08X", first, IsWindow(window) ? "valid" : "invalid", third, tag);
}

__declspec(dllexport) void __cdecl On_Menu_Select(std::uint32_t code) {
  Note("On_Menu_Select %u thread=%s", code, ThreadName());
  if (code != 60000) return;
  if (viewer.load() == nullptr) OpenViewer();
  ShowWindow(viewer, SW_SHOWNORMAL);
  if (filterRunning) return;
  ChannelInfo channel = {};
  Command(kGetChannel, reinterpret_cast<LPARAM>(&channel));
  const auto pid = static_cast<std::uint16_t>(channel.Bytes[114] | channel.Bytes[115] << 8);
  Note("channel pid=0x%04X", pid);
  StartFilter(pid);
}

__declspec(dllexport) void __cdecl On_Channel_Change(ChannelInfo channel) {
  const auto pid = static_cast<std::uint16_t>(channel.Bytes[114] | channel.Bytes[115] << 8);
  Note("On_Channel_Change pid=0x%04X thread=%s crc=%08X", pid, ThreadName(),
       Crc32(channel.Bytes, sizeof channel.Bytes));
  if (viewer.load() == nullptr || filterRunning) return;
  StartFilter(pid);
}

__declspec(dllexport) void __cdecl On_Filter_Receive(std::uint32_t first, std::int32_t length,
                                                     const std::uint8_t* data) {
  if (viewer.load() == nullptr) {
    Note("data after close");
    StopFilter();
    return;
  }
  const int call = ++dataCalls;
  Note("data first=%u length=%d crc=%08X at=%lld thread=%s", first, static_cast<int>(length), Crc32(data, length),
       NowMicroseconds(), ThreadName());
  PostMessageA(viewer, kCallsMessage, static_cast<WPARAM>(call), 0);
  if (call == stopAfterCalls) {
    if (sleepBeforeStopMs > 0) Sleep(static_cast<DWORD>(sleepBeforeStopMs.load()));
    StopFilter();
  }
}

__declspec(dllexport) void __cdecl On_Filter_Close() {
  Note("On_Filter_Close thread=%s", ThreadName());
  filterRunning = false;
}

__declspec(dllexport) std::uint32_t __cdecl On_Key_Down() {
  Note("On_Key_Down");
  return 0;
}

__declspec(dllexport) void __cdecl On_Exit() {
  Note("On_Exit viewer=%s", viewer.load() != nullptr ? "open" : "closed");
  if (viewer.load() != nullptr) DestroyWindow(viewer);
  UnregisterClassA(kViewerClass, ModuleInstance());
  UnregisterClassA(kPaintBoxClass, ModuleInstance());
}

// The journal so far, NUL-terminated in buffer; returns the size it needs.
__declspec(dllexport) int __cdecl Test_Journal(char* buffer, int size) {
  const std::lock_guard<std::mutex> lock(journalMutex);
  if (buffer != nullptr && size > 0) {
    const std::size_t n = std::min(journal.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, journal.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(journal.size() + 1);
}

// The data callback stops the filter itself at call stopAfter (0: never), sleeping first.
__declspec(dllexport) void __cdecl Test_Configure(int stopAfter, int sleepMs) {
  stopAfterCalls = stopAfter;
  sleepBeforeStopMs = sleepMs;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
