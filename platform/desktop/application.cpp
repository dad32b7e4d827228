#include "application.h"

#include <QCoreApplication>

#include "message_box.h"

namespace platform {

TApplication& Application() {
  static TApplication app;
  return app;
}

std::string TApplication::ExeDir() const {
  if (!exe_dir_.empty()) return exe_dir_;
  // The real folder of the executable (symbolic links resolved), as bytes.
  std::string dir = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

void TApplication::ShowException(const std::exception& error) { Messages().ShowError(title_, error.what()); }

void TApplication::Guard(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    ShowException(e);
  }
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

void TApplication::Terminate() { QCoreApplication::quit(); }

}  // namespace platform
