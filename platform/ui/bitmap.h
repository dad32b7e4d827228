// An off-screen bitmap in the screen's 32-bit format with its own canvas.
#pragma once

#include <QImage>

#include "canvas.h"

namespace platform {

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // Resizing keeps the pixels that stay inside; new ones are white.
  void SetWidth(int width);
  void SetHeight(int height);

  TCanvas& Canvas() { return canvas_; }
  // The pixels, with any drawing in progress finished.
  const QImage& Image() const;

 private:
  void Resize(int width, int height);

  QImage image_;
  mutable TCanvas canvas_;
};

}  // namespace platform
