#include "platform/FileWriting.h"

#include <algorithm>
#include <string>

#include "platform/win32/Win32Api.h"

namespace tolv::platform {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), units);
  return wide;
}

// The system's words for error, in UTF-8, without the line end it comes with.
std::string Reason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::string utf8;
  if (length > 0 && text != nullptr) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
      utf8.resize(static_cast<std::size_t>(bytes));
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), bytes, nullptr, nullptr);
    }
  }
  if (text != nullptr) LocalFree(text);
  while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == ' ')) utf8.pop_back();
  if (utf8.empty()) utf8 = "error " + std::to_string(error);
  return utf8;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  bool Close() {
    const bool closed = handle_ == INVALID_HANDLE_VALUE || CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }
  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A new file beside target, never one that exists already; INVALID_HANDLE_VALUE, with error
// set, when none can be made.
HANDLE CreateTemporary(const std::wstring& target, std::wstring& name, DWORD& error) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    name = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount() + attempt) +
           L".tmp";
    const HANDLE file =
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

std::string WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) noexcept {
  try {
    const std::wstring target = Wide(path);
    std::wstring temporary;
    DWORD error = 0;
    FileHandle file(CreateTemporary(target, temporary, error));
    if (!file) return Reason(error);
    std::size_t written = 0;
    while (written < bytes.size() && error == 0) {
      constexpr std::size_t kChunk = 1 << 20;
      const auto step = static_cast<DWORD>(std::min(kChunk, bytes.size() - written));
      DWORD done = 0;
      if (WriteFile(file.Get(), bytes.data() + written, step, &done, nullptr) == FALSE || done == 0) {
        error = GetLastError();
        if (error == 0) error = ERROR_WRITE_FAULT;
      }
      written += done;
    }
    if (!file.Close() && error == 0) error = GetLastError();
    if (error == 0 && MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) == FALSE) {
      error = GetLastError();
    }
    if (error != 0) {
      DeleteFileW(temporary.c_str());
      return Reason(error);
    }
    return {};
  } catch (...) {
    return "not enough memory";
  }
}

}  // namespace tolv::platform
