// The mailbox listing: rows per mail, decoded cells, the NG-word filter.
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

}  // namespace
}  // namespace app_test
