// The POP3 client against a scripted loopback server: the exact command
// transcript, every failure of the login, the status lines, and a server
// that misbehaves on purpose.
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "byte_assert.h"
#include "pop3_client.h"
#include "pop3_fake_server.h"
#include "mailbox_table.h"

namespace {

using Table = std::map<std::string, FakeReply>;
using Lines = std::vector<std::string>;

Table LoginTable(const std::string& stat = "+OK 2 320\r\n") {
  return {
      {"USER alice", {"+OK alice\r\n"}},
      {"PASS secret", {"+OK logged in\r\n"}},
      {"STAT", {stat}},
      {"QUIT", {"+OK bye\r\n", 0, true}},
  };
}

// A client pointed at the server, with short limits so that no test sleeps
// for long.
std::unique_ptr<TNMPOP3> ClientFor(const FakePop3Server& server) {
  auto client = std::make_unique<TNMPOP3>();
  client->Host = server.host_port();
  client->UserID = "alice";
  client->Password = "secret";
  client->TimeOut = 3000;
  client->IdleTimeOut = 2000;
  return client;
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EPop3Error& e) {
    return e.what();
  }
  return "(no error)";
}

struct Summary {
  std::string subject, from;
};

// Lists every message inside the connect event, as the mail check does.
std::vector<Summary> ListAll(TNMPOP3& client) {
  std::vector<Summary> listed;
  client.OnConnect = [&listed](TNMPOP3* sender) {
    EXPECT_TRUE(sender->Connected());
    for (std::int64_t i = 1; i <= sender->MessageCount(); ++i) {
      sender->GetSummary(i);
      listed.push_back({sender->Summary().Subject, sender->Summary().From});
    }
  };
  client.Connect();
  client.Disconnect();
  return listed;
}

TEST(Pop3Client, LogsInListsEveryMessageAndLogsOut) {
  Table table = LoginTable();
  table["TOP 1 0"] = {"+OK\r\nReceived: x\r\nSubject: hello\r\nFrom: Bob <bob@example.com>\r\n\r\n.\r\n"};
  table["LIST 1"] = {"+OK 1 120\r\n"};
  // No From line; a lower-case subject line is not recognised; a later
  // Subject line replaces an earlier one, folded or not, and its own
  // continuation line joins it.
  table["TOP 2 0"] = {
      "+OK\r\nsubject: lower\r\nSubject: =?ISO-2022-JP?B?GyRCJDMbKEI=?=\r\n =?ISO-2022-JP?B?GyRCJGsbKEI=?=\r\n"
      "Subject: second\r\n .\r\n.\r\n"};
  table["LIST 2"] = {"+OK 2 200\r\n"};
  FakePop3Server server(table);
  ASSERT_TRUE(server.listening());
  auto client = ClientFor(server);
  client->DeleteOnRead = true;  // deletes nothing all the same

  const auto listed = ListAll(*client);

  ASSERT_EQ(listed.size(), 2u);
  EXPECT_BYTES_EQ(listed[0].subject, " hello");
  EXPECT_BYTES_EQ(listed[0].from, " Bob <bob@example.com>");
  EXPECT_BYTES_EQ(listed[1].subject, " second .");
  EXPECT_BYTES_EQ(listed[1].from, "");
  EXPECT_EQ(client->MessageCount(), 2);
  EXPECT_FALSE(client->Connected());
  EXPECT_EQ(server.transcript(),
            (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0", "LIST 1", "TOP 2 0", "LIST 2", "QUIT"}));
}

TEST(Pop3Client, CapabilitiesAreTheClientsOwnExchange) {
  Table table = LoginTable("+OK 0 0\r\n");
  table["CAPA"] = {"+OK Capability list follows\r\nTOP\r\nuidl\r\nSASL PLAIN\r\nX-ERR-HINT\r\n.\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  Lines status;
  // The mail check's own watch: any "ERR" in a status line is a failure.
  client->OnStatus = [&status](TNMPOP3* sender, const std::string& text) {
    status.push_back(text);
    if (text.find("ERR") != std::string::npos) sender->Abort();
  };

  client->Connect();

  EXPECT_EQ(client->Capabilities(), (Lines{"TOP", "uidl", "SASL PLAIN", "X-ERR-HINT"}));
  EXPECT_TRUE(client->HasCapability("UIDL"));
  EXPECT_TRUE(client->HasCapability("sasl"));
  EXPECT_FALSE(client->HasCapability("PIPELINING"));
  EXPECT_FALSE(client->HasCapability("SASL PLAIN"));
  EXPECT_EQ(status, (Lines{"+OK alice", "+OK logged in", "+OK 0 0"}));
  client->Disconnect();

  // "pop3://" is the plain exchange: no CAPA, and nothing left of the last
  // server's answer.
  FakePop3Server plain(table);
  client->Host = "pop3://" + plain.host_port();
  status.clear();
  client->Connect();
  EXPECT_TRUE(client->Capabilities().empty());
  client->Disconnect();
  EXPECT_EQ(plain.transcript(), (Lines{"USER alice", "PASS secret", "STAT", "QUIT"}));
  EXPECT_EQ(status, (Lines{"+OK alice", "+OK logged in", "+OK 0 0", "+OK bye"}));
}

TEST(Pop3Client, FoldedSubjectAndFromAreJoinedUpToTheirCap) {
  const std::string long_line = " " + std::string(99, 'y');  // 100 bytes
  const struct {
    const char* name;
    std::string header;
    std::string subject, from;
  } cases[] = {
      {"continuation lines joined, their blank or tab kept",
       "Subject: one\r\n two\r\n\tthree\r\nFrom: a\r\n <a@example.jp>\r\n", " one two\tthree", " a <a@example.jp>"},
      {"another header's continuation is not taken", "Subject: s\r\nTo: x\r\n y\r\nFrom: f\r\n", " s", " f"},
      {"the blank line ends the header", "Subject: s\r\n\r\n", " s", ""},
      {"joined up to the cap", "Subject: s" + std::string(150, 'x') + "\r\n" + long_line + "\r\n" + long_line + "\r\n",
       " s" + std::string(150, 'x') + long_line, ""},
      {"nothing after a line that did not fit", "Subject: s\r\n" + long_line + long_line + long_line + "\r\n two\r\n",
       " s", ""},
      {"a long first line stays whole", "Subject:" + std::string(300, 'z') + "\r\n more\r\n", std::string(300, 'z'),
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Table table = LoginTable("+OK 1 90\r\n");
    table["TOP 1 0"] = {"+OK\r\n" + c.header + ".\r\n"};
    table["LIST 1"] = {"+OK 1 90\r\n"};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->MaxFoldedValue = 256;
    const auto listed = ListAll(*client);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_BYTES_EQ(listed[0].subject, c.subject);
    EXPECT_BYTES_EQ(listed[0].from, c.from);
  }
  EXPECT_EQ(TNMPOP3().MaxFoldedValue, 16384u);
}

TEST(Pop3Client, StatusEventGetsEveryReplyLineButTheGreeting) {
  Table table = LoginTable("+OK 1 90\r\n");
  table["TOP 1 0"] = {"+OK top follows\r\nSubject: ERR in a header is data\r\n.\r\n"};
  table["LIST 1"] = {"+OK 1 90\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  Lines status;
  client->OnStatus = [&status](TNMPOP3*, const std::string& text) { status.push_back(text); };

  ListAll(*client);

  EXPECT_EQ(status, (Lines{"+OK alice", "+OK logged in", "+OK 1 90", "+OK top follows", "+OK 1 90", "Summary Retrieved",
                           "+OK bye"}));

  status.clear();
  client->ReportLevel = 1;
  ListAll(*client);
  EXPECT_EQ(status, (Lines{"Summary Retrieved"}));
  status.clear();
  client->ReportLevel = 0;
  ListAll(*client);
  EXPECT_TRUE(status.empty());
}

TEST(Pop3Client, EachLoginFailureEndsConnectWithQuit) {
  const struct {
    const char* name;
    std::string greeting;
    std::string failing;  // the command whose reply fails, "" for the greeting
    std::string reply;
    Lines transcript;
  } cases[] = {
      {"greeting", "-ERR go away\r\n", "", "", {"QUIT"}},
      {"garbage greeting", std::string("\x00\xff garbage\r\n", 12), "", "", {"QUIT"}},
      {"USER", "+OK\r\n", "USER alice", "-ERR no such user\r\n", {"CAPA", "USER alice", "QUIT"}},
      {"PASS",
       "+OK\r\n",
       "PASS secret",
       "-ERR [AUTH] Authentication failed.\r\n",
       {"CAPA", "USER alice", "PASS secret", "QUIT"}},
      {"STAT", "+OK\r\n", "STAT", "-ERR mailbox locked\r\n", {"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}},
      {"empty reply", "+OK\r\n", "STAT", "\r\n", {"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Table table = LoginTable();
    if (!c.failing.empty()) table[c.failing] = {c.reply};
    FakePop3Server server(table, {c.greeting});
    auto client = ClientFor(server);
    bool connect_event = false;
    client->OnConnect = [&connect_event](TNMPOP3*) { connect_event = true; };

    EXPECT_THROW(client->Connect(), EPop3Error);

    EXPECT_FALSE(connect_event);
    EXPECT_FALSE(client->Connected());
    EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
    EXPECT_EQ(server.transcript(), c.transcript);
  }
}

TEST(Pop3Client, ErrorCarriesTheServersReplyLine) {
  Table table = LoginTable();
  table["PASS secret"] = {"-ERR [AUTH] Authentication failed.\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "-ERR [AUTH] Authentication failed.");
}

TEST(Pop3Client, RefusesEmptyCredentialsBeforeConnecting) {
  FakePop3Server server(LoginTable());
  const struct {
    std::string user, password;
  } cases[] = {{"", "secret"},
               {"alice", ""},
               {"", ""},
               {"alice\r\nDELE 1", "secret"},
               {"alice", std::string("se\0cret", 7)},
               {"alice", "secret\n"}};
  for (const auto& c : cases) {
    auto client = ClientFor(server);
    client->UserID = c.user;
    client->Password = c.password;
    EXPECT_THROW(client->Connect(), EPop3Error) << c.user << " / " << c.password;
    EXPECT_FALSE(client->Connected());
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(server.connections(), 0);
}

TEST(Pop3Client, SecondConnectWhileConnectedFails) {
  FakePop3Server server(LoginTable());
  auto client = ClientFor(server);
  client->Connect();
  ASSERT_TRUE(client->Connected());
  EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "Already connected.");
  EXPECT_TRUE(client->Connected());
  client->Disconnect();
  EXPECT_EQ(server.connections(), 1);
  EXPECT_EQ(server.transcript(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}));
}

TEST(Pop3Client, HugeStatCountAllocatesNothingPerMessage) {
  Table table = LoginTable("+OK 4294967295 1\r\n");
  table["TOP 4294967295 0"] = {"+OK\r\nSubject: last\r\n.\r\n"};
  table["LIST 4294967295"] = {"+OK 4294967295 1\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->Connect();
  EXPECT_EQ(client->MessageCount(), 4294967295LL);
  client->GetSummary(client->MessageCount());
  EXPECT_BYTES_EQ(client->Summary().Subject, " last");
  client->Disconnect();
}

TEST(Pop3Client, NonNumericStatCountIsZero) {
  FakePop3Server server(LoginTable("+OK many 1000\r\n"));
  auto client = ClientFor(server);
  int events = 0;
  client->OnConnect = [&events](TNMPOP3* sender) {
    ++events;
    EXPECT_EQ(sender->MessageCount(), 0);
  };
  client->Connect();
  EXPECT_EQ(events, 1);
  client->Disconnect();
}

TEST(Pop3Client, ListingFailureClosesTheConnection) {
  // Leaving it open would make every later connect fail as "already
  // connected".
  for (const char* failing : {"TOP 1 0", "LIST 1"}) {
    SCOPED_TRACE(failing);
    Table table = LoginTable();
    table["TOP 1 0"] = {"+OK\r\nSubject: one\r\n.\r\n"};
    table["LIST 1"] = {"+OK 1 10\r\n"};
    table[failing] = {"-ERR no such message\r\n"};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->OnConnect = [](TNMPOP3* sender) { sender->GetSummary(1); };
    EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "-ERR no such message");
    EXPECT_FALSE(client->Connected());
    EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
    EXPECT_EQ(server.transcript().back(), "QUIT");
    // and the next account can connect on the same client
    client->OnConnect = nullptr;
    client->Connect();
    client->Disconnect();
  }
}

TEST(Pop3Client, HandlerErrorLeavesConnectAfterQuit) {
  FakePop3Server server(LoginTable());
  auto client = ClientFor(server);
  client->OnConnect = [](TNMPOP3*) { throw std::runtime_error("listing failed"); };
  EXPECT_THROW(client->Connect(), std::runtime_error);
  EXPECT_FALSE(client->Connected());
  EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
  EXPECT_EQ(server.transcript(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}));
}

TEST(Pop3Client, DisconnectClosesEvenOnAnErrorReply) {
  Table table = LoginTable();
  table["QUIT"] = {"-ERR cannot update\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->Connect();
  EXPECT_EQ(ErrorOf([&] { client->Disconnect(); }), "-ERR cannot update");
  EXPECT_FALSE(client->Connected());
  EXPECT_NO_THROW(client->Disconnect());  // idle and closed: nothing to do
}

TEST(Pop3Client, DisconnectToleratesAPeerThatHungUp) {
  Table table = LoginTable();
  table["QUIT"] = {"", 0, true};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->Connect();
  EXPECT_NO_THROW(client->Disconnect());
  EXPECT_FALSE(client->Connected());
}

TEST(Pop3Client, AbortEndsAPendingWaitAtOnce) {
  Table table = LoginTable();
  table["STAT"] = {""};  // never answered
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->IdleTimeOut = 20000;
  QTimer::singleShot(50, [&] { client->Abort(); });
  QElapsedTimer elapsed;
  elapsed.start();
  EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "The POP3 exchange was aborted.");
  EXPECT_LT(elapsed.elapsed(), 2000);
  EXPECT_FALSE(client->Connected());
  EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
  EXPECT_EQ(server.transcript(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT"}));  // no QUIT after an abort
}

TEST(Pop3Client, AbortFromTheStatusEventEndsTheExchange) {
  // The mail check aborts when a status line holds "ERR".
  Table table = LoginTable();
  table["PASS secret"] = {"-ERR authorization failed\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->OnStatus = [](TNMPOP3* sender, const std::string& text) {
    if (text.find("ERR") != std::string::npos) sender->Abort();
  };
  EXPECT_THROW(client->Connect(), EPop3Error);
  EXPECT_FALSE(client->Connected());
  EXPECT_EQ(server.transcript(), (Lines{"CAPA", "USER alice", "PASS secret"}));

  // An abort on a positive reply fails the call as well.
  FakePop3Server second(LoginTable());
  client->Host = second.host_port();
  client->OnStatus = [](TNMPOP3* sender, const std::string& text) {
    if (text == "+OK logged in") sender->Abort();
  };
  EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "The POP3 exchange was aborted.");
  EXPECT_EQ(second.transcript(), (Lines{"CAPA", "USER alice", "PASS secret"}));
}

TEST(Pop3Client, AbortWhileIdle) {
  FakePop3Server server(LoginTable());
  auto client = ClientFor(server);
  EXPECT_NO_THROW(client->Abort());  // idle, not connected: nothing
  client->Connect();
  client->Abort();  // idle, connected: closes
  EXPECT_FALSE(client->Connected());
  EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
  client->Connect();  // the client is usable again
  EXPECT_TRUE(client->Connected());
  client->Disconnect();
}

TEST(Pop3Client, ReentrantCallsDuringAWaitAreRefusedAndLeaveItAlone) {
  Table table = LoginTable();
  table["STAT"] = {"+OK 1 50\r\n", 300};
  table["TOP 1 0"] = {"+OK\r\nSubject: one\r\n.\r\n"};
  table["LIST 1"] = {"+OK 1 50\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  std::vector<std::string> refused;
  QTimer::singleShot(50, [&] {
    refused.push_back(ErrorOf([&] { client->Connect(); }));
    refused.push_back(ErrorOf([&] { client->GetSummary(1); }));
    refused.push_back(ErrorOf([&] { client->Noop(); }));
  });
  const auto listed = ListAll(*client);
  ASSERT_EQ(refused.size(), 3u);
  for (const auto& e : refused) EXPECT_NE(e.find("busy"), std::string::npos) << e;
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_BYTES_EQ(listed[0].subject, " one");
  EXPECT_EQ(server.transcript(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0", "LIST 1", "QUIT"}));
}

TEST(Pop3Client, DisconnectFromAHandlerEndsThePendingWait) {
  Table table = LoginTable();
  table["STAT"] = {""};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  QTimer::singleShot(50, [&] { client->Disconnect(); });
  EXPECT_THROW(client->Connect(), EPop3Error);
  EXPECT_FALSE(client->Connected());
}

TEST(Pop3Client, DestroyedByAHandlerDuringAWait) {
  for (const char* waiting_on : {"STAT", "TOP 1 0"}) {
    SCOPED_TRACE(waiting_on);
    Table table = LoginTable("+OK 1 10\r\n");
    table["TOP 1 0"] = {"+OK\r\nSubject: x\r\n.\r\n"};
    table["LIST 1"] = {"+OK 1 10\r\n"};
    table[waiting_on] = {""};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    TNMPOP3* raw = client.get();
    raw->OnConnect = [](TNMPOP3* sender) { sender->GetSummary(1); };
    QTimer::singleShot(50, [&] { client.reset(); });
    EXPECT_EQ(ErrorOf([&] { raw->Connect(); }), "The POP3 client was destroyed while it waited.");
    EXPECT_EQ(client, nullptr);
    EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
  }
}

TEST(Pop3Client, DestroyedByTheStatusEvent) {
  FakePop3Server server(LoginTable());
  auto client = ClientFor(server);
  TNMPOP3* raw = client.get();
  raw->OnStatus = [&](TNMPOP3*, const std::string&) { client.reset(); };
  EXPECT_THROW(raw->Connect(), EPop3Error);
  EXPECT_EQ(client, nullptr);
}

TEST(Pop3Client, DestroyedByTheConnectEvent) {
  FakePop3Server server(LoginTable());
  auto client = ClientFor(server);
  TNMPOP3* raw = client.get();
  raw->OnConnect = [&](TNMPOP3*) { client.reset(); };
  EXPECT_THROW(raw->Connect(), EPop3Error);
  EXPECT_EQ(client, nullptr);
}

TEST(Pop3Client, ConnectionDroppedMidReply) {
  const struct {
    const char* name;
    std::string top;
  } cases[] = {
      {"mid-line", "+OK\r\nSubject: x\r\nFro"},
      {"between lines", "+OK\r\nSubject: x\r\n"},
      {"before the reply", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Table table = LoginTable("+OK 1 10\r\n");
    table["TOP 1 0"] = {c.top, 0, true};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->OnConnect = [](TNMPOP3* sender) { sender->GetSummary(1); };
    EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "The POP3 server closed the connection.");
    EXPECT_FALSE(client->Connected());
  }
}

TEST(Pop3Client, ServerSilentInTheMiddleOfAReply) {
  const struct {
    const char* name;
    std::string top;
  } cases[] = {
      {"no terminator", "+OK\r\nSubject: x\r\n"},
      {"half a line", "+OK\r\nSubject: x"},
      {"no reply at all", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Table table = LoginTable("+OK 1 10\r\n");
    table["TOP 1 0"] = {c.top};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->IdleTimeOut = 200;
    client->OnConnect = [](TNMPOP3* sender) { sender->GetSummary(1); };
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "The POP3 server sent nothing for 200 ms.");
    EXPECT_GE(elapsed.elapsed(), 190);
    EXPECT_LT(elapsed.elapsed(), 3000);
    EXPECT_FALSE(client->Connected());
  }
}

TEST(Pop3Client, SlowButSteadyReplyIsNotASilence) {
  // The limit is on silence, not on the whole reply.
  Table table = LoginTable();
  table["STAT"] = {"+OK 3 30\r\n", 300};
  FakePop3Server server(table, {"+OK hi\r\n", 300});
  auto client = ClientFor(server);
  client->IdleTimeOut = 500;
  client->Connect();
  EXPECT_EQ(client->MessageCount(), 3);
  client->Disconnect();
}

TEST(Pop3Client, LineLengthCap) {
  const std::size_t cap = 1024;
  const struct {
    const char* name;
    std::string subject_line;
    bool ok;
  } cases[] = {
      {"exactly the cap", "Subject:" + std::string(cap - 8, 'a') + "\r\n", true},
      {"exactly the cap, bare LF", "Subject:" + std::string(cap - 8, 'a') + "\n", true},
      {"one byte over", "Subject:" + std::string(cap - 7, 'a') + "\r\n", false},
      {"far over, no line end", std::string(cap * 5, 'a'), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Table table = LoginTable("+OK 1 10\r\n");
    table["TOP 1 0"] = {"+OK\r\n" + c.subject_line + (c.ok ? ".\r\n" : "")};
    table["LIST 1"] = {"+OK 1 10\r\n"};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->MaxLineLength = cap;
    client->IdleTimeOut = 20000;  // a failure must come from the cap, not the clock
    client->OnConnect = [](TNMPOP3* sender) { sender->GetSummary(1); };
    QElapsedTimer elapsed;
    elapsed.start();
    if (c.ok) {
      client->Connect();
      client->GetSummary(1);
      EXPECT_EQ(client->Summary().Subject.size(), cap - 8);
      client->Disconnect();
    } else {
      EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "The POP3 server sent a line longer than 1024 bytes.");
      EXPECT_FALSE(client->Connected());
    }
    EXPECT_LT(elapsed.elapsed(), 5000);
  }
}

TEST(Pop3Client, GiantLineAtTheDefaultCap) {
  Table table = LoginTable();
  FakeReply flood{"+OK ", 0, false, "x", 100u << 20, "\r\n"};
  table["STAT"] = flood;
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->IdleTimeOut = 20000;
  EXPECT_EQ(ErrorOf([&] { client->Connect(); }), "The POP3 server sent a line longer than 65536 bytes.");
  EXPECT_FALSE(client->Connected());
}

// Resident set size now, from /proc.
long RssKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST(Pop3Client, HugeTopReplyKeepsOnlyTheHeaderValues) {
  const std::size_t flood = std::size_t{96} << 20;
  Table table = LoginTable("+OK 1 10\r\n");
  table["TOP 1 0"] = {"+OK\r\nSubject: first\r\n", 0, false, "X-Filler: " + std::string(200, 'f') + "\r\n", flood,
                      "From: late\r\n.\r\n"};
  table["LIST 1"] = {"+OK 1 10\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->Connect();
  const long before = RssKiB();
  long peak = before;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] { peak = std::max(peak, RssKiB()); });
  sampler.start(5);
  client->GetSummary(1);
  sampler.stop();
  const long growth = peak - before;
  EXPECT_BYTES_EQ(client->Summary().Subject, " first");
  EXPECT_BYTES_EQ(client->Summary().From, " late");
  client->Disconnect();
#if !defined(__SANITIZE_ADDRESS__)
  // ASan's quarantine of freed blocks makes the figure meaningless there.
  EXPECT_LT(growth, 32 * 1024) << "peak RSS grew by " << growth << " KiB";
#else
  (void)growth;
#endif
}

TEST(Pop3Client, RawBytesInHeadersComeBackUnchanged) {
  const std::string subject = std::string(" \x00\x01\xff\x80\x1b$B$3$s\x1b(B\r", 15) + "x";
  const std::string from = "\xe3\x81\x82 <\x7f@\xfe>";
  Table table = LoginTable("+OK 1 10\r\n");
  // Bare LF line ends are taken too; a stuffed ".." line is not the end.
  table["TOP 1 0"] = {"+OK\nSubject:" + subject + "\r\nFrom:" + from + "\n..\r\n..Subject: no\r\n.\r\n"};
  table["LIST 1"] = {"+OK 1 10\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->Connect();
  client->GetSummary(1);
  EXPECT_BYTES_EQ(client->Summary().Subject, subject);
  EXPECT_BYTES_EQ(client->Summary().From, from);
  client->Disconnect();
  EXPECT_EQ(server.transcript(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0", "LIST 1", "QUIT"}));
}

TEST(Pop3Client, GarbageRepliesFailWithoutHarm) {
  const std::string cases[] = {
      std::string("\x00\x00\x00\r\n", 5),
      "\xff\xfe\xfd\r\n",
      "+O\r\nK\r\n",
      std::string(3000, '\0'),
  };
  for (const auto& reply : cases) {
    Table table = LoginTable();
    table["USER alice"] = {reply};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->IdleTimeOut = 300;
    EXPECT_THROW(client->Connect(), EPop3Error);
    EXPECT_FALSE(client->Connected());
  }
}

TEST(Pop3Client, RandomRepliesNeverCrash) {
  // Seeded noise in place of the STAT and TOP replies, with enough CR, LF,
  // dots and "+OK" in it to reach every branch of the reply reader.
  std::mt19937 random(20261211);
  const std::string pieces[] = {
      "\r\n", "\n", "\r", ".", "..", "+OK", "-ERR", " ", "Subject:", "From:", std::string(1, '\0'), "\xff", "\x1b$B"};
  for (int round = 0; round < 24; ++round) {
    std::string noise;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      if (random() % 3 == 0) noise += pieces[random() % std::size(pieces)];
      else noise += static_cast<char>(random() % 256);
    }
    Table table = LoginTable("+OK 1 10\r\n");
    table[round % 2 ? "TOP 1 0" : "STAT"] = {(round % 4 < 2 ? "+OK\r\n" : "") + noise, 0, round % 3 == 0};
    table["LIST 1"] = {"+OK 1 10\r\n"};
    FakePop3Server server(table);
    auto client = ClientFor(server);
    client->IdleTimeOut = 100;
    client->OnConnect = [](TNMPOP3* sender) {
      for (std::int64_t i = 1; i <= std::min<std::int64_t>(sender->MessageCount(), 3); ++i) sender->GetSummary(i);
    };
    try {
      client->Connect();
      client->Disconnect();
    } catch (const EPop3Error&) {
      EXPECT_FALSE(client->Connected()) << "round " << round;
    }
  }
}

TEST(Pop3Client, ServerCellWithPortAndIpv6) {
  FakePop3Server v4(LoginTable());
  auto client = ClientFor(v4);
  // A plain host uses Port.
  client->Host = "127.0.0.1";
  client->Port = v4.port();
  client->Connect();
  client->Disconnect();
  EXPECT_EQ(v4.connections(), 1);

  FakePop3Server v6(LoginTable(), {"+OK v6\r\n"}, QHostAddress::LocalHostIPv6);
  if (!v6.listening()) GTEST_SKIP() << "no IPv6 loopback on this machine";
  client->Host = v6.host_port();  // "[::1]:port"
  client->Port = 1;               // not used: the cell names its port
  client->Connect();
  client->Disconnect();
  client->Host = "::1";  // a bare IPv6 address uses Port
  client->Port = v6.port();
  client->Connect();
  client->Disconnect();
  EXPECT_EQ(v6.connections(), 2);
}

TEST(Pop3Client, UnknownHostFails) {
  auto client = std::make_unique<TNMPOP3>();
  client->Host = "no-such-host.invalid";
  client->UserID = "alice";
  client->Password = "secret";
  client->TimeOut = 3000;
  QElapsedTimer elapsed;
  elapsed.start();
  EXPECT_THROW(client->Connect(), EPop3Error);
  EXPECT_LT(elapsed.elapsed(), 6000);
  EXPECT_FALSE(client->Connected());
}

TEST(Pop3Client, ConnectTimeOut) {
  // A listener whose accept queue is full drops further SYNs, so the
  // connection neither opens nor fails.
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 0), 0);
  socklen_t length = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers.push_back(filler);
  }
  auto client = std::make_unique<TNMPOP3>();
  client->Host = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  client->UserID = "alice";
  client->Password = "secret";
  client->TimeOut = 300;
  QElapsedTimer elapsed;
  elapsed.start();
  const std::string error = ErrorOf([&] { client->Connect(); });
  const qint64 took = elapsed.elapsed();
  for (int fd : fillers) ::close(fd);
  ::close(listener);
  EXPECT_LT(took, 3000);
  EXPECT_FALSE(client->Connected());
  // On a kernel that answers anyway the greeting wait (not the connect)
  // would have to fail, which the idle limit of 60 s forbids here.
  EXPECT_EQ(error, "No connection to 127.0.0.1 within 300 ms.");
}

TEST(Pop3Client, RefusedConnectionFails) {
  quint16 port = 0;
  {
    FakePop3Server closed(LoginTable());
    port = closed.port();
  }
  auto client = std::make_unique<TNMPOP3>();
  client->Host = "127.0.0.1:" + std::to_string(port);
  client->UserID = "alice";
  client->Password = "secret";
  const std::string error = ErrorOf([&] { client->Connect(); });
  EXPECT_EQ(error.rfind("Cannot connect to 127.0.0.1", 0), 0u) << error;
}

}  // namespace

namespace {

using test_support::Mail;
using test_support::MailboxTable;
using test_support::PlainMails;

// The mail check's listing: the plan, the ids when the server has them,
// then every summary in order.
struct Listed {
  std::vector<Summary> summaries;
  Lines ids;
  Lines status;
  std::string error;
  bool pipelined = false;
};

Listed ListPlanned(TNMPOP3& client, std::int64_t limit = -1) {
  Listed out;
  client.UserID = "user";
  client.Password = "pw";
  client.OnStatus = [&out](TNMPOP3*, const std::string& text) { out.status.push_back(text); };
  client.OnConnect = [&out, limit](TNMPOP3* sender) {
    const std::int64_t last = limit < 0 ? sender->MessageCount() : std::min(limit, sender->MessageCount());
    const bool uidl = sender->HasCapability("UIDL");
    sender->BeginListing(last, uidl);
    out.pipelined = sender->Pipelined();
    if (uidl) sender->GetUniqueIds();
    for (std::int64_t i = 1; i <= last; ++i) {
      sender->GetSummary(i);
      out.summaries.push_back({sender->Summary().Subject, sender->Summary().From});
      out.ids.push_back(sender->UniqueId(i));
    }
  };
  out.error = ErrorOf([&] {
    client.Connect();
    client.Disconnect();
  });
  return out;
}

Lines ListingTranscript(int mails, bool capa, bool uidl) {
  Lines t;
  if (capa) t.push_back("CAPA");
  for (const char* c : {"USER user", "PASS pw", "STAT"}) t.push_back(c);
  if (uidl) t.push_back("UIDL");
  for (int i = 1; i <= mails; ++i) {
    t.push_back("TOP " + std::to_string(i) + " 0");
    t.push_back("LIST " + std::to_string(i));
  }
  t.push_back("QUIT");
  return t;
}

TEST(Pop3Pipelining, SameExchangeAndReportsWithOrWithoutPipelining) {
  const int mails = 300;
  const struct {
    const char* name;
    Lines capabilities;
    std::string scheme;
    std::size_t window;
    bool pipelined, uidl;
  } cases[] = {
      {"PIPELINING, default window", {"PIPELINING", "UIDL"}, "", 16384, true, true},
      {"PIPELINING, a window that refills often", {"UIDL", "PIPELINING"}, "", 200, true, true},
      {"PIPELINING, a window smaller than one command", {"PIPELINING"}, "", 1, true, false},
      {"no PIPELINING", {"UIDL"}, "", 16384, false, true},
      {"pop3:// asks no CAPA", {"PIPELINING", "UIDL"}, "pop3://", 16384, false, false},
  };
  Lines reference;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakePop3Server server(MailboxTable("user", "pw", PlainMails(mails), c.capabilities));
    auto client = ClientFor(server);
    client->Host = c.scheme + server.host_port();
    client->PipelineWindow = c.window;
    const Listed listed = ListPlanned(*client);
    EXPECT_EQ(listed.error, "(no error)");
    EXPECT_EQ(listed.pipelined, c.pipelined);
    // Commands arrive ahead of the replies only when pipelined (with a
    // window of one byte, one command goes ahead of the reply being read).
    if (c.window > 1) {
      EXPECT_EQ(server.max_batch() > 1, c.pipelined) << server.max_batch();
    }
    EXPECT_EQ(server.transcript(), ListingTranscript(mails, c.scheme.empty(), c.uidl));
    ASSERT_EQ(listed.summaries.size(), static_cast<std::size_t>(mails));
    for (int i : {0, 150, 299}) {
      EXPECT_BYTES_EQ(listed.summaries[i].subject, " mail " + std::to_string(i + 1));
      EXPECT_BYTES_EQ(listed.summaries[i].from, " sender " + std::to_string(i + 1));
      EXPECT_EQ(listed.ids[i], c.uidl ? "uid-" + std::to_string(i + 1) : "");
    }
    // Every reply is reported as it is consumed, in the order of the
    // commands; UIDL's, like CAPA's, never.
    ASSERT_EQ(listed.status.size(), 3u + 3u * mails + 1u);
    EXPECT_EQ(listed.status[3], "+OK");
    EXPECT_EQ(listed.status[4], "+OK 1 100");
    EXPECT_EQ(listed.status[5], "Summary Retrieved");
    EXPECT_EQ(listed.status[3 * mails + 1], "+OK " + std::to_string(mails) + " 100");
    EXPECT_EQ(listed.status.back(), "+OK bye");
    if (reference.empty()) reference = listed.status;
    EXPECT_EQ(listed.status, reference);
  }
}

// What goes wrong half way through a window ends the listing exactly where
// it ends one command at a time.
TEST(Pop3Pipelining, FailuresMidWindow) {
  const Lines pipelining = {"PIPELINING", "UIDL"};
  const struct {
    const char* name;
    FakeReply top20;
    bool abort_on_err;  // the mail check's watch: any "ERR" aborts
    int abort_after_ms;
    std::string error;
    bool quit;
  } cases[] = {
      {"-ERR, replies in flight dropped before QUIT",
       {"-ERR no such message\r\n"},
       false,
       0,
       "-ERR no such message",
       true},
      {"-ERR that the status watch aborts on", {"-ERR no such message\r\n"}, true, 0, "-ERR no such message", false},
      {"drop mid-reply", {"+OK\r\nSubject: cut", 0, true}, false, 0, "The POP3 server closed the connection.", false},
      {"drop before the reply", {"", 0, true}, false, 0, "The POP3 server closed the connection.", false},
      {"abort while a reply is due",
       {"", 0, false, {}, 0, {}, true},
       false,
       100,
       "The POP3 exchange was aborted.",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto table = MailboxTable("user", "pw", PlainMails(60), pipelining);
    table["TOP 20 0"] = c.top20;
    // Holds back every reply behind it: a client that sent QUIT without
    // reading what was in flight would send it before these are written.
    table["LIST 20"].delay_ms = 200;
    table.erase("QUIT");
    FakePop3Server server(table);
    int written_before_quit = -1;
    server.set_responder([&](const std::string& line) -> std::optional<FakeReply> {
      if (line != "QUIT") return std::nullopt;
      written_before_quit = server.replies_written();
      return FakeReply{"+OK bye\r\n", 0, true};
    });
    auto client = ClientFor(server);
    client->PipelineWindow = 400;  // about 35 commands
    if (c.abort_after_ms) QTimer::singleShot(c.abort_after_ms, [&] { client->Abort(); });
    QElapsedTimer elapsed;
    elapsed.start();
    Listed listed;
    if (c.abort_on_err) {
      // ListPlanned sets its own status recorder; wrap it.
      client->UserID = "user";
      client->Password = "pw";
      client->OnStatus = [&listed](TNMPOP3* sender, const std::string& text) {
        listed.status.push_back(text);
        if (text.find("ERR") != std::string::npos) sender->Abort();
      };
      client->OnConnect = [&listed](TNMPOP3* sender) {
        sender->BeginListing(sender->MessageCount(), true);
        sender->GetUniqueIds();
        for (std::int64_t i = 1; i <= sender->MessageCount(); ++i) {
          sender->GetSummary(i);
          listed.summaries.push_back({sender->Summary().Subject, sender->Summary().From});
        }
      };
      listed.error = ErrorOf([&] { client->Connect(); });
    } else {
      listed = ListPlanned(*client);
    }
    EXPECT_EQ(listed.error, c.error);
    EXPECT_LT(elapsed.elapsed(), 3000);
    EXPECT_FALSE(client->Connected());
    // A server that hangs up while commands still arrive resets the
    // connection, and its kernel and ours drop what was not yet read: a drop
    // may cost replies that were sent.
    const bool drop = c.error == "The POP3 server closed the connection.";
    if (drop) {
      EXPECT_LE(listed.summaries.size(), 19u);
    } else {
      EXPECT_EQ(listed.summaries.size(), 19u);
    }
    for (std::size_t i = 0; i < listed.summaries.size(); ++i)
      EXPECT_BYTES_EQ(listed.summaries[i].subject, " mail " + std::to_string(i + 1));
    EXPECT_GT(server.max_batch(), 1);
    // Nothing after the last summary is reported but an error reply itself.
    const auto retrieved = std::count(listed.status.begin(), listed.status.end(), "Summary Retrieved");
    EXPECT_EQ(retrieved, static_cast<long>(listed.summaries.size()));
    if (c.error.front() == '-') {
      EXPECT_EQ(listed.status.back(), c.error);
    }
    EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
    const Lines& t = server.transcript();
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back() == "QUIT", c.quit) << t.back();
    if (c.quit) {
      // Every command before QUIT had its reply written, the greeting too.
      EXPECT_EQ(written_before_quit, static_cast<int>(t.size()));
      EXPECT_GT(t.size(), ListingTranscript(19, true, true).size() + 2) << "nothing was in flight";
    }
  }
}

// A handler that throws ends the listing with its own error; a QUIT follows
// only when the replies still due can be told apart.
TEST(Pop3Pipelining, HandlerThrowingMidWindow) {
  const struct {
    const char* name;
    std::string on;  // the status text whose 10th report throws
    bool quit;
  } cases[] = {
      {"between replies: in step", "Summary Retrieved", true},
      {"with a TOP reply half read: out of step", "+OK", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakePop3Server server(MailboxTable("user", "pw", PlainMails(60), {"PIPELINING"}));
    auto client = ClientFor(server);
    client->UserID = "user";
    client->Password = "pw";
    int seen = 0;
    client->OnStatus = [&](TNMPOP3*, const std::string& text) {
      if (text == c.on && ++seen == 10) throw std::runtime_error("handler failed");
    };
    client->OnConnect = [](TNMPOP3* sender) {
      sender->BeginListing(sender->MessageCount(), false);
      for (std::int64_t i = 1; i <= sender->MessageCount(); ++i) sender->GetSummary(i);
    };
    EXPECT_THROW(client->Connect(), std::runtime_error);
    EXPECT_FALSE(client->Connected());
    EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
    EXPECT_EQ(server.transcript().back() == "QUIT", c.quit);
    // The client is usable again.
    client->OnStatus = nullptr;
    client->OnConnect = nullptr;
    client->Connect();
    client->Disconnect();
  }
}

TEST(Pop3Pipelining, CallsThatLeaveThePlanGetTheirOwnReplies) {
  FakePop3Server server(MailboxTable("user", "pw", PlainMails(40), {"PIPELINING", "UIDL"}));
  server.set_responder([](const std::string& line) -> std::optional<FakeReply> {
    if (line == "NOOP") return FakeReply{"+OK noop\r\n"};
    return std::nullopt;
  });
  auto client = ClientFor(server);
  client->UserID = "user";
  client->Password = "pw";
  Lines status;
  client->OnStatus = [&status](TNMPOP3*, const std::string& text) { status.push_back(text); };
  client->Connect();
  client->BeginListing(40, true);
  EXPECT_TRUE(client->Pipelined());
  // Skips the ids: what was in flight is dropped, the rest goes one at a
  // time.
  client->GetSummary(1);
  EXPECT_BYTES_EQ(client->Summary().Subject, " mail 1");
  EXPECT_FALSE(client->Pipelined());
  client->BeginListing(40, true);
  client->GetUniqueIds();
  EXPECT_EQ(client->UniqueId(40), "uid-40");
  client->GetSummary(1);
  client->GetSummary(7);  // out of order
  EXPECT_BYTES_EQ(client->Summary().Subject, " mail 7");
  EXPECT_BYTES_EQ(client->Summary().From, " sender 7");
  client->BeginListing(40, false);
  client->GetSummary(1);
  status.clear();
  client->Noop();
  EXPECT_EQ(status, (Lines{"+OK noop"}));
  client->BeginListing(3, false);
  client->GetSummary(1);
  client->Disconnect();  // drops TOP 2, LIST 2 ... before its QUIT
  EXPECT_EQ(status.back(), "+OK bye");
  EXPECT_FALSE(client->Connected());
  EXPECT_EQ(server.transcript().back(), "QUIT");
  // The next connection starts with no plan.
  client->Connect();
  EXPECT_FALSE(client->Pipelined());
  EXPECT_EQ(client->UniqueId(1), "");
  client->Disconnect();
}

TEST(Pop3Pipelining, ReentrantCallsMidWindowAreRefusedAndDestroyIsSafe) {
  for (bool destroy : {false, true}) {
    SCOPED_TRACE(destroy ? "destroyed" : "re-entered");
    auto table = MailboxTable("user", "pw", PlainMails(30), {"PIPELINING"});
    table["TOP 10 0"].delay_ms = 300;
    FakePop3Server server(table);
    auto client = ClientFor(server);
    TNMPOP3* raw = client.get();
    Lines refused;
    QTimer::singleShot(100, [&] {
      if (destroy) {
        client.reset();
        return;
      }
      refused.push_back(ErrorOf([&] { raw->Connect(); }));
      refused.push_back(ErrorOf([&] { raw->GetSummary(11); }));
      refused.push_back(ErrorOf([&] { raw->BeginListing(30, false); }));
      refused.push_back(ErrorOf([&] { raw->GetUniqueIds(); }));
      refused.push_back(ErrorOf([&] { raw->Noop(); }));
    });
    int listed = 0;
    raw->UserID = "user";
    raw->Password = "pw";
    raw->OnConnect = [&listed](TNMPOP3* sender) {
      sender->BeginListing(sender->MessageCount(), false);
      for (std::int64_t i = 1; i <= sender->MessageCount(); ++i) {
        sender->GetSummary(i);
        ++listed;
      }
    };
    const std::string error = ErrorOf([&] {
      raw->Connect();
      raw->Disconnect();
    });
    if (destroy) {
      EXPECT_EQ(error, "The POP3 client was destroyed while it waited.");
      EXPECT_EQ(listed, 9);
      EXPECT_TRUE(SpinUntil([&] { return server.peer_closed(); }));
      continue;
    }
    EXPECT_EQ(error, "(no error)");
    EXPECT_EQ(listed, 30);
    ASSERT_EQ(refused.size(), 5u);
    for (const auto& e : refused) EXPECT_NE(e.find("busy"), std::string::npos) << e;
    EXPECT_EQ(server.transcript(), ListingTranscript(30, true, false));
  }
}

TEST(Pop3Pipelining, UniqueIdsOfAHostileServerAreBounded) {
  auto table = MailboxTable("user", "pw", PlainMails(4), {"UIDL"});
  const std::string id70(70, 'i');
  std::string uidl = "+OK\r\n1 " + id70 + "\r\n2 " + id70 + "x\r\n3 a b\r\n0 zero\r\n-4 minus\r\n4 \x7f\r\n" +
                     "3 three\r\n3 \r\n99 far\r\n";
  // and a flood of lines past the message count
  table["UIDL"] = {uidl, 0, false, "4000000000 " + id70 + "\r\n", std::size_t{8} << 20, "2 two\r\n.\r\n"};
  FakePop3Server server(table);
  auto client = ClientFor(server);
  client->MaxUniqueIds = 3;
  const Listed listed = ListPlanned(*client);
  EXPECT_EQ(listed.error, "(no error)");
  ASSERT_EQ(listed.ids.size(), 4u);
  EXPECT_EQ(listed.ids, (Lines{id70, "two", "three", ""}));
  // A refused UIDL leaves every id unknown, and the listing goes on.
  table["UIDL"] = {"-ERR not now\r\n"};
  FakePop3Server refusing(table);
  auto second = ClientFor(refusing);
  const Listed plain = ListPlanned(*second);
  EXPECT_EQ(plain.error, "(no error)");
  EXPECT_EQ(plain.ids, (Lines{"", "", "", ""}));
  EXPECT_EQ(plain.summaries.size(), 4u);
}

}  // namespace
