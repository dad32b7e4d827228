// A whole check cycle over two accounts against the private Dovecot that
// scripts/test.sh starts; skips when it is not running.
#include <QAction>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app_fixture.h"
#include "byte_assert.h"
#include "texts.h"

namespace app_test {
namespace {

class DovecotCycle : public AppFixture {};

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

TEST_F(DovecotCycle, TwoAccountsListTheirMailsInShiftJis) {
  const std::string port = Env("TOLVANE_DOVECOT_PORT");
  if (port.empty()) GTEST_SKIP() << "TOLVANE_DOVECOT_PORT is not set: no private Dovecot running";
  const std::string user = Env("TOLVANE_DOVECOT_USER"), password = Env("TOLVANE_DOVECOT_PASSWORD");
  const std::string server = "127.0.0.1:" + port;
  WriteFile(Path("tolvane.ini"),
            SettingsText({{1, {"A", server, user, password}}, {3, {"B", server, user, password}}}));
  WriteFile(Path("ngword.txt"), "\x8d\x4c\x8d\x90\r\n");  // 広告
  Start();
  clock->Advance(2000);

  EXPECT_EQ(Form1->Caption(), "Finished.");
  // Four mails each; the fourth subject holds the NG word.
  ASSERT_EQ(Form_POPMES->MailCount, 6);
  EXPECT_EQ(Form_POPMES->Caption(), std::string(texts::kMailTextHead) + "6" + texts::kMailTextTail);
  EXPECT_TRUE(Form_POPMES->isVisible());
  ASSERT_EQ(sound.requests.size(), 1u);

  const auto cell = [](int col, int row) { return Form_POPMES->StringGrid1->Cells(col, row); };
  for (int base : {0, 3}) {
    SCOPED_TRACE(base);
    EXPECT_EQ(cell(0, base), base ? "B" : "A");
    EXPECT_BYTES_EQ(cell(1, base),
                    std::string(" \x89\xef\x8b\x63\x82\xcc\x82\xa8\x92\x6d\x82\xe7\x82\xb9"));  // 会議のお知らせ
    EXPECT_BYTES_EQ(cell(2, base), std::string(" \x8e\x52\x93\x63\x91\xbe\x98\x59 <yamada@example.jp>"));  // 山田太郎
    EXPECT_EQ(cell(1, base + 1), " Hello from Dovecot");
    EXPECT_EQ(cell(2, base + 1), " bob@example.com");
    // A folded subject, whole. The sender's NG word does not count.
    EXPECT_BYTES_EQ(
        cell(1, base + 2),
        std::string(
            " \x92\xb7\x82\xa2\x8c\x8f\x96\xbc\x82\xcc\x91\xb1\x82\xab\x82\xc5\x82\xb7"));  // 長い件名の続きです
    EXPECT_BYTES_EQ(cell(2, base + 2), std::string(" \x8d\x4c\x8d\x90 <ad@example.jp>"));
  }
}

// The "headers" mailbox of the script: subjects and senders in the forms
// mail brings them, listed as Shift_JIS; the NG word comes from a UTF-8 file.
TEST_F(DovecotCycle, HeadersOfEveryKindAreListedAsTheyRead) {
  const std::string port = Env("TOLVANE_DOVECOT_PORT");
  if (port.empty()) GTEST_SKIP() << "TOLVANE_DOVECOT_PORT is not set: no private Dovecot running";
  WriteFile(Path("tolvane.ini"), SettingsText({{2, {"H", "127.0.0.1:" + port, "headers", "headers-pw"}}}));
  WriteFile(Path("ngword.txt"), "\xef\xbb\xbf\xe5\xba\x83\xe5\x91\x8a\n");  // 広告, UTF-8 with a byte-order mark
  Start();
  clock->Advance(2000);

  EXPECT_EQ(Form1->Caption(), "Finished.");
  const auto cell = [](int col, int row) { return Form_POPMES->StringGrid1->Cells(col, row); };
  const struct {
    std::string subject, from;
  } expected[] = {
      {" \x89\xef\x8b\x63\x82\xcc\x82\xa8\x92\x6d\x82\xe7\x82\xb9", " \x8e\x52\x93\x63 <yamada@example.jp>"},
      {" \x93\xfa\x96\x7b\x8c\xea", " \x8d\xb2\x93\xa1 <sato@example.jp>"},  // 日本語 cut inside 日; 佐藤
      {" \x87\x40\x87\x8a\xee\xe0\xed\x95", " \x97\xe9\x96\xd8 <suzuki@example.jp>"},  // ①㈱髙﨑; raw UTF-8 鈴木
      {" Re: \x93\xfa\x96\x7b", " Ren\x81\xac <rene@example.fr>"},  // raw Shift_JIS; é as the geta mark
      // The advertisement is not listed; the subject folded over three lines is whole.
      {" \x92\xb7\x82\xa2\x8c\x8f\x96\xbc\x82\xcd\x8e\x4f\x8d\x73\x82\xc9\x90\xdc\x82\xe8\x95\xd4\x82\xb3\x82\xea"
       "\x82\xc4\x93\xcd\x82\xab\x82\xdc\x82\xb7",
       " fold@example.jp"},
  };
  ASSERT_EQ(Form_POPMES->MailCount, static_cast<int>(std::size(expected)));
  for (int r = 0; r < Form_POPMES->MailCount; ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    EXPECT_EQ(cell(0, r), "H");
    EXPECT_BYTES_EQ(cell(1, r), expected[r].subject);
    EXPECT_BYTES_EQ(cell(2, r), expected[r].from);
  }
}

// The mail check against a mailbox that changes between two cycles: the
// maildir of the script's user bulk, empty until this test writes to it.
TEST_F(DovecotCycle, MailThatArrivesAfterMailWasRemovedIsAnnounced) {
  const std::string port = Env("TOLVANE_DOVECOT_PORT"), home = Env("TOLVANE_DOVECOT_HOME");
  if (port.empty() || home.empty()) GTEST_SKIP() << "TOLVANE_DOVECOT_PORT or _HOME is not set: no private Dovecot";
  const std::filesystem::path cur = std::filesystem::path(home) / "bulk" / "Maildir" / "cur";
  ASSERT_TRUE(std::filesystem::is_directory(cur)) << cur;
  std::vector<std::filesystem::path> written;
  const auto deliver = [&](int n) {
    const std::string text = "Subject: arrival " + std::to_string(n) + "\r\nFrom: a" + std::to_string(n) +
                             "@example.jp\r\nMessage-ID: <arrival" + std::to_string(n) + "@example.jp>\r\n\r\nbody\r\n";
    const auto path = cur / (std::to_string(1800000000 + n) + ".M" + std::to_string(n) +
                             "P2.tolvane,S=" + std::to_string(text.size()) + ":2,S");
    WriteFile(path, text);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    written.push_back(path);
  };
  struct Cleanup {
    std::vector<std::filesystem::path>& paths;
    ~Cleanup() {
      for (const auto& p : paths) std::filesystem::remove(p);
    }
  } cleanup{written};
  ASSERT_TRUE(std::filesystem::is_empty(cur)) << "the bulk mailbox is not empty: " << cur;

  WriteFile(Path("tolvane.ini"), SettingsText({{1, {"K", "127.0.0.1:" + port, "bulk", "bulk-pw"}}}, "Stop=1\r\n"));
  Start();
  deliver(1);
  deliver(2);
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 2);
  EXPECT_TRUE(Form_POPMES->isVisible());
  EXPECT_EQ(sound.requests.size(), 1u);
  clock->Advance(4000);

  Form1->CheckAllAccounts();  // the same two
  EXPECT_FALSE(Form_POPMES->isVisible());
  EXPECT_EQ(sound.requests.size(), 1u);

  // The first is read and deleted, a third arrives: still two.
  std::filesystem::remove(written[0]);
  deliver(3);
  Form1->CheckAllAccounts();
  ASSERT_EQ(Form_POPMES->MailCount, 2);
  EXPECT_EQ(Form_POPMES->StringGrid1->Cells(1, 0), " arrival 2");
  EXPECT_EQ(Form_POPMES->StringGrid1->Cells(1, 1), " arrival 3");
  EXPECT_TRUE(Form_POPMES->isVisible());
  EXPECT_EQ(sound.requests.size(), 2u);
  EXPECT_EQ(Form1->Caption(), "Finished.");
}

}  // namespace
}  // namespace app_test
