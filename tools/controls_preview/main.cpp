// Renders the main window's gradient boxes, buttons and link labels into a
// PNG: on the left as they first show, on the right with every button
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
#include <QPalette>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "GradBox.h"
#include "Gradbtn.h"
#include "URLLabel.h"
#include "canvas.h"

namespace {

// Interface texts in Shift_JIS.
const char kBoxCaption[] =
    "10\x95\xaa\x96\x88\x82\xc9\x8f\x9f\x8e\xe8\x82\xc9\x83\x60\x83\x46\x83\x62\x83\x4e\x82\xb5\x82\xdc\x82\xb7"
    "(\x81\x4f-\x81\x4f)/";  // 10分毎に勝手にチェックします(＾-＾)/
const char kStowCaption[] = "\x83\x5e\x83\x58\x83\x4e\x83\x67\x83\x8c\x83\x43\x82\xc9\x8e\xfb\x94\x5b";  // タスクトレイに収納
const char kAgainCaption[] = "\x8d\xc4\x95\x5c\x8e\xa6";  // 再表示
const char kCheckCaption[] = "\x8d\xa1\x82\xb7\x82\xae\x83\x60\x83\x46\x83\x62\x83\x4e";  // 今すぐチェック

constexpr platform::TColor kWindowColor = 16113888;

struct MainWindowControls {
  std::vector<TGradButton*> buttons;
  std::vector<TURLLabel*> links;
};

void ui_font(platform::TFont& f) {
  f.SetName("MS UI Gothic");
  f.SetHeight(-12);
  f.SetCharset(platform::SHIFTJIS_CHARSET);
}

void arial(platform::TFont& f, int height, platform::TFontStyles style, platform::TColor color) {
  f.SetName("Arial");
  f.SetHeight(height);
  f.SetStyle(style);
  f.SetColor(color);
  f.SetCharset(platform::DEFAULT_CHARSET);
}

MainWindowControls build(QWidget& form) {
  MainWindowControls out;

  auto* box2 = new TGradBox(&form);
  box2->SetBounds(0, 0, 340, 203);
  box2->SetTopColor(13676720);
  box2->SetLastColor(16113888);
  box2->SetCaptionLeft(14);
  ui_font(box2->Font());
  box2->SetCaption(kBoxCaption);

  auto* box1 = new TGradBox(&form);
  box1->SetBounds(176, 195, 159, 35);
  box1->SetTopColor(0xFFFFFF);
  box1->SetLastColor(9474218);
  box1->SetOutLineColor(6316176);
  box1->SetDrawOutLine(true);
  box1->SetCaption("");

  const struct {
    int left, top, width, height;
    const char* caption;
    platform::TFontStyles style;
    platform::TColor color, hot;
  } links[] = {
      {182, 206, 148, 15, "http://tolvane.example/", platform::fsBold | platform::fsUnderline, 6316176, 1077503},
      {144, 169, 149, 15, "support@tolvane.example", platform::fsBold, 6307904, 16744448},
  };
  for (const auto& l : links) {
    auto* label = new TURLLabel(&form);
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetExecutable(true);
    arial(label->Font(), -12, l.style, l.color);
    label->SetHotColor(l.hot);
    label->SetCaption(l.caption);
    label->SetBounds(l.left, l.top, l.width, l.height);
    out.links.push_back(label);
  }

  auto* notice = new platform::TLabel(&form);
  notice->SetAutoSize(false);
  notice->SetTransparent(true);
  arial(notice->Font(), -12, platform::fsBold, 0x000000);
  notice->SetCaption("(C) Tolvane");
  notice->SetBounds(32, 169, 104, 15);

  const struct {
    int left, top, width, height;
    const char* caption;
  } buttons[] = {
      {221, 4, 113, 25, kStowCaption},
      {6, 203, 76, 24, kAgainCaption},
      {94, 203, 76, 24, kCheckCaption},
  };
  for (const auto& b : buttons) {
    auto* button = new TGradButton(&form);
    button->SetBounds(b.left, b.top, b.width, b.height);
    button->SetCaption(b.caption);
    ui_font(button->Font());
    button->Font().SetColor(2097152);
    button->SetGradColor(15786208);
    button->SetFaceColor(9465968);
    button->SetBottomColor(8413280);
    button->SetMouseOverColor(16719872);
    button->SetLayout(platform::blGlyphRight);
    out.buttons.push_back(button);
  }

  auto* version = new platform::TLabel(&form);
  version->SetAutoSize(false);
  version->SetTransparent(true);
  arial(version->Font(), -15, platform::fsBold, 15753312);
  version->SetCaption("Tolvane Ver1.09");
  version->SetBounds(147, 151, 147, 18);
  return out;
}

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

  QWidget form;
  QPalette pal = form.palette();
  pal.setColor(QPalette::Window, platform::ToQColor(kWindowColor));
  form.setPalette(pal);
  form.setAutoFillBackground(true);
  form.resize(340, 236);
  const MainWindowControls controls = build(form);
  form.show();

  const QImage normal = form.grab().toImage();
  for (TGradButton* b : controls.buttons) {
    hover(*b);
    press(*b);
  }
  for (TURLLabel* l : controls.links) hover(*l);
  const QImage active = form.grab().toImage();

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
