#include "form.h"

#include <QCloseEvent>

#include "application.h"
#include "sjis_text.h"

namespace platform {

TForm::TForm(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

std::string TForm::Caption() const { return QStringToSjis(windowTitle()); }

void TForm::SetCaption(const std::string& sjis) { setWindowTitle(SjisToQString(sjis)); }

void TForm::Show() {
  show();
  raise();
}

void TForm::SetForegroundWindow() {
  raise();
  activateWindow();
}

std::intptr_t TForm::Perform(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  TMessage message{msg, wparam, lparam, 0};
  Dispatch(message);
  return message.Result;
}

void TForm::closeEvent(QCloseEvent* event) {
  bool can_close = true;
  TCloseAction action = TCloseAction::caHide;
  // An error in a close handler is shown and the window stays as it is.
  bool failed = true;
  Application().Guard([&] {
    FormCloseQuery(can_close);
    if (can_close) FormClose(action);
    failed = false;
  });
  if (failed || !can_close || action == TCloseAction::caNone) {
    event->ignore();
    return;
  }
  event->accept();
  // Closing the main form ends the application; any other form is hidden.
  if (Application().MainForm() == this) Application().Terminate();
}

}  // namespace platform
