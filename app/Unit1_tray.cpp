// The tray icon's mouse actions, its menu and the main window's buttons.
#include "Unit1.h"

#include <QAction>
#include <QCursor>

#include "Unit2.h"
#include "application.h"
#include "sjis_text.h"
#include "texts.h"

void TForm1::CreateTrayMenu() {
  PopupMenu1 = new QMenu(this);
  const auto add = [this](const char* caption, void (TForm1::*handler)()) {
    QAction* item = PopupMenu1->addAction(platform::SjisToQString(caption));
    QObject::connect(item, &QAction::triggered, this, [this, item, handler] {
      // The handlers toggle their own check marks: undo the menu's toggle.
      if (item->isCheckable()) item->setChecked(!item->isChecked());
      platform::Application().Guard([&] { (this->*handler)(); });
    });
    return item;
  };
  N2 = add(texts::kAgainCaption, &TForm1::GradButton2Click);
  N3 = add(texts::kCheckCaption, &TForm1::GradButton3Click);
  N1 = PopupMenu1->addSeparator();
  N_Stop = add(texts::kMenuStop, &TForm1::N_StopClick);
  N_Icon = add(texts::kMenuIcon, &TForm1::N_IconClick);
  N6 = PopupMenu1->addSeparator();
  N4 = add(texts::kMenuShowForm, &TForm1::N4Click);
  Exit1 = add(texts::kMenuExit, &TForm1::Exit1Click);
  N_Stop->setCheckable(true);
  N_Icon->setCheckable(true);
}

void TForm1::Dispatch(platform::TMessage& message) {
  if (message.Msg == kTrayMessage) TrayIconMessage(message);
}

void TForm1::TrayIconMessage(platform::TMessage& Msg) {
  if (Msg.LParam == platform::WM_LBUTTONDBLCLK) ShowMainWindow();
  if (Msg.LParam == platform::WM_LBUTTONUP) GradButton2Click();
  if (Msg.LParam == platform::WM_RBUTTONDOWN) {
    const QPoint at = QCursor::pos();
    SetForegroundWindow();
    PopupMenu1->popup(at);
  }
}

void TForm1::GradButton1Click() {
  // Neither the window nor a taskbar button is left; the tray icon stays.
  Hide();
}

void TForm1::GradButton2Click() { Form_POPMES->ShowNotification(); }

void TForm1::GradButton3Click() {
  CheckAllAccounts();
  Form_POPMES->ShowNotification();
}

void TForm1::N_IconClick() { N_Icon->setChecked(!N_Icon->isChecked()); }

void TForm1::N4Click() { ShowMainWindow(); }

void TForm1::Exit1Click() { Close(); }
