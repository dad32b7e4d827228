// The account table and its settings file, the NG-word file and start-up.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QImage>

#include "app_fixture.h"
#include "byte_assert.h"

namespace app_test {
namespace {

class Settings : public AppFixture {};

std::string Cells(int row) {
  std::string s;
  for (int col = 0; col < 4; ++col) s += Form1->StringGrid1->Cells(col, row) + "|";
  return s;
}

TEST_F(Settings, OneSectionFillsItsRowAndACloseWritesEverySection) {
  WriteFile(Path("tolvane.ini"),
            "[Account:2]\r\nShortName=B\r\nPOPServer=pop.example.jp\r\nAccount=bob\r\nPassword=pw\r\n");
  Start();
  EXPECT_EQ(Cells(1), "||||");
  EXPECT_EQ(Cells(2), "B|pop.example.jp|bob|pw|");
  EXPECT_EQ(Cells(3), "||||");
  EXPECT_EQ(Cells(4), "||||");
  EXPECT_FALSE(Form1->N_Stop->isChecked());
  EXPECT_TRUE(Form1->FSoundFile.empty());

  Form1->Close();
  EXPECT_EQ(ReadFile(Path("tolvane.ini")),
            "[Account:2]\r\nShortName=B\r\nPOPServer=pop.example.jp\r\nAccount=bob\r\nPassword=pw\r\n"
            "[Option]\r\nStop=0\r\nIcon=0\r\nSndFile=\r\n"
            "[Account:1]\r\nShortName=\r\nPOPServer=\r\nAccount=\r\nPassword=\r\n"
            "[Account:3]\r\nShortName=\r\nPOPServer=\r\nAccount=\r\nPassword=\r\n"
            "[Account:4]\r\nShortName=\r\nPOPServer=\r\nAccount=\r\nPassword=\r\n");
}

TEST_F(Settings, OptionsReadAsIntegersAndWriteAsOneOrZero) {
  const struct {
    const char* value;
    bool checked;
  } cases[] = {{"5", true}, {"0x10", true}, {"1", true}, {"0", false}, {"yes", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    WriteFile(Path("tolvane.ini"), std::string("[Option]\r\nStop=") + c.value + "\r\nIcon=" + c.value + "\r\n");
    Start();
    EXPECT_EQ(Form1->N_Stop->isChecked(), c.checked);
    EXPECT_EQ(Form1->N_Icon->isChecked(), c.checked);
    // Started as an icon, the main window stays hidden.
    EXPECT_EQ(Form1->isVisible(), !c.checked);
    Form1->Close();
    const std::string text = ReadFile(Path("tolvane.ini"));
    const std::string written = c.checked ? "1" : "0";
    EXPECT_NE(text.find("Stop=" + written + "\r\nIcon=" + written + "\r\n"), std::string::npos) << text;
    DestroyWindows();
  }
}

TEST_F(Settings, EditedCellsAndMenuChoicesAreSavedAtClose) {
  Start();
  // Typed into the editor the table opens with, and not yet committed.
  auto* editor = qobject_cast<QLineEdit*>(Form1->StringGrid1->indexWidget(Form1->StringGrid1->currentIndex()));
  ASSERT_NE(editor, nullptr);
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("仕事"));
  QApplication::sendEvent(editor, &key);
  Form1->StringGrid1->SetCells(0, 3, "\x83\x81\x81\x5b\x83\x8b");  // メール
  Form1->StringGrid1->SetCells(3, 3, " spaced ");
  Form1->N_IconClick();
  Form1->FSoundFile = "/usr/share/sounds/new mail.wav";
  Form1->Close();
  DestroyWindows();

  Start();
  EXPECT_BYTES_EQ(Form1->StringGrid1->Cells(0, 1), std::string("\x8e\x64\x8e\x96"));  // 仕事
  EXPECT_BYTES_EQ(Form1->StringGrid1->Cells(0, 3), std::string("\x83\x81\x81\x5b\x83\x8b"));
  EXPECT_EQ(Form1->StringGrid1->Cells(3, 3), " spaced ");
  EXPECT_TRUE(Form1->N_Icon->isChecked());
  EXPECT_EQ(Form1->FSoundFile, "/usr/share/sounds/new mail.wav");
}

TEST_F(Settings, LongValuesAreCutTo2047Bytes) {
  WriteFile(Path("tolvane.ini"), "[Account:1]\r\nPOPServer=" + std::string(3000, 's') + "\r\n");
  Start();
  EXPECT_EQ(Form1->StringGrid1->Cells(1, 1), std::string(2047, 's'));
}

TEST_F(Settings, NgWordFileSplitsIntoLinesKeepingEmptyOnes) {
  WriteFile(Path("ngword.txt"), "A\r\n\r\nB");
  Start();
  ASSERT_NE(Form1->FNgWords, nullptr);
  EXPECT_EQ(Form1->FNgWords->Strings(), (std::vector<std::string>{"A", "", "B"}));
}

TEST_F(Settings, MissingNgWordFileIsShownAndTheProgramRunsOnFromTheTray) {
  std::filesystem::remove(Path("ngword.txt"));
  Start();
  QCoreApplication::processEvents();  // the error box comes once the loop runs
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].title, "Tolvane");
  EXPECT_BYTES_EQ(messages.boxes[0].text,
                  "\x83t\x83@\x83"
                  "C\x83\x8b " +
                      Path("ngword.txt").string() + " \x82\xcd\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1");
  EXPECT_FALSE(Form1->isVisible());
  EXPECT_TRUE(tray.shown);
  EXPECT_EQ(Form1->FNgWords->Count(), 0);
  // The timer is in place: the first cycle still comes.
  clock->Advance(2000);
  EXPECT_EQ(Form1->Caption(), "Finished.");
}

TEST_F(Settings, TableHasItsHeaderWidthsAndEditorOpen) {
  Start();
  EXPECT_EQ(Form1->StringGrid1->ColCount(), 4);
  EXPECT_EQ(Form1->StringGrid1->RowCount(), 5);
  EXPECT_BYTES_EQ(Form1->StringGrid1->Cells(3, 0), std::string("\x83p\x83X\x83\x8f\x81[\x83h"));
  const int widths[] = {32, 123, 80, 80};
  for (int col = 0; col < 4; ++col) EXPECT_EQ(Form1->StringGrid1->ColWidths(col), widths[col]);
  EXPECT_EQ(Form1->StringGrid1->DefaultRowHeight(), 16);
  EXPECT_EQ(Form1->StringGrid1->Row(), 1);
  EXPECT_EQ(Form1->StringGrid1->Col(), 0);
  EXPECT_TRUE(Form1->StringGrid1->EditorMode());
}

// The password column shows the same four asterisks for any password,
// also for none, in dark red.
TEST_F(Settings, PasswordsAreMasked) {
  WriteFile(Path("tolvane.ini"), "[Account:1]\r\nPassword=abc\r\n[Account:2]\r\nPassword=\r\n");
  Start();
  Form1->StringGrid1->SetEditorMode(false);
  Form1->StringGrid1->SetRow(4);
  const QImage img = Form1->StringGrid1->grab().toImage();
  const auto cell = [&](int row) {
    const platform::TRect r = Form1->StringGrid1->CellRect(3, row);
    return img.copy(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  };
  const QImage abc = cell(1), none = cell(2);
  EXPECT_EQ(abc, none);
  int dark_red = 0;
  for (int y = 0; y < abc.height(); ++y)
    for (int x = 0; x < abc.width(); ++x) dark_red += abc.pixelColor(x, y) == QColor(128, 0, 0);
  EXPECT_GT(dark_red, 4);
  // The header cell is drawn normally, without the mask colour.
  const QImage header = cell(0);
  for (int y = 0; y < header.height(); ++y)
    for (int x = 0; x < header.width(); ++x) ASSERT_NE(header.pixelColor(x, y), QColor(128, 0, 0));
}

}  // namespace
}  // namespace app_test
