#include "tools/hostsim/Dialogs.h"

#include <dlgs.h>

#include <cstring>
#include <vector>

namespace tolv::hostsim {
namespace {

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window)) {
    *reinterpret_cast<HWND*>(found) = window;
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM texts) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  char text[2048] = {};
  GetWindowTextA(window, text, sizeof text);
  if (_stricmp(name, "Static") == 0 && text[0] != '\0') {
    *reinterpret_cast<std::string*>(texts) += std::string(text) + "\n";
  }
  return TRUE;
}

std::wstring Wide(const std::string& text) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 1), L'\0');
  if (units > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), units);
  wide.resize(wide.size() - 1);
  return wide;
}

}  // namespace

HWND FindOpenDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool FillSaveDialog(HWND dialog, const std::string& path, int type, std::string& error) {
  // The file name is edit field edt1 in Wine's dialog, combo box cmb13 in Windows'.
  HWND name = GetDlgItem(dialog, edt1);
  if (name == nullptr) name = GetDlgItem(dialog, cmb13);
  HWND types = GetDlgItem(dialog, cmb1);
  if (name == nullptr || types == nullptr) {
    error = "the dialog has no file name or file type field: " + DialogTexts(dialog);
    return false;
  }
  if (SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(type - 1), 0) == CB_ERR) {
    error = "the dialog has no file type " + std::to_string(type);
    return false;
  }
  // As a choice with the mouse ends: Windows' dialog reads the type on CBN_SELCHANGE, Wine's on
  // CBN_SELENDOK.
  for (const WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, code), reinterpret_cast<LPARAM>(types));
  }
  SetWindowTextW(name, Wide(path).c_str());
  PressDefault(dialog);
  return true;
}

std::string DialogTexts(HWND dialog) {
  char caption[512] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  std::string texts = std::string(caption) + "\n";
  EnumChildWindows(dialog, &CollectStatic, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void PressDefault(HWND dialog) {
  const LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  const WORD id = HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void PressCancel(HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

}  // namespace tolv::hostsim
