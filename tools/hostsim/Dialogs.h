// The system's dialog boxes the plug-in opens (save dialog, print dialog, message box), as the
// host's script acts on them from inside their modal loops.
#pragma once

#include <windows.h>

#include <string>

namespace tolv::hostsim {

// The dialog box (window class #32770) of the calling thread that the user could act on now: the
// last visible and enabled one. Null when none.
HWND FindOpenDialog();

// Names path (absolute; UTF-8) and the type-th file type (from 1) in a save dialog and presses
// its Save button. False, with error set, when the dialog lacks the file name or type field.
bool FillSaveDialog(HWND dialog, const std::string& path, int type, std::string& error);

// The dialog's caption, then the texts of its static controls, one a line.
std::string DialogTexts(HWND dialog);

// Presses the dialog's default button (OK, Save, Print, Yes), IDOK when it names none.
void PressDefault(HWND dialog);
void PressCancel(HWND dialog);

}  // namespace tolv::hostsim
