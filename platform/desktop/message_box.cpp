#include "message_box.h"

#include <QMessageBox>

#include "sjis_text.h"

namespace platform {

void DesktopMessages::ShowError(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Critical, SjisToQString(title), SjisToQString(text), QMessageBox::Ok);
  box.exec();
}

}  // namespace platform
