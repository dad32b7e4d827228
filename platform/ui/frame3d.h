// The desktop's 3D frame: `width` rings inside r, each with its left column
// and top row in `top` and its right column and bottom row (both outer
// corners included) in `bottom`.
#pragma once

#include "canvas.h"

namespace platform {

void Frame3D(TCanvas& canvas, TRect r, TColor top, TColor bottom, int width);

}  // namespace platform
