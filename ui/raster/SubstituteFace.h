// The face the raster canvas draws with when the face asked for is not installed: every
// printable character is an open box, so layout and colours stay visible without the font file.
#pragma once

#include "faces/BitmapFace.h"

namespace tolv::ui {

const BitmapFace& SubstituteFace();

}  // namespace tolv::ui
