// What a plug-in leaves in the host's process, seen from outside it: its named mutexes still
// openable, its window classes still registered, its font faces still enumerating. A DLL that
// leaves none of them may be unloaded.
#pragma once

#include <windows.h>

#include <string>

namespace tolv::hostsim {

struct PluginTraces {
  int OpenMutexes = 0;
  int RegisteredClasses = 0;
  int EnumeratedFaces = 0;

  bool None() const { return OpenMutexes == 0 && RegisteredClasses == 0 && EnumeratedFaces == 0; }
  // "mutexes 0 of 2 open, window classes 0 of 4 registered, font faces 0 of 5 enumerating"
  std::string Text() const;
};

// module: the plug-in's instance, with which it registers its classes (loaded or not).
PluginTraces TracesOfPlugin(HMODULE module);

}  // namespace tolv::hostsim
