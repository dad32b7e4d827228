#include "bitmap.h"

#include <algorithm>

namespace platform {

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int width, int height)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32), canvas_(image_) {
  image_.fill(Qt::white);
}

void TBitmap::SetWidth(int width) { Resize(width, Height()); }
void TBitmap::SetHeight(int height) { Resize(Width(), height); }

void TBitmap::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  canvas_.Release();
  QImage next(width, height, QImage::Format_RGB32);
  next.fill(Qt::white);
  if (!image_.isNull() && !next.isNull()) {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
}

const QImage& TBitmap::Image() const {
  canvas_.Release();
  return image_;
}

}  // namespace platform
