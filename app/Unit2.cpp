#include "Unit2.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "texts.h"

TForm_POPMES* Form_POPMES = nullptr;

namespace {
constexpr platform::TColor kFixedColor = 14662655;
}

TForm_POPMES::TForm_POPMES(QWidget* parent)
    : platform::TForm(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                                  Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Timer1(std::make_unique<platform::TTimer>()) {
  // Popping up must never take the focus from the window the user types in.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, platform::ToQColor(platform::clBtnFace));
  setPalette(pal);
  SetCaption(texts::kTitle);
  resize(256, 60);

  Timer1->SetEnabled(false);
  Timer1->SetInterval(0);
  Timer1->OnTimer = [this](platform::TTimer* t) { Timer1Timer(t); };

  StringGrid1 = new platform::TStringGrid(this);
  StringGrid1->SetColCount(4);
  StringGrid1->SetRowCount(1);
  StringGrid1->SetFixedRows(0);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetFixedColor(kFixedColor);
  StringGrid1->SetColor(platform::clWindow);
  StringGrid1->SetDefaultRowHeight(kRowPitch - 1);
  StringGrid1->SetDefaultColWidth(160);
  StringGrid1->SetOptions(platform::goFixedVertLine | platform::goFixedHorzLine | platform::goVertLine |
                          platform::goHorzLine);
  StringGrid1->SetFlat(true);
  StringGrid1->SetScrollBars(false);
  // The user can neither select, scroll nor edit in the list.
  StringGrid1->SetReadOnlyList(true);
  StringGrid1->Font().SetName(texts::kFormFont);
  StringGrid1->Font().SetHeight(-12);
  StringGrid1->SetBounds(0, 0, width(), height());

  FormCreate();
}

TForm_POPMES::~TForm_POPMES() = default;

void TForm_POPMES::FormCreate() {
  StringGrid1->SetColWidths(0, 18);
  // Column 3 always lies beyond the visible width: no highlighted cell shows.
  StringGrid1->SetCol(3);
  const int client_width = StringGrid1->ColWidths(0) + StringGrid1->ColWidths(1) + StringGrid1->ColWidths(2) + 2;
  resize(client_width, height());
  // A hidden window gets its resize event only when first shown.
  if (!isVisible()) FormResize();
  // The window starts hidden; ShowNotification brings it up.
}

void TForm_POPMES::resizeEvent(QResizeEvent* event) {
  platform::TForm::resizeEvent(event);
  FormResize();
}

void TForm_POPMES::FormResize() {
  StringGrid1->SetBounds(0, 0, width(), height());
  const int outer_width = frameGeometry().width();
  StringGrid1->SetColWidths(1, outer_width / 2);
  StringGrid1->SetColWidths(2, width() - StringGrid1->ColWidths(0) - StringGrid1->ColWidths(1));
  // A resized window stays up for 4 seconds from the last resize.
  Timer1->SetEnabled(false);
  Timer1->SetEnabled(true);
}

int TForm_POPMES::ListHeight() const {
  const qint64 wanted = static_cast<qint64>(std::max(MailCount, 0)) * kRowPitch;
  const QScreen* screen = QGuiApplication::screenAt(QPoint(kCornerX, kCornerY));
  if (!screen) screen = QGuiApplication::primaryScreen();
  // Far below X11's limit of 32767 pixels a window, should no screen be
  // known.
  if (!screen) return static_cast<int>(std::min<qint64>(wanted, 4096 / kRowPitch * kRowPitch));
  // The frame is known once the window has been shown under a window
  // manager; before that its margins, when the platform has them.
  int frame = frameGeometry().height() - height();
  if (frame <= 0 && windowHandle())
    frame = windowHandle()->frameMargins().top() + windowHandle()->frameMargins().bottom();
  const int room = screen->availableGeometry().bottom() + 1 - kCornerY - std::max(frame, 0);
  // Whole rows only; the rest of the list is not shown.
  const qint64 fits = static_cast<qint64>(std::max(room, 0) / kRowPitch) * kRowPitch;
  return static_cast<int>(std::min(wanted, fits));
}

void TForm_POPMES::ShowNotification() {
  // A window with no listed mail shows only its caption bar with the
  // summary; with more rows than the screen holds below the corner it stops
  // at the screen's bottom.
  resize(width(), ListHeight());
  PlaceAtCorner();
  show();
  raise();
  StringGrid1->SetBounds(0, 0, width(), height());
  repaint();
  Timer1->SetEnabled(false);
  Timer1->SetInterval(kShowMs);
  Timer1->SetEnabled(true);
}

void TForm_POPMES::PlaceAtCorner() {
  move(kCornerX, kCornerY);
  // Under a reparenting window manager the frame is not known before the
  // first show, and the client would land at the corner instead: put the
  // frame there once the margins are known.
  QTimer::singleShot(50, this, [this] {
    if (!isVisible() || !windowHandle()) return;
    const QMargins m = windowHandle()->frameMargins();
    if (m.isNull()) return;
    windowHandle()->setPosition(kCornerX + m.left(), kCornerY + m.top());
    // The frame's height now known, a long list is fitted above the
    // screen's bottom again.
    if (height() > ListHeight()) resize(width(), ListHeight());
  });
}

void TForm_POPMES::Timer1Timer(platform::TTimer*) {
  Timer1->SetEnabled(false);
  Close();
}

void TForm_POPMES::FormCloseQuery(bool& CanClose) { CanClose = true; }
