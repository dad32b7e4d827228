// The notification window: where it shows, how tall, and when it hides.
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "app_fixture.h"
#include "texts.h"

namespace app_test {
namespace {

class Notification : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    Start();
  }
  TForm_POPMES& w() { return *Form_POPMES; }
};

TEST_F(Notification, StartsHiddenWithItsColumnsSplit) {
  EXPECT_FALSE(w().isVisible());
  EXPECT_EQ(w().Caption(), "Tolvane");
  EXPECT_EQ(w().width(), 340);
  EXPECT_EQ(w().StringGrid1->ColWidths(0), 18);
  EXPECT_EQ(w().StringGrid1->ColWidths(1), 170);
  EXPECT_EQ(w().StringGrid1->ColWidths(2), 340 - 18 - 170);
  EXPECT_EQ(w().StringGrid1->Col(), 3);
}

TEST_F(Notification, ShowsOneRowPerMailAtTheCornerForFourSeconds) {
  w().MailCount = 3;
  w().ShowNotification();
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(w().height(), 51);
  EXPECT_EQ(w().StringGrid1->height(), 51);
  EXPECT_EQ(w().frameGeometry().topLeft(), QPoint(8, 8));
  clock->Advance(3999);
  EXPECT_TRUE(w().isVisible());
  clock->Advance(1);
  EXPECT_FALSE(w().isVisible());
}

TEST_F(Notification, NoMailShowsTheCaptionBarAlone) {
  w().MailCount = 0;
  w().SetCaption(texts::kNoMailText);
  w().ShowNotification();
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(w().height(), 0);
  clock->Advance(4000);
  EXPECT_FALSE(w().isVisible());
}

TEST_F(Notification, ASecondShowMovesTheDeadline) {
  w().MailCount = 1;
  w().ShowNotification();
  clock->Advance(3000);
  w().ShowNotification();
  clock->Advance(3999);
  EXPECT_TRUE(w().isVisible());
  clock->Advance(1);
  EXPECT_FALSE(w().isVisible());
}

TEST_F(Notification, WideningSplitsTheColumnsAndRestartsTheCountdown) {
  w().MailCount = 2;
  w().ShowNotification();
  clock->Advance(3000);
  // 500 pixels wide with its frame.
  const int frame = w().frameGeometry().width() - w().width();
  w().resize(500 - frame, w().height());
  EXPECT_EQ(w().StringGrid1->ColWidths(1), 250);
  EXPECT_EQ(w().StringGrid1->ColWidths(2), 500 - frame - 18 - 250);
  clock->Advance(3999);
  EXPECT_TRUE(w().isVisible());
  clock->Advance(1);
  EXPECT_FALSE(w().isVisible());
}

TEST_F(Notification, ClosingOnlyHidesAndTheRowsStay) {
  w().MailCount = 1;
  w().StringGrid1->SetCells(1, 0, "subject");
  w().ShowNotification();
  w().Close();
  EXPECT_FALSE(w().isVisible());
  w().ShowNotification();
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(w().StringGrid1->Cells(1, 0), "subject");
}

// However many mails, the window ends at the bottom of the screen's
// available area, in whole rows, with its corner where it always is.
TEST_F(Notification, GrowsOnlyToTheBottomOfTheScreen) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const int bottom = screen->availableGeometry().bottom() + 1;
  for (int mails : {3, 20, 34, 1000, 2000, 40000}) {
    SCOPED_TRACE(mails);
    w().MailCount = mails;
    w().ShowNotification();
    const int frame = w().frameGeometry().height() - w().height();
    const int fits = (bottom - 8 - frame) / TForm_POPMES::kRowPitch;
    EXPECT_EQ(w().height(), std::min(mails, fits) * TForm_POPMES::kRowPitch);
    EXPECT_EQ(w().StringGrid1->height(), w().height());
    EXPECT_LE(w().frameGeometry().bottom() + 1, bottom);
    EXPECT_EQ(w().frameGeometry().topLeft(), QPoint(8, 8));
    EXPECT_GE(fits, 20) << "a screen of " << bottom << " pixels";
  }
  // Not one row more would fit.
  const int frame = w().frameGeometry().height() - w().height();
  EXPECT_GT(8 + frame + w().height() + TForm_POPMES::kRowPitch, bottom);
}

}  // namespace
}  // namespace app_test
