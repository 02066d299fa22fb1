#include "tools/hostsim/PluginTraces.h"

#include <array>

#include "ui/win32/Module.h"
#include "viewer/Formtolvane.h"

namespace tolv::hostsim {
namespace {

constexpr std::array kMutexNames = {kPageDataMutexName, kRedrawMutexName};
constexpr std::array kClassNames = {ui::win32::kFormClass, ui::win32::kControlClass, ui::win32::kPaintBoxClass,
                                    ui::win32::kMessageClass};
// The faces of tolv.fon.
constexpr std::array kFaceNames = {"VTTEXT640x480", "VTGRAFIK640x480", "VTGERASTERT640x480", "VTAKZENT640x480",
                                   "VTZUSATZ640x480"};

int CALLBACK CountFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool FaceEnumerates(HDC screen, const char* name) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, name, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExA(screen, &wanted, &CountFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::string PluginTraces::Text() const {
  return "mutexes " + std::to_string(OpenMutexes) + " of " + std::to_string(kMutexNames.size()) +
         " open, window classes " + std::to_string(RegisteredClasses) + " of " + std::to_string(kClassNames.size()) +
         " registered, font faces " + std::to_string(EnumeratedFaces) + " of " + std::to_string(kFaceNames.size()) +
         " enumerating";
}

PluginTraces TracesOfPlugin(HMODULE module) {
  PluginTraces traces;
  for (const char* name : kMutexNames) {
    if (HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name)) {
      ++traces.OpenMutexes;
      CloseHandle(mutex);
    }
  }
  for (const char* name : kClassNames) {
    WNDCLASSEXA found{};
    found.cbSize = sizeof found;
    if (GetClassInfoExA(module, name, &found)) ++traces.RegisteredClasses;
  }
  HDC screen = GetDC(nullptr);
  for (const char* name : kFaceNames) {
    if (FaceEnumerates(screen, name)) ++traces.EnumeratedFaces;
  }
  ReleaseDC(nullptr, screen);
  return traces;
}

}  // namespace tolv::hostsim
