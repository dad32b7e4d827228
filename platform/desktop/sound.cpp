#include "sound.h"

#include <canberra.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "sjis_text.h"

namespace platform {
namespace {

// Message-box types that have a sound of their own.
constexpr unsigned kIconHand = 0x10;
constexpr unsigned kIconExclamation = 0x30;

struct EventSound {
  const char* id;
  const char* description;
};

EventSound EventFor(unsigned type) {
  switch (type) {
    case MB_ICONASTERISK: return {"dialog-information", "Information"};
    case kIconExclamation: return {"dialog-warning", "Warning"};
    case kIconHand: return {"dialog-error", "Error"};
    default: return {"bell", "Bell"};
  }
}

}  // namespace

struct DesktopSound::Impl {
  ca_context* context = nullptr;

  // Created on first use: a program that never sounds never talks to the
  // sound server. The connection itself is made (and, after a failure,
  // tried again) by ca_context_play.
  ca_context* Context() {
    if (!context && ca_context_create(&context) == CA_SUCCESS) {
      const QByteArray name = QCoreApplication::applicationName().toUtf8();
      if (!name.isEmpty()) ca_context_change_props(context, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
    }
    return context;
  }
};

DesktopSound::DesktopSound() : impl_(new Impl) {}

DesktopSound::~DesktopSound() {
  if (impl_->context) ca_context_destroy(impl_->context);
  delete impl_;
}

bool DesktopSound::MessageBeep(unsigned type) {
  const EventSound sound = EventFor(type);
  // ca_context_play only starts the sound; it never waits for it to end.
  if (ca_context* c = impl_->Context();
      c && ca_context_play(c, 0, CA_PROP_EVENT_ID, sound.id, CA_PROP_EVENT_DESCRIPTION, sound.description, nullptr) ==
               CA_SUCCESS)
    return true;
  // No sound server or theme (a headless machine): the display's bell.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  QApplication::beep();
  return true;
}

bool DesktopSound::PlaySoundFile(const std::string& file, unsigned flags) {
  // Played in the background either way: the caller is the GUI thread, and
  // a blocking wait there would freeze the windows for the sound's length.
  (void)flags;
  const QString path = SjisToQString(file);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  ca_context* c = impl_->Context();
  if (!c) return false;
  const QByteArray local = QFile::encodeName(path);
  return ca_context_play(c, 0, CA_PROP_MEDIA_FILENAME, local.constData(), nullptr) == CA_SUCCESS;
}

}  // namespace platform
