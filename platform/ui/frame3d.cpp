#include "frame3d.h"

#include <algorithm>
#include <array>

namespace platform {

void Frame3D(TCanvas& canvas, TRect r, TColor top, TColor bottom, int width) {
  // Rings past the larger side lie wholly outside r and can't show.
  const int rings = std::min(width, std::max(r.Width(), r.Height()) + 1);
  --r.Right;
  --r.Bottom;
  for (int i = 0; i < rings; ++i) {
    canvas.SetPenColor(top);
    const std::array<TPoint, 3> upper{{{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}}};
    canvas.Polyline(upper);
    canvas.SetPenColor(bottom);
    const std::array<TPoint, 3> lower{{{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}}};
    canvas.Polyline(lower);
    ++r.Left;
    ++r.Top;
    --r.Right;
    --r.Bottom;
  }
}

}  // namespace platform
