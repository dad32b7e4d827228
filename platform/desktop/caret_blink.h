// A text caret that stops blinking after a while without input, as the
// GNOME desktop does: an idle program then wakes up for nothing. Any key or
// mouse input makes it blink again.
#pragma once

#include <QObject>
#include <QTimer>

namespace platform {

class CaretBlinkLimit : public QObject {
 public:
  // Installs itself as an application-wide event filter.
  explicit CaretBlinkLimit(int idle_ms = 10000, QObject* parent = nullptr);
  ~CaretBlinkLimit() override;

  bool Blinking() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Resume();

  int flash_ms_;
  QTimer idle_;
};

}  // namespace platform
