// TNMPOP3: the POP3 client (RFC 1939) of the mail check. It logs in, reads
// the message count and raises OnConnect inside Connect(); the connect
// handler fetches header summaries with GetSummary(). It never deletes a
// message. Waits keep the application's event loop running; see Abort().
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pop3_address.h"
#include "pop3_connection.h"
#include "pop3_error.h"

struct TPop3Summary {
  // The raw value of the last "Subject:" and "From:" header, blank included;
  // a folded one with its continuation lines joined (line breaks removed).
  std::string Subject;
  std::string From;
};

class TNMPOP3 {
 public:
  TNMPOP3();
  ~TNMPOP3();
  TNMPOP3(const TNMPOP3&) = delete;
  TNMPOP3& operator=(const TNMPOP3&) = delete;

  // Server cell: "host", "host:port", "[v6-address]:port" or a bare IPv6
  // address, optionally behind "pop3s://" or "pop3://" (see
  // SplitServerAddress); without a port of its own it uses Port.
  std::string Host;
  int Port = 110;
  std::string UserID;
  std::string Password;
  int TimeOut = 10000;  // ms for the host lookup and the TCP connection; <= 0: none
  // 0: no status events; 1: notes ("Summary Retrieved"); 2: also the
  // status line of each reply that the server sends to a command (never the
  // greeting, never the header lines of a TOP reply, which are mail data).
  int ReportLevel = 2;
  bool DeleteOnRead = false;  // kept for the settings; nothing is ever deleted

  // Guards against a hostile or stuck server.
  int IdleTimeOut = 60000;             // ms of silence allowed while a reply is due
  std::size_t MaxLineLength = 65536;   // bytes per reply line, line end excluded
  std::size_t MaxFoldedValue = 16384;  // bytes a folded Subject or From grows to by its continuation lines

  std::function<void(TNMPOP3* Sender)> OnConnect;
  std::function<void(TNMPOP3* Sender, const std::string& Status)> OnStatus;

  // Connects, reads the greeting, asks for the capabilities (CAPA) unless
  // the cell says "pop3://", sends USER, PASS and STAT and raises
  // OnConnect. Any failure throws EPop3Error; if the connection was open by
  // then it is closed first (with a QUIT while the exchange is in step).
  // Refused while connected, while another call waits, or with an empty
  // UserID or Password.
  void Connect();
  // Sends QUIT and closes; a reply other than "+OK" then throws. Called
  // while another call waits, it acts as Abort().
  void Disconnect();
  // Ends a pending wait at once with an error and closes the connection;
  // while idle and connected it closes the connection; otherwise nothing.
  void Abort();
  bool Connected() const;

  std::int64_t MessageCount() const { return FMessageCount; }

  // What the server said of itself in reply to CAPA (RFC 2449), one line a
  // capability, as of the last Connect: empty on a "pop3://" account and
  // when the server refused CAPA. Names are matched in any case.
  const std::vector<std::string>& Capabilities() const { return FCapabilities; }
  bool HasCapability(std::string_view name) const;

  // TOP n 0 then LIST n; fills Summary() and reports "Summary Retrieved".
  void GetSummary(std::int64_t n);
  const TPop3Summary& Summary() const { return FSummary; }

  // One NOOP round trip.
  void Noop();

 private:
  class BusyScope;

  std::string Command(const std::string& line);
  std::string GetResponse();
  void ReadMultiline(const std::function<void(std::string_view)>& visit);
  void ReadCapabilities();
  void Status(const std::string& text, int level);
  void CheckFree(const char* what) const;
  void CloseAfterError();

  pop3::Connection FConnection;
  std::int64_t FMessageCount = 0;
  std::vector<std::string> FCapabilities;
  TPop3Summary FSummary;
  bool FBusy = false;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
