#include "tools/hostsim/ClipboardFiles.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "tools/hostsim/DibReader.h"
#include "tools/hostsim/PngEncoder.h"

namespace tolv::hostsim {
namespace {

// The bytes of one clipboard format, copied out while the clipboard is open.
bool ReadFormat(HWND owner, UINT format, std::vector<std::uint8_t>& bytes, std::string& error) {
  if (OpenClipboard(owner) == FALSE) {
    error = "the clipboard cannot be opened";
    return false;
  }
  bool read = false;
  HANDLE data = GetClipboardData(format);
  const void* source = data != nullptr ? GlobalLock(data) : nullptr;
  if (source == nullptr) {
    error = "the clipboard holds nothing in format " + std::to_string(format);
  } else {
    const auto* first = static_cast<const std::uint8_t*>(source);
    bytes.assign(first, first + GlobalSize(data));
    GlobalUnlock(data);
    read = true;
  }
  CloseClipboard();
  return read;
}

}  // namespace

bool ReadClipboardText(HWND owner, std::string& utf8, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFormat(owner, CF_UNICODETEXT, bytes, error)) return false;
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  wide.resize(wide.find(L'\0') == std::wstring::npos ? wide.size() : wide.find(L'\0'));
  utf8.clear();
  if (wide.empty()) return true;
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    error = "the clipboard's text is not valid UTF-16";
    return false;
  }
  utf8.resize(static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size, nullptr, nullptr);
  return true;
}

bool WriteClipboardPng(HWND owner, const std::string& path, int& width, int& height, std::string& error) {
  std::vector<std::uint8_t> dib;
  if (!ReadFormat(owner, CF_DIB, dib, error)) return false;
  RgbImage image;
  if (!ReadPackedDib(dib, image, error)) return false;
  const std::vector<std::uint8_t> png = EncodePng(image.Width, image.Height, image.Rgb);
  if (png.empty() || !WriteFileBytes(path, png)) {
    error = "cannot write " + path;
    return false;
  }
  width = image.Width;
  height = image.Height;
  return true;
}

}  // namespace tolv::hostsim
