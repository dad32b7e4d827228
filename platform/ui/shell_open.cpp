#include "shell_open.h"

#include <QDesktopServices>

#include "sjis_text.h"

namespace platform {

QUrl ShellTargetUrl(const std::string& target) {
  const QString t = SjisToQString(target).trimmed();
  if (t.isEmpty()) return {};
  if (t.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)) return QUrl(t);
  return QUrl::fromUserInput(t);
}

void DesktopShell::ShellExecute(const std::string&, const std::string& target) {
  const QUrl url = ShellTargetUrl(target);
  if (url.isValid()) QDesktopServices::openUrl(url);
}

}  // namespace platform
