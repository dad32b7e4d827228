// The POP3 client against a real server: the private Dovecot instance of
// scripts/dovecot-test-server.sh, which scripts/test.sh starts around ctest
// and whose port arrives in TOLVANE_DOVECOT_PORT.
#include <gtest/gtest.h>

#include <algorithm>
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
  bool operator==(const Header&) const = default;
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

// What a listing reads, with every status line it reports, pipelined or
// one command at a time.
struct Listing {
  std::vector<Header> headers;
  std::vector<std::string> ids, status;
  bool pipelined = false;
};

Listing ListMailbox(TNMPOP3& client, bool plan, std::int64_t extra = 0) {
  Listing out;
  client.OnStatus = [&out](TNMPOP3*, const std::string& text) { out.status.push_back(text); };
  client.OnConnect = [&](TNMPOP3* sender) {
    const std::int64_t last = sender->MessageCount() + extra;
    if (plan) {
      sender->BeginListing(last, true);
      out.pipelined = sender->Pipelined();
    }
    sender->GetUniqueIds();
    for (std::int64_t i = 1; i <= last; ++i) {
      sender->GetSummary(i);
      out.headers.push_back({sender->Summary().Subject, sender->Summary().From});
      out.ids.push_back(sender->UniqueId(i));
    }
  };
  try {
    client.Connect();
    client.Disconnect();
  } catch (const EPop3Error& e) {
    out.status.push_back(std::string("error: ") + e.what());
  }
  return out;
}

TEST_F(Pop3Dovecot, PipelinedListingReadsWhatOneCommandAtATimeReads) {
  for (const std::string user : {"alice", "headers"}) {
    SCOPED_TRACE(user);
    client.UserID = user == "alice" ? Env("TOLVANE_DOVECOT_USER", "alice") : user;
    client.Password = user == "alice" ? Env("TOLVANE_DOVECOT_PASSWORD", "alice-pw") : user + "-pw";
    const Listing serial = ListMailbox(client, false);
    ASSERT_TRUE(client.HasCapability("PIPELINING"));
    ASSERT_TRUE(client.HasCapability("UIDL"));
    client.PipelineWindow = 40;  // a few commands: the window refills
    const Listing small = ListMailbox(client, true);
    client.PipelineWindow = 16384;
    const Listing pipelined = ListMailbox(client, true);
    EXPECT_FALSE(serial.pipelined);
    EXPECT_TRUE(pipelined.pipelined);
    ASSERT_GE(serial.headers.size(), 4u);
    for (const Listing* other : {&small, &pipelined}) {
      ASSERT_EQ(other->headers.size(), serial.headers.size());
      for (std::size_t i = 0; i < serial.headers.size(); ++i) {
        EXPECT_BYTES_EQ(other->headers[i].subject, serial.headers[i].subject);
        EXPECT_BYTES_EQ(other->headers[i].from, serial.headers[i].from);
        EXPECT_FALSE(other->ids[i].empty());
      }
      EXPECT_EQ(other->ids, serial.ids);
      EXPECT_EQ(other->status, serial.status);
    }
    // Dovecot's ids are unique in the mailbox.
    std::vector<std::string> ids = serial.ids;
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  }
}

TEST_F(Pop3Dovecot, PipelinedListingPastTheLastMessageEndsAtItsError) {
  // One message beyond the count: its TOP is refused, and the commands
  // behind it in the window are read and dropped before QUIT.
  const Listing serial = ListMailbox(client, false, 1);
  const Listing pipelined = ListMailbox(client, true, 3);
  EXPECT_TRUE(pipelined.pipelined);
  EXPECT_EQ(pipelined.headers, serial.headers);
  ASSERT_FALSE(pipelined.status.empty());
  EXPECT_EQ(pipelined.status, serial.status);
  EXPECT_EQ(pipelined.status.back().rfind("error: -ERR", 0), 0u) << pipelined.status.back();
  // The session ended in step: the next login works at once.
  client.OnConnect = nullptr;
  client.Connect();
  client.Disconnect();
}

}  // namespace
