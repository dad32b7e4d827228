// The check cycle: which rows are polled, what it reports, when it announces,
// the timer, and the error watch.
#include <QAction>
#include <QTimer>

#include "cycle_fixture.h"
#include "texts.h"

namespace app_test {
namespace {

class CheckCycle : public CycleFixture {};

std::string MailText(int n) { return texts::kMailTextHead + std::to_string(n) + texts::kMailTextTail; }

TEST_F(CheckCycle, IncompleteRowsAreSkippedWithoutACaption) {
  Start();
  FakePop3Server& server = ServeMails(1, "A", PlainMails(1));
  const std::string host = server.host_port();
  SetRow(1, "A", "", "user", "pw");
  SetRow(2, "B", host, "", "pw");
  SetRow(3, "C", host, "user", "");
  SetRow(4, "only a name", "", "", "");
  Form1->CheckAllAccounts();
  EXPECT_EQ(server.connections(), 0);
  EXPECT_EQ(captions, (std::vector<std::string>{"Connecting...", "Finished."}));
  EXPECT_EQ(Form_POPMES->Caption(), texts::kNoMailText);
  EXPECT_EQ(TrayTip(), texts::kNoMailText);
  EXPECT_EQ(TrayIcon(), Form1->Image2.cacheKey());
  EXPECT_FALSE(Form_POPMES->isVisible());
  EXPECT_TRUE(sound.requests.empty());
}

// A server without UIDL: a count above the account's last one announces.
TEST_F(CheckCycle, WithoutIdsAnnouncesACountAboveTheLastCheck) {
  Start();
  const struct {
    int mails;
    bool announced;
  } cycles[] = {{2, true}, {2, false}, {0, false}, {1, true}, {3, true}};
  std::size_t alerts = 0;
  FakePop3Server& server = ServeMails(1, "A", PlainMails(0));
  for (const auto& c : cycles) {
    SCOPED_TRACE(c.mails);
    server.set_table(MailboxTable("user", "pw", PlainMails(c.mails)));
    captions.clear();
    Form1->CheckAllAccounts();
    EXPECT_EQ(captions.front(), "Connecting...");
    EXPECT_EQ(captions.back(), "Finished.");
    const std::string text = c.mails ? MailText(c.mails) : std::string(texts::kNoMailText);
    EXPECT_EQ(Form_POPMES->Caption(), text);
    EXPECT_EQ(TrayTip(), text);
    EXPECT_EQ(TrayIcon(), (c.mails ? Form1->Image3 : Form1->Image2).cacheKey());
    EXPECT_EQ(Form_POPMES->isVisible(), c.announced);
    alerts += c.announced;
    EXPECT_EQ(sound.requests.size(), alerts);
    clock->Advance(4000);  // the window hides again
  }
  EXPECT_EQ(LastMailCount, 3);
  ASSERT_FALSE(sound.requests.empty());
  EXPECT_TRUE(sound.requests.back().beep);
  EXPECT_EQ(sound.requests.back().type, platform::MB_ICONASTERISK);
}

// Mails with the given UIDL ids; an id starting "SPAM" also has the NG
// word in its subject.
std::vector<Mail> MailsWithIds(const std::vector<std::string>& ids) {
  std::vector<Mail> mails;
  for (const std::string& id : ids) mails.push_back({"Subject: mail " + id, "From: sender " + id, id});
  return mails;
}

// With UIDL, a cycle announces when it lists a mail that its account's last
// completed check did not list, however the count moves.
TEST_F(CheckCycle, AnnouncesMailItHasNotListedBefore) {
  const struct {
    const char* name;
    std::vector<std::string> ids;
    bool fails;
    int rows;
    bool announced;
  } cycles[] = {
      {"first check: 2 new", {"a", "b"}, false, 2, true},
      {"the same 2", {"a", "b"}, false, 2, false},
      {"read and deleted", {}, false, 0, false},
      {"1 new, fewer than ever announced", {"c"}, false, 1, true},
      {"3, 2 of them new", {"c", "d", "e"}, false, 3, true},
      {"one deleted and one arrived: the same count", {"c", "d", "f"}, false, 3, true},
      {"new mail hidden by an NG word", {"c", "SPAMg", "d", "f"}, false, 3, false},
      {"a check that fails after its first mail", {"c", "d", "f", "h"}, true, 1, false},
      {"back after the outage with the mail seen before", {"c", "d", "f"}, false, 3, false},
      {"then new mail", {"c", "d", "f", "h"}, false, 4, true},
  };
  for (const auto& capabilities : {std::vector<std::string>{"UIDL"}, std::vector<std::string>{"PIPELINING", "UIDL"}}) {
    SCOPED_TRACE(capabilities[0]);
    DestroyWindows();
    servers.clear();
    WriteFile(Path("ngword.txt"), "SPAM\r\n");
    Start();
    LastMailCount = 0;
    FakePop3Server& server = ServeMails(1, "A", {});
    std::size_t alerts = sound.requests.size();
    for (const auto& c : cycles) {
      SCOPED_TRACE(c.name);
      auto table = MailboxTable("user", "pw", MailsWithIds(c.ids), capabilities);
      if (c.fails) table["TOP 2 0"] = {"-ERR no such message\r\n"};
      server.set_table(table);
      Form1->CheckAllAccounts();
      EXPECT_EQ(Form_POPMES->MailCount, c.rows);
      EXPECT_EQ(Form_POPMES->isVisible(), c.announced);
      alerts += c.announced;
      EXPECT_EQ(sound.requests.size(), alerts);
      EXPECT_EQ(captions.back(), "Finished.");
      clock->Advance(4000);
    }
    // Still the highest count announced.
    EXPECT_EQ(LastMailCount, 4);
    // One UIDL a cycle, the timer's first at 2 s (same mailbox, nothing new)
    // included.
    EXPECT_EQ(std::count(server.transcript().begin(), server.transcript().end(), "UIDL"), std::size(cycles) + 1);
  }
}

// A check in which a listed mail has no usable id goes by the count, and so
// does the next one, which has nothing by id to compare with.
TEST_F(CheckCycle, AMailWithoutAnIdTurnsTheCheckToTheCount) {
  Start();
  FakePop3Server& server = ServeMails(1, "A", {});
  const struct {
    const char* name;
    std::vector<std::string> ids;
    std::string uidl;  // replaces the UIDL reply when set
    bool announced;
  } cycles[] = {
      {"by id", {"a", "b"}, "", true},
      {"the second's id too long: same count",
       {"a", "c"},
       "+OK\r\n1 a\r\n2 " + std::string(71, 'c') + "\r\n.\r\n",
       false},
      {"ids again, compared by the count", {"a", "c", "d"}, "", true},
      {"and by id from then on", {"a", "e", "d"}, "", true},
  };
  std::size_t alerts = 0;
  for (const auto& c : cycles) {
    SCOPED_TRACE(c.name);
    auto table = MailboxTable("user", "pw", MailsWithIds(c.ids), {"UIDL"});
    if (!c.uidl.empty()) table["UIDL"] = {c.uidl};
    server.set_table(table);
    Form1->CheckAllAccounts();
    alerts += c.announced;
    EXPECT_EQ(sound.requests.size(), alerts);
    clock->Advance(4000);
  }
}

// Each account is compared with its own last check; a pop3:// account,
// which asks no CAPA, goes by the count.
TEST_F(CheckCycle, EachAccountKeepsWhatItHasSeen) {
  Start();
  const std::vector<std::string> caps = {"PIPELINING", "UIDL"};
  FakePop3Server& a = ServeMails(1, "A", {});
  FakePop3Server& b = ServeMails(2, "B", {});
  FakePop3Server& plain = ServeMails(3, "C", {});
  SetRow(3, "C", "pop3://" + plain.host_port(), "user", "pw");
  const struct {
    const char* name;
    std::vector<std::string> a, b, plain;
    bool announced;
  } cycles[] = {
      {"first check", {"x", "y"}, {"z"}, {"p"}, true},
      {"nothing new", {"x", "y"}, {"z"}, {"p"}, false},
      {"B gets the id A had", {"x"}, {"z", "y"}, {"p"}, true},
      {"the plain account: one for another, same count", {"x"}, {"z", "y"}, {"q"}, false},
      {"the plain account's count rises", {"x"}, {"z", "y"}, {"q", "r"}, true},
  };
  std::size_t alerts = 0;
  for (const auto& c : cycles) {
    SCOPED_TRACE(c.name);
    a.set_table(MailboxTable("user", "pw", MailsWithIds(c.a), caps));
    b.set_table(MailboxTable("user", "pw", MailsWithIds(c.b), caps));
    plain.set_table(MailboxTable("user", "pw", MailsWithIds(c.plain), caps));
    Form1->CheckAllAccounts();
    alerts += c.announced;
    EXPECT_EQ(sound.requests.size(), alerts);
    clock->Advance(4000);
  }
  EXPECT_EQ(std::count(plain.transcript().begin(), plain.transcript().end(), "UIDL"), 0);
}

TEST_F(CheckCycle, TrayShowsCheckingWhileACycleRuns) {
  Start();
  ServeMails(1, "A", PlainMails(1));
  Form1->CheckAllAccounts();
  // The record of the start of the cycle: checking picture and tip.
  ASSERT_GE(tray.calls.size(), 3u);
  EXPECT_EQ(tray.calls[0].message, platform::NIM_ADD);
  EXPECT_EQ(tray.calls[0].tip, "Tolvane");
  EXPECT_EQ(tray.calls[0].uID, 100u);
  EXPECT_EQ(tray.calls[0].uCallbackMessage, 1025u);
  EXPECT_EQ(tray.calls[0].uFlags, 7u);
  EXPECT_EQ(tray.calls[1].message, platform::NIM_MODIFY);
  EXPECT_EQ(tray.calls[1].tip, "Connecting...");
  EXPECT_EQ(tray.calls[1].icon.cacheKey(), Form1->Image4.cacheKey());
}

TEST_F(CheckCycle, ASoundFileIsPlayedInTheBackgroundUnchanged) {
  WriteFile(Path("tolvane.ini"), "[Option]\r\nSndFile=/home/u/\x83\x81\x81[\x83\x8b.wav\r\n");
  Start();
  ServeMails(1, "A", PlainMails(1));
  Form1->CheckAllAccounts();
  ASSERT_EQ(sound.requests.size(), 1u);
  EXPECT_FALSE(sound.requests[0].beep);
  EXPECT_EQ(sound.requests[0].file, "/home/u/\x83\x81\x81[\x83\x8b.wav");
  EXPECT_EQ(sound.requests[0].type, platform::SND_ASYNC);
}

TEST_F(CheckCycle, TimerChecksAfterTwoSecondsThenEveryTenMinutes) {
  Start();
  FakePop3Server& server = ServeMails(1, "A", PlainMails(0));
  clock->Advance(1999);
  EXPECT_EQ(server.connections(), 0);
  clock->Advance(1);
  EXPECT_EQ(server.connections(), 1);
  EXPECT_EQ(Form1->Timer1->Interval(), 600000);
  clock->Advance(599999);
  EXPECT_EQ(server.connections(), 1);
  clock->Advance(1);
  EXPECT_EQ(server.connections(), 2);
}

TEST_F(CheckCycle, PauseStopsTheTimersChecksButNotCheckNow) {
  WriteFile(Path("tolvane.ini"), "[Option]\r\nStop=1\r\n");
  Start();
  FakePop3Server& server = ServeMails(1, "A", PlainMails(1));
  clock->Advance(2000);
  EXPECT_EQ(server.connections(), 0);
  EXPECT_EQ(Form1->Timer1->Interval(), 600000);
  EXPECT_EQ(Form1->Caption(), "Tolvane");
  clock->Advance(600000);
  EXPECT_EQ(server.connections(), 0);

  Form1->GradButton3Click();  // check now
  EXPECT_EQ(server.connections(), 1);
  EXPECT_TRUE(Form_POPMES->isVisible());

  Form1->N_StopClick();  // unpause: a cycle half a second later
  EXPECT_FALSE(Form1->N_Stop->isChecked());
  EXPECT_EQ(Form1->Timer1->Interval(), 500);
  clock->Advance(499);
  EXPECT_EQ(server.connections(), 1);
  clock->Advance(1);
  EXPECT_EQ(server.connections(), 2);
  EXPECT_EQ(Form1->Timer1->Interval(), 600000);
}

TEST_F(CheckCycle, AuthorizationRefusalStopsEveryLaterCycle) {
  Start();
  auto refusing = MailboxTable("user", "pw", PlainMails(1));
  refusing["PASS pw"] = {"-ERR authorization failed\r\n"};
  Serve(1, "A", refusing);
  FakePop3Server& second = ServeMails(2, "B", PlainMails(1));
  Form1->CheckAllAccounts();
  // The rest of that cycle runs.
  EXPECT_EQ(second.connections(), 1);
  EXPECT_EQ(Form_POPMES->MailCount, 1);
  EXPECT_TRUE(Form1->FAuthFailed);
  captions.clear();
  Form1->CheckAllAccounts();
  clock->Advance(600000);
  EXPECT_EQ(second.connections(), 1);
  EXPECT_TRUE(captions.empty());
}

TEST_F(CheckCycle, OtherRefusalsAreOrdinaryServerErrors) {
  Start();
  auto refusing = MailboxTable("user", "pw", PlainMails(1));
  refusing["PASS pw"] = {"-ERR [AUTH] Authentication failed.\r\n"};
  Serve(1, "A", refusing);
  Form1->CheckAllAccounts();
  EXPECT_FALSE(Form1->FAuthFailed);
  // The reply line is the caption until the abort turns it into the error.
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Connecting...", "Connecting to [A]" + servers[0]->host_port() + ".",
                                      "-ERR [AUTH] Authentication failed.", "POP Server Error.", "Finished."}));
  Form1->CheckAllAccounts();
  EXPECT_EQ(servers[0]->connections(), 2);
}

// A listing that fails half way keeps the rows before the failure, and the
// next account starts on a clean connection.
TEST_F(CheckCycle, AFailingAccountDoesNotMakeTheNextOneFail) {
  Start();
  auto broken = MailboxTable("user", "pw", PlainMails(3));
  broken["TOP 2 0"] = {"-ERR no such message\r\n"};
  Serve(1, "A", broken);
  FakePop3Server& second = ServeMails(2, "B", PlainMails(2));
  Form1->CheckAllAccounts();
  EXPECT_EQ(Form_POPMES->MailCount, 3);
  EXPECT_EQ(Cell(0, 0), "A");
  EXPECT_EQ(Cell(0, 1), "B");
  EXPECT_EQ(Cell(0, 2), "B");
  EXPECT_EQ(second.transcript(), (std::vector<std::string>{"CAPA", "USER user", "PASS pw", "STAT", "TOP 1 0", "LIST 1",
                                                           "TOP 2 0", "LIST 2", "QUIT"}));
  EXPECT_NE(std::find(captions.begin(), captions.end(), "POP Server Error."), captions.end());
  EXPECT_EQ(captions.back(), "Finished.");
}

TEST_F(CheckCycle, UnreachableServersFailWithoutADialog) {
  Start();
  SetRow(1, "A", "127.0.0.1:1", "user", "pw");  // nothing listens on port 1
  SetRow(2, "B", "no-such-host.invalid", "user", "pw");
  Form1->CheckAllAccounts();
  EXPECT_EQ(std::count(captions.begin(), captions.end(), "POP Server Error."), 2);
  EXPECT_EQ(captions.back(), "Finished.");
  EXPECT_TRUE(messages.boxes.empty());
}

// A start that comes while the cycle is busy returns; check now then shows
// the rows listed so far.
TEST_F(CheckCycle, StartDuringACycleOnlyShowsTheListSoFar) {
  Start();
  auto slow = MailboxTable("user", "pw", PlainMails(2));
  slow["TOP 2 0"].delay_ms = 300;
  FakePop3Server& server = Serve(1, "A", slow);
  int rows_when_shown = -1;
  QTimer::singleShot(100, Form1, [&] {
    Form1->GradButton3Click();
    rows_when_shown = Form_POPMES->MailCount;
  });
  Form1->CheckAllAccounts();
  EXPECT_EQ(rows_when_shown, 1);
  EXPECT_EQ(server.connections(), 1);
  EXPECT_EQ(Form_POPMES->MailCount, 2);
}

// After a server error the flags let a start through while the cycle still
// waits inside the client; it must leave that exchange alone.
TEST_F(CheckCycle, StartAfterAServerErrorDoesNotDisturbTheWaitingCycle) {
  Start();
  auto failing = MailboxTable("user", "pw", PlainMails(1));
  failing["PASS pw"] = {"-ERR try later\r\n"};
  Serve(1, "A", failing);
  auto slow = MailboxTable("user", "pw", PlainMails(2));
  slow["STAT"].delay_ms = 300;
  FakePop3Server& second = Serve(2, "B", slow);
  bool started = false;
  QTimer::singleShot(100, Form1, [&] {
    ASSERT_TRUE(Form1->FServerError);
    Form1->GradButton3Click();
    started = true;
  });
  Form1->CheckAllAccounts();
  EXPECT_TRUE(started);
  EXPECT_EQ(second.connections(), 1);
  EXPECT_EQ(second.transcript(), (std::vector<std::string>{"CAPA", "USER user", "PASS pw", "STAT", "TOP 1 0", "LIST 1",
                                                           "TOP 2 0", "LIST 2", "QUIT"}));
  EXPECT_EQ(Form_POPMES->MailCount, 2);
  EXPECT_EQ(captions.back(), "Finished.");
  EXPECT_FALSE(Form1->FChecking);
}

}  // namespace
}  // namespace app_test
