// Closing the main window: the client is let go, the settings are saved, and
// a cycle waiting on a server is cut short.
#include <QElapsedTimer>
#include <QTimer>

#include <sys/stat.h>

#include "cycle_fixture.h"
#include "texts.h"

namespace app_test {
namespace {

class Shutdown : public CycleFixture {};

bool HasAllSections(const std::string& ini) {
  for (const char* s :
       {"[Option]", "Stop=", "Icon=", "SndFile=", "[Account:1]", "[Account:2]", "[Account:3]", "[Account:4]"})
    if (ini.find(s) == std::string::npos) return false;
  return true;
}

TEST_F(Shutdown, ExitWhileIdleSavesAndLetsGoOfTheClient) {
  Start();
  Form1->Exit1Click();
  EXPECT_EQ(Form1->Caption(), texts::kShuttingDown);
  EXPECT_FALSE(Form1->isVisible());
  EXPECT_EQ(Form1->NMPOP31, nullptr);
  EXPECT_TRUE(HasAllSections(ReadFile(Path("tolvane.ini"))));
  DestroyWindows();
  EXPECT_FALSE(tray.shown);
  EXPECT_EQ(tray.calls.back().message, platform::NIM_DELETE);
}

// A server that never answers STAT: the exit aborts that wait, polls no
// further account and announces nothing.
TEST_F(Shutdown, ExitDuringAStalledExchangeEndsItAtOnce) {
  Start();
  auto stalled = MailboxTable("user", "pw", PlainMails(1));
  stalled["STAT"].delay_ms = 60000;
  Serve(1, "A", stalled);
  FakePop3Server& second = ServeMails(2, "B", PlainMails(1));
  QTimer::singleShot(100, Form1, [] { Form1->Exit1Click(); });
  QElapsedTimer elapsed;
  elapsed.start();
  Form1->CheckAllAccounts();
  EXPECT_LT(elapsed.elapsed(), 2000);
  EXPECT_EQ(second.connections(), 0);
  EXPECT_TRUE(sound.requests.empty());
  EXPECT_FALSE(Form_POPMES->isVisible());
  EXPECT_TRUE(HasAllSections(ReadFile(Path("tolvane.ini"))));
  // Let go of once the cycle left it.
  EXPECT_EQ(Form1->NMPOP31, nullptr);
  // Later starts poll nothing.
  Form1->CheckAllAccounts();
  EXPECT_EQ(second.connections(), 0);
}

// A close after a server error in the same cycle: the client stays alive
// until the waiting cycle has left it (a use after free otherwise, which
// the sanitizer build catches).
TEST_F(Shutdown, ExitAfterAServerErrorWaitsForTheCycleToLeaveTheClient) {
  Start();
  auto failing = MailboxTable("user", "pw", PlainMails(1));
  failing["PASS pw"] = {"-ERR try later\r\n"};
  Serve(1, "A", failing);
  auto slow = MailboxTable("user", "pw", PlainMails(1));
  slow["STAT"].delay_ms = 60000;
  Serve(2, "B", slow);
  QTimer::singleShot(100, Form1, [] {
    ASSERT_TRUE(Form1->FServerError);
    ASSERT_TRUE(Form1->FChecking);
    Form1->Close();
  });
  Form1->CheckAllAccounts();
  EXPECT_EQ(Form1->NMPOP31, nullptr);
  EXPECT_TRUE(HasAllSections(ReadFile(Path("tolvane.ini"))));
}

TEST_F(Shutdown, ASettingsFileThatCannotBeWrittenKeepsTheProgramUp) {
  std::filesystem::remove(Path("tolvane.ini"));
  std::filesystem::create_directory(Path("tolvane.ini"));  // a folder where the file should be
  Start();
  Form1->Close();
  ASSERT_EQ(messages.boxes.size(), 1u);
  const std::string suffix = " \x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";  // に書き込めません
  EXPECT_NE(messages.boxes[0].text.find(suffix), std::string::npos);
  EXPECT_TRUE(Form1->FClosing);
  EXPECT_TRUE(Form1->isVisible());
  // Once the folder is gone, the next exit saves.
  std::filesystem::remove(Path("tolvane.ini"));
  Form1->Close();
  EXPECT_FALSE(Form1->isVisible());
  EXPECT_TRUE(HasAllSections(ReadFile(Path("tolvane.ini"))));
}

TEST_F(Shutdown, ATerminationSignalEndsEvenWhenTheSaveFails) {
  std::filesystem::remove(Path("tolvane.ini"));
  std::filesystem::create_directory(Path("tolvane.ini"));
  Start();
  Form1->EndProgram();
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_FALSE(Form1->isVisible());
}

TEST_F(Shutdown, SessionEndSavesTheSettings) {
  Start();
  Form1->StringGrid1->SetCells(1, 2, "pop.example.jp");
  Form1->SessionEnding();
  EXPECT_NE(ReadFile(Path("tolvane.ini")).find("POPServer=pop.example.jp"), std::string::npos);
  EXPECT_EQ(Form1->NMPOP31, nullptr);
  // A later close does not touch the released client.
  Form1->Close();
  EXPECT_FALSE(Form1->isVisible());
}

}  // namespace
}  // namespace app_test
