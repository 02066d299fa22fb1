// What a copy command of the plug-in left on the clipboard, read as another program would and
// written to files for the end-to-end tests.
#pragma once

#include <windows.h>

#include <string>

namespace tolv::hostsim {

// The clipboard's CF_UNICODETEXT as UTF-8, up to its terminating 0; false, with error set, when
// the clipboard holds no text.
bool ReadClipboardText(HWND owner, std::string& utf8, std::string& error);
// The clipboard's CF_DIB as a PNG file at path; false, with error set, when it holds no bitmap,
// one the reader does not take, or the file cannot be written.
bool WriteClipboardPng(HWND owner, const std::string& path, int& width, int& height, std::string& error);

}  // namespace tolv::hostsim
