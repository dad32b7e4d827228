// Renders the main window into a
// PNG: on the left as it first shows, on the right with every button
// pressed under the pointer and both links hot.
//
//   controls_preview [OUTPUT.png [SCALE]]
//
// OUTPUT defaults to controls_preview.png; SCALE (1 to 8) enlarges every
// pixel to a SCALE x SCALE block, to look at bevels and bands.
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "GradBox.h"
#include "Gradbtn.h"
#include "URLLabel.h"
#include "Unit1.h"
#include "Unit2.h"
#include "application.h"
#include "quiet_services.h"

namespace {

void hover(QWidget& w) {
  QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(w.mapToGlobal(QPoint(2, 2))));
  QApplication::sendEvent(&w, &e);
}

void press(QWidget& w) {
  const QPoint at(w.width() / 2, w.height() / 2);
  QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), QPointF(w.mapToGlobal(at)), Qt::LeftButton, Qt::LeftButton,
                Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const char* out_path = argc > 1 ? argv[1] : "controls_preview.png";
  const int scale = argc > 2 ? std::atoi(argv[2]) : 1;
  if (scale < 1 || scale > 8) {
    std::fprintf(stderr, "controls_preview: SCALE must be 1 to 8\n");
    return 2;
  }

  // The real main window, on an empty settings folder and with desktop
  // services that do nothing, so that nothing reaches a tray or a speaker.
  QuietTray tray;
  QuietSound sound;
  QuietMessages messages;
  platform::SetTray(&tray);
  platform::SetSound(&sound);
  platform::SetMessages(&messages);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tolvane-preview";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "ngword.txt").close();
  // An empty settings file keeps the window off the user's own settings.
  std::ofstream(dir / "tolvane.ini", std::ios::trunc).close();
  platform::Application().SetExeDir(dir.string() + "/");
  Form1 = new TForm1();
  Form_POPMES = new TForm_POPMES();
  QWidget& form = *Form1;
  form.show();

  const QImage normal = form.grab().toImage();
  for (TGradButton* b : {Form1->GradButton1, Form1->GradButton2, Form1->GradButton3}) {
    hover(*b);
    press(*b);
  }
  for (TURLLabel* l : {Form1->URLLabel1, Form1->URLLabel2}) hover(*l);
  const QImage active = form.grab().toImage();
  delete Form_POPMES;
  delete Form1;
  std::filesystem::remove_all(dir);

  constexpr int gap = 12;
  QImage sheet(340 * 2 + gap * 3, 236 + gap * 2, QImage::Format_RGB32);
  sheet.fill(QColor(96, 96, 96));
  {
    QPainter p(&sheet);
    p.drawImage(gap, gap, normal);
    p.drawImage(340 + gap * 2, gap, active);
  }
  if (scale > 1) sheet = sheet.scaled(sheet.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!sheet.save(QString::fromLocal8Bit(out_path), "PNG")) {
    std::fprintf(stderr, "controls_preview: cannot write %s\n", out_path);
    return 1;
  }
  std::printf("%s\n", out_path);
  return 0;
}
