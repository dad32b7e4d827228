#include "message_box.h"

#include <QMessageBox>

#include "sjis_text.h"

namespace platform {
namespace {

MessageService*& current() {
  static MessageService* s = nullptr;
  return s;
}

}  // namespace

void DesktopMessages::ShowError(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Critical, SjisToQString(title), SjisToQString(text), QMessageBox::Ok);
  box.exec();
}

void RecordingMessages::ShowError(const std::string& title, const std::string& text) {
  boxes.push_back({title, text});
}

MessageService& Messages() {
  static DesktopMessages desktop;
  return current() ? *current() : desktop;
}

void SetMessages(MessageService* service) { current() = service; }

}  // namespace platform
