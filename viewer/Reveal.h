// Whether concealed text is shown. One switch for the whole module, not a property of a window:
// it survives closing and reopening the viewer window. Drawing takes it as an argument.
#pragma once

namespace tolv {

bool GetReveal();
void SetReveal(bool value);

}  // namespace tolv
