#include "icons.h"

#include <QImage>
#include <QPainter>

namespace tray_icons {
namespace {

// Drawn on a 16 x 16 grid with the classic 16-colour palette's colours, no
// antialiasing, then scaled by whole pixels for larger sizes.
struct Look {
  QColor paper;  // envelope body
  QColor line;   // outline and flap
  QColor badge;  // the state mark in the lower right corner
  bool has_badge;
  bool arrows;  // circular arrows instead of a dot: checking
};

QImage Envelope(int scale, const Look& look) {
  QImage img(16 * scale, 16 * scale, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.scale(scale, scale);
  p.setPen(Qt::NoPen);
  p.setBrush(look.paper);
  p.drawRect(1, 4, 14, 9);
  p.setPen(look.line);
  p.setBrush(Qt::NoBrush);
  p.drawRect(1, 4, 13, 9);
  p.drawLine(1, 4, 7, 9);
  p.drawLine(8, 9, 14, 4);
  if (look.has_badge) {
    p.setPen(Qt::black);
    p.setBrush(look.badge);
    if (look.arrows) {
      p.drawEllipse(9, 9, 6, 6);
      p.setPen(Qt::white);
      p.drawLine(12, 10, 12, 12);
      p.drawLine(12, 12, 13, 13);
    } else {
      p.drawEllipse(10, 0, 5, 5);
    }
  }
  return img;
}

QIcon MakeIcon(const Look& look) {
  QIcon icon;
  for (int scale : {1, 2, 3}) icon.addPixmap(QPixmap::fromImage(Envelope(scale, look)));
  return icon;
}

}  // namespace

QIcon Checking() { return MakeIcon({QColor(192, 192, 192), QColor(0, 0, 128), QColor(0, 0, 255), true, true}); }

QIcon NoMail() { return MakeIcon({QColor(255, 255, 255), QColor(128, 128, 128), QColor(), false, false}); }

QIcon MailWaiting() { return MakeIcon({QColor(255, 255, 0), QColor(128, 0, 0), QColor(255, 0, 0), true, false}); }

QPixmap Logo() {
  return QPixmap::fromImage(Envelope(2, {QColor(255, 255, 255), QColor(0, 0, 128), QColor(255, 0, 0), true, false}));
}

}  // namespace tray_icons
