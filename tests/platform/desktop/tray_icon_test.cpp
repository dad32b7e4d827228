#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "application.h"
#include "byte_assert.h"
#include "form.h"
#include "message_box.h"
#include "recording_messages.h"
#include "recording_tray.h"
#include "sjis_text.h"
#include "tray_icon.h"

namespace {

using platform::NIF_ICON;
using platform::NIF_MESSAGE;
using platform::NIF_TIP;
using platform::NIM_ADD;
using platform::NIM_DELETE;
using platform::NIM_MODIFY;
using platform::NOTIFYICONDATA;

constexpr unsigned kCallback = platform::WM_USER + 1;  // 1025
// "新着メール 3 通" in Shift_JIS.
const std::string kSjisTip = "\x90\x56\x92\x85\x83\x81\x81\x5b\x83\x8b 3 \x92\xca";

NOTIFYICONDATA Record(platform::TForm* owner, std::uint32_t id, std::uint32_t flags, const std::string& tip = {}) {
  NOTIFYICONDATA data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = flags;
  data.uCallbackMessage = kCallback;
  platform::SetTip(data, tip);
  return data;
}

// The bytes of a double-byte character whose trail byte is itself in the
// lead-byte range, so that only a walk from the start finds the boundaries.
const std::string kDouble = "\x88\x88";

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(TrayTip, IsCutToSixtyThreeBytesWithoutSplittingACharacter) {
  const struct {
    const char* name;
    std::string tip;
    std::string expected;
  } cases[] = {
      {"empty", "", ""},
      {"short", "Tolvane", "Tolvane"},
      {"Shift_JIS text", kSjisTip, kSjisTip},
      {"exactly 63", std::string(63, 'a'), std::string(63, 'a')},
      {"64", std::string(64, 'a'), std::string(63, 'a')},
      {"200", std::string(200, 'a'), std::string(63, 'a')},
      {"double-byte ends at byte 63", std::string(61, 'a') + kDouble + "b", std::string(61, 'a') + kDouble},
      {"double-byte straddles byte 63", std::string(62, 'a') + kDouble, std::string(62, 'a')},
      {"only double-byte, even count", Repeat(kDouble, 40), Repeat(kDouble, 31)},
      {"odd start, trail bytes look like leads", "a" + Repeat(kDouble, 40), "a" + Repeat(kDouble, 31)},
      {"half-width katakana is single-byte", std::string(70, '\xb1'), std::string(63, '\xb1')},
      {"stops at a NUL", std::string("ab\0cd", 5), "ab"},
  };
  NOTIFYICONDATA data;  // reused: a shorter tip must not keep the old tail
  for (const auto& c : cases) {
    platform::SetTip(data, c.tip);
    EXPECT_BYTES_EQ(platform::TipText(data), c.expected) << c.name;
    EXPECT_EQ(data.szTip[63], '\0') << c.name;
    for (std::size_t i = c.expected.size(); i < sizeof data.szTip; ++i)
      ASSERT_EQ(data.szTip[i], '\0') << c.name << " byte " << i;
  }
}

TEST(RecordingTray, AnswersAsTheShellWouldAndRecordsEveryCall) {
  test_support::RecordingTray tray;
  platform::SetTray(&tray);
  const struct {
    std::uint32_t message;
    bool result;
    bool shown_after;
  } steps[] = {
      {NIM_MODIFY, false, false}, {NIM_DELETE, false, false}, {NIM_ADD, true, true},      {NIM_ADD, false, true},
      {NIM_MODIFY, true, true},   {NIM_DELETE, true, false},  {NIM_DELETE, false, false}, {7, false, false},
  };
  const NOTIFYICONDATA data = Record(nullptr, 100, NIF_MESSAGE | NIF_TIP, "tip");
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(platform::Shell_NotifyIconA(steps[i].message, &data), steps[i].result) << "step " << i;
    EXPECT_EQ(tray.shown, steps[i].shown_after) << "step " << i;
  }
  EXPECT_FALSE(platform::Shell_NotifyIconA(NIM_ADD, nullptr));
  platform::SetTray(nullptr);

  ASSERT_EQ(tray.calls.size(), std::size(steps));
  for (std::size_t i = 0; i < std::size(steps); ++i) EXPECT_EQ(tray.calls[i].message, steps[i].message);
  EXPECT_EQ(tray.calls[2].uID, 100u);
  EXPECT_EQ(tray.calls[2].uFlags, NIF_MESSAGE | NIF_TIP);
  EXPECT_EQ(tray.calls[2].uCallbackMessage, kCallback);
  EXPECT_EQ(tray.calls[2].tip, "tip");
  EXPECT_NE(&platform::Tray(), static_cast<platform::TrayService*>(&tray));
}

// A form that records the messages it is sent; `react` runs after each.
class RecordingForm : public platform::TForm {
 public:
  std::vector<platform::TMessage> messages;
  std::function<void(platform::TMessage&)> react;

 protected:
  void Dispatch(platform::TMessage& message) override {
    messages.push_back(message);
    if (react) react(message);
  }
};

class DesktopTrayTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::SetMessages(nullptr);
    form.reset();
    FlushDeletes();
  }

  static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  QList<QSystemTrayIcon*> Icons() const { return form->findChildren<QSystemTrayIcon*>(); }

  bool Notify(std::uint32_t message, const NOTIFYICONDATA& data) { return tray.NotifyIcon(message, data); }

  platform::DesktopTray tray;
  std::unique_ptr<RecordingForm> form = std::make_unique<RecordingForm>();
};

TEST_F(DesktopTrayTest, AddModifyDeleteAnswerForTheIconTheyName) {
  const NOTIFYICONDATA icon = Record(form.get(), 100, NIF_MESSAGE | NIF_TIP, "a");
  const NOTIFYICONDATA other = Record(form.get(), 101, NIF_MESSAGE | NIF_TIP, "b");
  EXPECT_FALSE(Notify(NIM_MODIFY, icon));
  EXPECT_FALSE(Notify(NIM_DELETE, icon));
  EXPECT_TRUE(Notify(NIM_ADD, icon));
  EXPECT_FALSE(Notify(NIM_ADD, icon));
  EXPECT_TRUE(Notify(NIM_MODIFY, icon));
  EXPECT_FALSE(Notify(NIM_MODIFY, other));
  EXPECT_TRUE(Notify(NIM_ADD, other));
  ASSERT_EQ(Icons().size(), 2);
  for (QSystemTrayIcon* i : Icons()) EXPECT_TRUE(i->isVisible());
  EXPECT_FALSE(Notify(7, icon));

  EXPECT_TRUE(Notify(NIM_DELETE, icon));
  EXPECT_FALSE(Notify(NIM_DELETE, icon));
  EXPECT_FALSE(Notify(NIM_MODIFY, icon));
  FlushDeletes();
  ASSERT_EQ(Icons().size(), 1);
  EXPECT_EQ(Icons()[0]->toolTip(), QStringLiteral("b"));
  // Deleted, the id is free again.
  EXPECT_TRUE(Notify(NIM_ADD, icon));
  EXPECT_FALSE(Notify(NIM_ADD, Record(nullptr, 100, NIF_MESSAGE)));
}

TEST_F(DesktopTrayTest, TipAndIconFollowTheirFlags) {
  QPixmap red(16, 16);
  red.fill(Qt::red);
  NOTIFYICONDATA data = Record(form.get(), 100, NIF_MESSAGE | NIF_ICON | NIF_TIP, kSjisTip);
  data.hIcon = QIcon(red);
  ASSERT_TRUE(Notify(NIM_ADD, data));
  ASSERT_EQ(Icons().size(), 1);
  QSystemTrayIcon* icon = Icons()[0];
  EXPECT_EQ(icon->toolTip(), platform::SjisToQString(kSjisTip));
  EXPECT_EQ(icon->toolTip(), QString::fromUtf8("新着メール 3 通"));
  EXPECT_EQ(icon->icon().cacheKey(), data.hIcon.cacheKey());

  // Without NIF_TIP and NIF_ICON a modification leaves both alone.
  NOTIFYICONDATA other = Record(form.get(), 100, NIF_MESSAGE, "ignored");
  other.hIcon = QIcon();
  ASSERT_TRUE(Notify(NIM_MODIFY, other));
  EXPECT_EQ(icon->toolTip(), QString::fromUtf8("新着メール 3 通"));
  EXPECT_EQ(icon->icon().cacheKey(), data.hIcon.cacheKey());

  other.uFlags = NIF_TIP;
  ASSERT_TRUE(Notify(NIM_MODIFY, other));
  EXPECT_EQ(icon->toolTip(), QStringLiteral("ignored"));
}

TEST_F(DesktopTrayTest, ActivationsReachTheOwnerAsMouseMessages) {
  ASSERT_TRUE(Notify(NIM_ADD, Record(form.get(), 100, NIF_MESSAGE)));
  ASSERT_EQ(Icons().size(), 1);
  QSystemTrayIcon* icon = Icons()[0];
  EXPECT_EQ(icon->contextMenu(), nullptr);  // the owner opens its own menu
  const struct {
    QSystemTrayIcon::ActivationReason reason;
    std::intptr_t mouse;  // 0: nothing is sent
  } cases[] = {
      {QSystemTrayIcon::Trigger, 514},   {QSystemTrayIcon::DoubleClick, 515}, {QSystemTrayIcon::Context, 516},
      {QSystemTrayIcon::MiddleClick, 0}, {QSystemTrayIcon::Unknown, 0},
  };
  for (const auto& c : cases) {
    form->messages.clear();
    emit icon->activated(c.reason);
    if (c.mouse == 0) {
      EXPECT_TRUE(form->messages.empty()) << c.reason;
      continue;
    }
    ASSERT_EQ(form->messages.size(), 1u) << c.reason;
    EXPECT_EQ(form->messages[0].Msg, 1025u);
    EXPECT_EQ(form->messages[0].WParam, 100u);
    EXPECT_EQ(form->messages[0].LParam, c.mouse);
  }
}

TEST_F(DesktopTrayTest, NifMessageChangesTheCallbackAndNoMessageMeansNoCallback) {
  NOTIFYICONDATA data = Record(form.get(), 7, NIF_TIP, "quiet");
  ASSERT_TRUE(Notify(NIM_ADD, data));
  QSystemTrayIcon* icon = Icons()[0];
  emit icon->activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(form->messages.empty());

  data.uFlags = NIF_MESSAGE;
  data.uCallbackMessage = kCallback + 5;
  ASSERT_TRUE(Notify(NIM_MODIFY, data));
  emit icon->activated(QSystemTrayIcon::Trigger);
  ASSERT_EQ(form->messages.size(), 1u);
  EXPECT_EQ(form->messages[0].Msg, kCallback + 5);
  EXPECT_EQ(form->messages[0].WParam, 7u);
}

TEST_F(DesktopTrayTest, TheIconsOfADestroyedOwnerGoWithIt) {
  const NOTIFYICONDATA data = Record(form.get(), 100, NIF_MESSAGE);
  ASSERT_TRUE(Notify(NIM_ADD, data));
  QPointer<QSystemTrayIcon> icon = Icons()[0];
  form.reset();
  // No icon is left that could send the gone form a message, and the
  // shell's record of it is forgotten.
  EXPECT_TRUE(icon.isNull());
  EXPECT_FALSE(Notify(NIM_MODIFY, data));
  EXPECT_FALSE(Notify(NIM_DELETE, data));
}

TEST_F(DesktopTrayTest, AnErrorInTheOwnersHandlerIsShownAndStopsThere) {
  test_support::RecordingMessages boxes;
  platform::SetMessages(&boxes);
  ASSERT_TRUE(Notify(NIM_ADD, Record(form.get(), 100, NIF_MESSAGE)));
  QSystemTrayIcon* icon = Icons()[0];

  form->react = [](platform::TMessage&) { throw std::runtime_error("no connection"); };
  emit icon->activated(QSystemTrayIcon::Trigger);
  form->react = [](platform::TMessage&) { throw 42; };
  emit icon->activated(QSystemTrayIcon::Context);

  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].title, platform::Application().Title());
  EXPECT_EQ(boxes.boxes[0].text, "no connection");
  EXPECT_FALSE(boxes.boxes[1].text.empty());
  EXPECT_EQ(form->messages.size(), 2u);
}

TEST_F(DesktopTrayTest, TheOwnerMayDeleteTheIconFromItsOwnActivation) {
  const NOTIFYICONDATA data = Record(form.get(), 100, NIF_MESSAGE);
  ASSERT_TRUE(Notify(NIM_ADD, data));
  QPointer<QSystemTrayIcon> icon = Icons()[0];
  bool deleted = false;
  form->react = [&](platform::TMessage&) { deleted = platform::Shell_NotifyIconA(NIM_DELETE, &data); };
  platform::SetTray(&tray);
  emit icon->activated(QSystemTrayIcon::Context);
  platform::SetTray(nullptr);
  EXPECT_TRUE(deleted);
  ASSERT_FALSE(icon.isNull());  // still inside its own signal until now
  EXPECT_FALSE(icon->isVisible());
  FlushDeletes();
  EXPECT_TRUE(icon.isNull());
}

}  // namespace
