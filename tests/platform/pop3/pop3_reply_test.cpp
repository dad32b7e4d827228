#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "byte_assert.h"
#include "pop3_address.h"
#include "pop3_error.h"
#include "pop3_reply.h"

namespace {

TEST(Pop3Reply, OkTestLooksAtTheFirstWordOnly) {
  const struct {
    const char* line;
    bool ok;
  } cases[] = {
      {"+OK", true},
      {"+OK 2 320", true},
      {"+OKAY fine", true},
      {"x+OKx", true},
      {"  +OK padded", true},
      {"-ERR +OK", false},
      {"", false},
      {"+ok", false},
      {"OK", false},
      {"-ERR [AUTH] Authentication failed.", false},
  };
  for (const auto& c : cases) EXPECT_EQ(pop3::IsOkReply(c.line), c.ok) << '"' << c.line << '"';
}

TEST(Pop3Reply, StatCountIsTheSecondWordOrZero) {
  const struct {
    const char* line;
    std::int64_t count;
  } cases[] = {
      {"+OK 2 320", 2},
      {"+OK   7\t99", 7},
      {"+OK 0 0", 0},
      {"+OK", 0},
      {"+OK abc 100", 0},
      {"+OK 12abc 100", 0},
      {"+OK -3 0", 0},
      {"+OK +3 0", 0},
      {"+OK 4294967295 1", 4294967295LL},
      {"+OK 9223372036854775807 1", INT64_MAX},
      {"+OK 9223372036854775808 1", 0},
      {"+OK 99999999999999999999999 1", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(pop3::ParseStatCount(c.line), c.count) << '"' << c.line << '"';
}

TEST(Pop3Reply, LineEndsAndDotStuffing) {
  EXPECT_BYTES_EQ(std::string(pop3::StripLineEnd("abc\r\n")), "abc");
  EXPECT_BYTES_EQ(std::string(pop3::StripLineEnd("abc\n")), "abc");
  EXPECT_BYTES_EQ(std::string(pop3::StripLineEnd("a\rb\r\r\n")), "a\rb\r");
  EXPECT_TRUE(pop3::IsTerminator("."));
  EXPECT_FALSE(pop3::IsTerminator(".."));
  EXPECT_FALSE(pop3::IsTerminator(". "));
  EXPECT_BYTES_EQ(std::string(pop3::Unstuff("..")), ".");
  EXPECT_BYTES_EQ(std::string(pop3::Unstuff("..Subject: x")), ".Subject: x");
  EXPECT_BYTES_EQ(std::string(pop3::Unstuff(".x")), ".x");
  EXPECT_BYTES_EQ(std::string(pop3::Unstuff("x..")), "x..");
}

TEST(Pop3Reply, HeaderValueKeepsTheRestOfTheLineRaw) {
  const struct {
    const char* line;
    const char* name;
    bool matches;
    std::string value;
  } cases[] = {
      {"Subject: hello", "Subject:", true, " hello"},
      {"Subject:", "Subject:", true, ""},
      {"Subject:x", "Subject:", true, "x"},
      {"subject: hello", "Subject:", false, ""},
      {" Subject: hello", "Subject:", false, ""},
      {"From: a@b", "From:", true, " a@b"},
      {"From : a@b", "From:", false, ""},
      {"Subj", "Subject:", false, ""},
  };
  for (const auto& c : cases) {
    std::string value;
    EXPECT_EQ(pop3::HeaderValue(c.line, c.name, value), c.matches) << c.line;
    EXPECT_BYTES_EQ(value, c.value);
  }
}

TEST(Pop3Reply, ContinuationLinesBeginWithABlankOrATab) {
  for (const char* line : {" x", "\tx", " ", "\t"}) EXPECT_TRUE(pop3::IsContinuationLine(line)) << line;
  for (const char* line : {"", "x", "Subject: x", "\r"}) EXPECT_FALSE(pop3::IsContinuationLine(line)) << line;
  std::string value = " ab";
  EXPECT_TRUE(pop3::AppendContinuation(value, " cd", 6));
  EXPECT_EQ(value, " ab cd");
  EXPECT_FALSE(pop3::AppendContinuation(value, "\te", 6));
  EXPECT_EQ(value, " ab cd");
}

TEST(Pop3Address, ServerCellForms) {
  using T = TPop3Transport;
  const struct {
    const char* cell;
    const char* host;
    int port;
    TPop3Transport transport;
  } cases[] = {
      {"pop.example.com", "pop.example.com", 110, T::Negotiate},
      {"pop.example.com:995", "pop.example.com", 995, T::ImplicitTls},
      {"127.0.0.1:1100", "127.0.0.1", 1100, T::Negotiate},
      {"[::1]:1100", "::1", 1100, T::Negotiate},
      {"[::1]", "::1", 110, T::Negotiate},
      {"::1", "::1", 110, T::Negotiate},
      {"fe80::1:2", "fe80::1:2", 110, T::Negotiate},
      {"2001:db8::25", "2001:db8::25", 110, T::Negotiate},
      {"h:65535", "h", 65535, T::Negotiate},
      {"h:1", "h", 1, T::Negotiate},
      {"pop3s://pop.example.com", "pop.example.com", 995, T::ImplicitTls},
      {"POP3S://pop.example.com:1995/", "pop.example.com", 1995, T::ImplicitTls},
      {"pop3s://[::1]", "::1", 995, T::ImplicitTls},
      {"pop3://pop.example.com", "pop.example.com", 110, T::ClearText},
      {"pop3://[::1]:995", "::1", 995, T::ClearText},  // the scheme says so
      {"Pop3://h:2110/", "h", 2110, T::ClearText},
  };
  for (const auto& c : cases) {
    const TPop3Address a = SplitServerAddress(c.cell, 110);
    EXPECT_EQ(a.Host, c.host) << c.cell;
    EXPECT_EQ(a.Port, c.port) << c.cell;
    EXPECT_EQ(a.Transport, c.transport) << c.cell;
  }
}

TEST(Pop3Address, MalformedCellsAreRefused) {
  for (const char* cell : {"",          ":110",    "h:",       "h:0",         "h:65536",         "h:99999999",
                           "h:x",       "h:+5",    "h: 5",     "[::1",        "[::1]x",          "[::1]:",
                           "[]:110",    "[::1]:0", "pop3s://", "pop3://:110", "pop3s://h/inbox", "h/",
                           "imaps://h", "pop3s:/h"}) {
    EXPECT_THROW(SplitServerAddress(cell, 110), EPop3Error) << '"' << cell << '"';
  }
  EXPECT_THROW(SplitServerAddress("h", 0), EPop3Error);
  EXPECT_THROW(SplitServerAddress("h", 70000), EPop3Error);
}

TEST(Pop3Reply, UidlLines) {
  const std::string id70(70, '~');
  const struct {
    std::string line;
    bool ok;
    std::int64_t n;
    std::string id;
  } cases[] = {
      {"1 whqtswO00WBw418f9t5JxYwZ", true, 1, "whqtswO00WBw418f9t5JxYwZ"},
      {"  12\t!x~  ", true, 12, "!x~"},
      {"4294967295 " + id70, true, 4294967295LL, id70},
      {"1 " + id70 + "~", false, 0, ""},  // 71 characters
      {"1", false, 0, ""},
      {"", false, 0, ""},
      {"1 a b", false, 0, ""},
      {"0 zero", false, 0, ""},
      {"-1 minus", false, 0, ""},
      {"+1 plus", false, 0, ""},
      {"x1 id", false, 0, ""},
      {"99999999999999999999 big", false, 0, ""},
      {"1 \x7f", false, 0, ""},
      {"1 caf\xc3\xa9", false, 0, ""},
      {std::string("1 a\0b", 5), false, 0, ""},
  };
  for (const auto& c : cases) {
    std::int64_t n = 0;
    std::string_view id;
    EXPECT_EQ(pop3::ParseUidlLine(c.line, n, id), c.ok) << c.line;
    if (c.ok) {
      EXPECT_EQ(n, c.n) << c.line;
      EXPECT_EQ(id, c.id) << c.line;
    }
  }
}

}  // namespace
