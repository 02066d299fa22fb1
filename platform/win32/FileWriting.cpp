#include "platform/FileWriting.h"

#include <algorithm>
#include <string>

#include "platform/win32/WideText.h"

namespace tolv::platform {
namespace {

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
    const std::wstring target = WideFromUtf8(path);
    std::wstring temporary;
    DWORD error = 0;
    FileHandle file(CreateTemporary(target, temporary, error));
    if (!file) return SystemErrorText(error);
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
      return SystemErrorText(error);
    }
    return {};
  } catch (...) {
    return "not enough memory";
  }
}

}  // namespace tolv::platform
