// The message loop of a modal form: it runs until the form has a modal result, with the window
// the form was shown over disabled meanwhile.
#pragma once

#include "ui/Form.h"

namespace tolv::ui::win32 {

// False when the loop ended without the user: WM_QUIT (passed on to the outer loop) or the
// window destroyed by the system.
bool RunModal(Form& form);

}  // namespace tolv::ui::win32
