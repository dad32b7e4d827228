// The program's pictures, drawn in code: three 16 x 16 tray icons that tell
// checking, no mail and mail waiting apart, and the 32 x 32 logo.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tray_icons {

QIcon Checking();
QIcon NoMail();
QIcon MailWaiting();
QPixmap Logo();

}  // namespace tray_icons
