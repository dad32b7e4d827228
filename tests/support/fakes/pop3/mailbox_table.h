// Reply tables for the scripted POP3 server: a mailbox of given header
// summaries behind a login.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "pop3_fake_server.h"

namespace test_support {

struct Mail {
  std::string subject_line;  // whole header line, e.g. "Subject: hello"; empty for none
  std::string from_line;
  std::string uid{};  // its UIDL id; empty: "uid-" + its number
};

inline std::map<std::string, FakeReply> MailboxTable(const std::string& user, const std::string& pass,
                                                     const std::vector<Mail>& mails) {
  std::map<std::string, FakeReply> t;
  t["USER " + user] = {"+OK\r\n"};
  t["PASS " + pass] = {"+OK logged in\r\n"};
  t["STAT"] = {"+OK " + std::to_string(mails.size()) + " 1000\r\n"};
  for (std::size_t i = 0; i < mails.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    std::string top = "+OK\r\nReceived: from example\r\n";
    if (!mails[i].subject_line.empty()) top += mails[i].subject_line + "\r\n";
    if (!mails[i].from_line.empty()) top += mails[i].from_line + "\r\n";
    t["TOP " + n + " 0"] = {top + "\r\n.\r\n"};
    t["LIST " + n] = {"+OK " + n + " 100\r\n"};
  }
  t["QUIT"] = {"+OK bye\r\n"};
  return t;
}

// The mailbox behind a server whose CAPA lists capabilities (such as
// "PIPELINING" and "UIDL"); with "UIDL" among them it answers UIDL too.
inline std::map<std::string, FakeReply> MailboxTable(const std::string& user, const std::string& pass,
                                                     const std::vector<Mail>& mails,
                                                     const std::vector<std::string>& capabilities) {
  std::map<std::string, FakeReply> t = MailboxTable(user, pass, mails);
  std::string capa = "+OK\r\nTOP\r\nUSER\r\n";
  bool uidl = false;
  for (const std::string& c : capabilities) {
    capa += c + "\r\n";
    uidl = uidl || c == "UIDL";
  }
  t["CAPA"] = {capa + ".\r\n"};
  if (uidl) {
    std::string list = "+OK\r\n";
    for (std::size_t i = 0; i < mails.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      list += n + " " + (mails[i].uid.empty() ? "uid-" + n : mails[i].uid) + "\r\n";
    }
    t["UIDL"] = {list + ".\r\n"};
  }
  return t;
}

// n plain mails "Subject: mail i" from "From: sender i".
inline std::vector<Mail> PlainMails(int n) {
  std::vector<Mail> mails;
  for (int i = 1; i <= n; ++i)
    mails.push_back({"Subject: mail " + std::to_string(i), "From: sender " + std::to_string(i)});
  return mails;
}

}  // namespace test_support
