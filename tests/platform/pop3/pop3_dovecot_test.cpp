// The POP3 client against a real server: the private Dovecot instance of
// scripts/dovecot-test-server.sh, which scripts/test.sh starts around ctest
// and whose port arrives in TOLVANE_DOVECOT_PORT.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "byte_assert.h"
#include "pop3_client.h"

namespace {

std::string Env(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

class Pop3Dovecot : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string port = Env("TOLVANE_DOVECOT_PORT", "");
    if (port.empty())
      GTEST_SKIP() << "TOLVANE_DOVECOT_PORT is not set: no test POP3 server. scripts/test.sh starts one "
                      "(scripts/dovecot-test-server.sh start DIR; then source DIR/env).";
    client.Host = "127.0.0.1:" + port;
    client.UserID = Env("TOLVANE_DOVECOT_USER", "alice");
    client.Password = Env("TOLVANE_DOVECOT_PASSWORD", "alice-pw");
    client.TimeOut = 5000;
    client.IdleTimeOut = 10000;
  }
  TNMPOP3 client;
};

struct Header {
  std::string subject, from;
};

TEST_F(Pop3Dovecot, ListsTheRawSubjectAndFromOfEveryMessage) {
  // The mailbox that the script fills for alice, header values as raw
  // bytes: ISO-2022-JP encoded-words, a folded subject (unfolded), a
  // lower-case "subject:" line that does not count and a message without a
  // sender.
  const std::vector<Header> expected = {
      {" =?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?=",
       " =?ISO-2022-JP?B?GyRCOzNFREJATzobKEI=?= <yamada@example.jp>"},
      {" Hello from Dovecot", " bob@example.com"},
      {" =?ISO-2022-JP?B?GyRCRDkkJDdvTD4kThsoQg==?= =?ISO-2022-JP?B?GyRCQjMkLSRHJDkbKEI=?=",
       " =?ISO-2022-JP?B?GyRCOS05cBsoQg==?= <ad@example.jp>"},
      {" Re: =?ISO-2022-JP?B?GyRCOS05cBsoQg==?= test", ""},
  };
  std::vector<Header> listed;
  std::vector<std::string> status;
  client.OnStatus = [&status](TNMPOP3*, const std::string& text) { status.push_back(text); };
  client.OnConnect = [&listed](TNMPOP3* sender) {
    for (std::int64_t i = 1; i <= sender->MessageCount(); ++i) {
      sender->GetSummary(i);
      listed.push_back({sender->Summary().Subject, sender->Summary().From});
    }
  };
  client.Connect();
  EXPECT_TRUE(client.Connected());
  client.Disconnect();
  EXPECT_FALSE(client.Connected());

  ASSERT_EQ(listed.size(), expected.size());
  for (std::size_t i = 0; i < listed.size(); ++i) {
    SCOPED_TRACE("message " + std::to_string(i + 1));
    EXPECT_BYTES_EQ(listed[i].subject, expected[i].subject);
    EXPECT_BYTES_EQ(listed[i].from, expected[i].from);
  }
  // USER, PASS, STAT, then TOP, LIST and the note for each message, QUIT.
  ASSERT_EQ(status.size(), 3 + 3 * expected.size() + 1);
  EXPECT_EQ(status[1], "+OK Logged in.");
  EXPECT_EQ(status[2].rfind("+OK 4 ", 0), 0u) << status[2];
  EXPECT_EQ(status[5], "Summary Retrieved");
}

TEST_F(Pop3Dovecot, WrongPasswordFailsAndTheNextLoginWorks) {
  client.Password = "wrong";
  std::string error;
  try {
    client.Connect();
  } catch (const EPop3Error& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "-ERR [AUTH] Authentication failed.");
  EXPECT_FALSE(client.Connected());

  client.Password = Env("TOLVANE_DOVECOT_PASSWORD", "alice-pw");
  client.Connect();
  EXPECT_EQ(client.MessageCount(), 4);
  client.Disconnect();
}

TEST_F(Pop3Dovecot, SummaryOfAMissingMessageFails) {
  client.Connect();
  EXPECT_THROW(client.GetSummary(client.MessageCount() + 1), EPop3Error);
  EXPECT_TRUE(client.Connected());  // a refused TOP leaves the session usable
  client.GetSummary(2);
  EXPECT_BYTES_EQ(client.Summary().Subject, " Hello from Dovecot");
  client.Disconnect();
}

}  // namespace
