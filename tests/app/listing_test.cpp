// The mailbox listing: rows per mail, decoded cells, the NG-word filter.
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "byte_assert.h"
#include "cycle_fixture.h"
#include "texts.h"

namespace app_test {
namespace {

class Listing : public CycleFixture {};

constexpr char kAdvert[] = "\x8d\x4c\x8d\x90";  // 広告
// 広告 and 会議 as ISO-2022-JP encoded-words.
constexpr char kAdvertWord[] = "=?ISO-2022-JP?B?GyRCOS05cBsoQg==?=";
constexpr char kMeetingWord[] = "=?ISO-2022-JP?B?GyRCMnE1RBsoQg==?=";
constexpr char kMeetingSjis[] = "\x89\xef\x8b\x63";

TEST_F(Listing, EveryMailGetsARowWithDecodedCells) {
  Start();
  ServeMails(1, "A",
             {{std::string("Subject: ") + kMeetingWord, std::string("From: ") + kMeetingWord + " <m@example.jp>"},
              {"Subject: hello", "From: bob@example.com"},
              {"subject: lower case", ""}});
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 3);
  ASSERT_EQ(Form_POPMES->StringGrid1->RowCount(), 3);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(Cell(0, r), "A");
  EXPECT_BYTES_EQ(Cell(1, 0), std::string(" ") + kMeetingSjis);
  EXPECT_BYTES_EQ(Cell(2, 0), std::string(" ") + kMeetingSjis + " <m@example.jp>");
  EXPECT_EQ(Cell(1, 1), " hello");
  EXPECT_EQ(Cell(2, 1), " bob@example.com");
  // A lower-case header name is not the subject; no sender line: empty.
  EXPECT_EQ(Cell(1, 2), "");
  EXPECT_EQ(Cell(2, 2), "");
  EXPECT_EQ(Cell(3, 0), "");
}

TEST_F(Listing, RowsFollowTheAccountsInPollingOrder) {
  Start();
  ServeMails(1, "A", PlainMails(2));
  ServeMails(3, "C", PlainMails(1));
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 3);
  EXPECT_EQ(Cell(0, 0), "A");
  EXPECT_EQ(Cell(0, 1), "A");
  EXPECT_EQ(Cell(0, 2), "C");
  EXPECT_EQ(Cell(1, 2), " mail 1");
}

TEST_F(Listing, NgWordsExcludeBySubjectOnlyAndLaterMailsStillCount) {
  WriteFile(Path("ngword.txt"), std::string(kAdvert) + "\r\n");
  Start();
  ServeMails(1, "A",
             {{"Subject: first", "From: a"},
              {std::string("Subject: Re: ") + kAdvertWord + " sale", "From: b"},
              {"Subject: third", std::string("From: ") + kAdvertWord + " <ad@example.jp>"}});
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 2);
  EXPECT_EQ(Cell(1, 0), " first");
  EXPECT_EQ(Cell(1, 1), " third");
  EXPECT_BYTES_EQ(Cell(2, 1), std::string(" ") + kAdvert + " <ad@example.jp>");
  EXPECT_EQ(Form_POPMES->Caption(), std::string(texts::kMailTextHead) + "2" + texts::kMailTextTail);
}

// Cells and the NG-word test both see the decoded text, whatever charset the
// words are in and however the subject is cut into words.
TEST_F(Listing, CellsAndNgWordsReadWordsInAnyCharset) {
  WriteFile(Path("ngword.txt"), std::string(kAdvert) + "\r\n");
  Start();
  ServeMails(1, "A",
             {{"Subject: =?UTF-8?B?5Lya6K2w?=", "From: =?utf-8?q?=E4=BC=9A=E8=AD=B0?= <m@example.jp>"},
              {"Subject: =?UTF-8?Q?=E5=BA=83?= =?UTF-8?Q?=E5=91=8A?=", "From: b"},
              {"Subject: =?shift_jis?B?jUyNkA==?= sale", "From: c"},
              {"Subject: =?utf-8?b?5bqD?= =?utf-8?b?5ZGK?= again", "From: d"}});
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 1);
  EXPECT_BYTES_EQ(Cell(1, 0), std::string(" ") + kMeetingSjis);
  EXPECT_BYTES_EQ(Cell(2, 0), std::string(" ") + kMeetingSjis + " <m@example.jp>");
}

TEST_F(Listing, NgWordsFromAUtf16File) {
  // 広告 and "sale" in UTF-16LE with its byte-order mark, as Windows editors write it.
  WriteFile(Path("ngword.txt"), std::string("\xff\xfe\x83\x5e\x4a\x54\r\0\n\0s\0a\0l\0e\0", 18));
  Start();
  ServeMails(1, "A", {{"Subject: =?UTF-8?B?5bqD5ZGK?=", ""}, {"Subject: big sale", ""}, {"Subject: kept", ""}});
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 1);
  EXPECT_EQ(Cell(1, 0), " kept");
}

TEST_F(Listing, AnEmptyNgWordEndsTheList) {
  WriteFile(Path("ngword.txt"), "X\n\nY\n");
  Start();
  ServeMails(1, "A", {{"Subject: has X", ""}, {"Subject: has Y", ""}});
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 1);
  EXPECT_EQ(Cell(1, 0), " has Y");
}

// The first row of a cycle shrinks the list; a cycle that lists nothing
// leaves the old rows, hidden by the window's height.
TEST_F(Listing, EachCycleListsFromTheFirstRow) {
  Start();
  ServeMails(1, "A", PlainMails(3));
  Form1->CheckAllAccounts();
  ServeMails(1, "B", PlainMails(1));
  Form1->CheckAllAccounts();
  EXPECT_EQ(Form_POPMES->StringGrid1->RowCount(), 1);
  EXPECT_EQ(Cell(0, 0), "B");
  ServeMails(1, "C", PlainMails(0));
  Form1->CheckAllAccounts();
  EXPECT_EQ(Form_POPMES->MailCount, 0);
  EXPECT_EQ(Cell(0, 0), "B");
}

// With PIPELINING the rows, the exchange and where a failure ends the
// account are those of the listing one command at a time.
TEST_F(Listing, PipelinedListingGivesTheSameRows) {
  for (bool pipelining : {false, true}) {
    SCOPED_TRACE(pipelining ? "pipelined" : "one command at a time");
    DestroyWindows();
    servers.clear();
    Start();
    const std::vector<std::string> caps =
        pipelining ? std::vector<std::string>{"PIPELINING"} : std::vector<std::string>{};
    auto broken = MailboxTable("user", "pw", PlainMails(40), caps);
    broken["TOP 30 0"] = {"-ERR no such message\r\n"};
    FakePop3Server& first = Serve(1, "A", broken);
    FakePop3Server& second = Serve(2, "B", MailboxTable("user", "pw", PlainMails(200), caps));
    Form1->CheckAllAccounts();
    ASSERT_EQ(Form_POPMES->MailCount, 29 + 200);
    EXPECT_EQ(Cell(1, 28), " mail 29");
    EXPECT_EQ(Cell(0, 29), "B");
    EXPECT_EQ(Cell(1, 228), " mail 200");
    EXPECT_EQ(Cell(2, 228), " sender 200");
    EXPECT_EQ(first.max_batch() > 1, pipelining);
    EXPECT_EQ(second.max_batch() > 1, pipelining);
    // The error watch aborts at the error reply: no QUIT to the first.
    EXPECT_NE(first.transcript().back(), "QUIT");
    ASSERT_EQ(second.transcript().size(), 4u + 400u + 1u);
    EXPECT_EQ(second.transcript()[4], "TOP 1 0");
    EXPECT_EQ(second.transcript()[403], "LIST 200");
    EXPECT_EQ(second.transcript().back(), "QUIT");
    EXPECT_EQ(captions.back(), "Finished.");
  }
}

// Long header values fill a cell up to a bound, cut between characters.
TEST_F(Listing, CellsAreBoundedWithoutSplittingACharacter) {
  Start();
  std::string subject = "Subject: ab";
  for (int i = 0; i < 1500; ++i) subject += kMeetingWord;  // 会議, 4 bytes in Shift_JIS
  ServeMails(1, "A", {{subject, "From: " + std::string(5000, 'f')}});
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 1);
  // " ab" then whole characters of 2 bytes: 3 + 510 * 2 = 1023 bytes.
  EXPECT_EQ(Cell(1, 0).size(), 1023u);
  EXPECT_BYTES_EQ(Cell(1, 0).substr(1019), kMeetingSjis);
  EXPECT_EQ(Cell(2, 0), " " + std::string(1023, 'f'));
}

// Resident set size now, from /proc.
long RssKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A server that claims 4294967295 messages and makes one up for every TOP:
// the account lists the first 10,000, says so, and memory stays bounded.
TEST_F(Listing, AHugeMailboxIsListedUpToTheCap) {
  Start();
  auto table = MailboxTable("user", "pw", {}, {"PIPELINING"});
  table["STAT"] = {"+OK 4294967295 1\r\n"};
  FakePop3Server& server = Serve(1, "A", table);
  server.set_recording(false);
  server.set_responder([](const std::string& line) -> std::optional<FakeReply> {
    if (line.rfind("TOP ", 0) == 0) {
      const std::string n = line.substr(4, line.size() - 6);
      return FakeReply{"+OK\r\nSubject: synthetic " + n + " " + std::string(60, 's') + "\r\nFrom: x" + n +
                       "@example.jp\r\n\r\n.\r\n"};
    }
    if (line.rfind("LIST ", 0) == 0) return FakeReply{"+OK " + line.substr(5) + " 100\r\n"};
    return std::nullopt;
  });
  const long before = RssKiB();
  long peak = before;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] { peak = std::max(peak, RssKiB()); });
  sampler.start(5);
  Form1->CheckAllAccounts();
  sampler.stop();
  peak = std::max(peak, RssKiB());
  const long growth = peak - before;
  EXPECT_EQ(Form_POPMES->MailCount, 10000);
  EXPECT_EQ(Form_POPMES->StringGrid1->RowCount(), 10000);
  EXPECT_EQ(Cell(1, 9999), " synthetic 10000 " + std::string(60, 's'));
  EXPECT_EQ(Form1->FListingNote, "listed the first 10000 of 4294967295 messages");
  EXPECT_EQ(captions.back(), "Finished.");
  EXPECT_TRUE(Form_POPMES->isVisible());
  // The window stops at the screen's bottom.
  EXPECT_LT(Form_POPMES->height(), 10000 * TForm_POPMES::kRowPitch);
  std::printf("[ memory   ] resident set grew by %ld KiB for 10,000 rows\n", growth);
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(growth, 32 * 1024) << "peak RSS grew by " << growth << " KiB";
#endif
  // The next account starts with no note.
  ServeMails(1, "A", PlainMails(1));
  Form1->CheckAllAccounts();
  EXPECT_EQ(Form1->FListingNote, "");
}

}  // namespace
}  // namespace app_test
