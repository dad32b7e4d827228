// TNMPOP3: the POP3 client (RFC 1939) of the mail check. It logs in, reads
// the message count and raises OnConnect inside Connect(); the connect
// handler fetches header summaries with GetSummary(). It never deletes a
// message. Waits keep the application's event loop running; see Abort().
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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
  // Bytes of pipelined commands whose replies are still due, at most: far
  // inside any TCP window (RFC 2449 6.6), and what an error reply can leave
  // to read and drop before QUIT.
  std::size_t PipelineWindow = 16384;
  std::size_t MaxUniqueIds = 10000;  // messages (from 1) whose UIDL id is kept

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

  // Announces the listing that follows on this connection: UniqueIds()
  // first when uidl is set, then GetSummary() of the messages 1 to last, in
  // that order. When the server's CAPA lists PIPELINING, their commands go
  // out ahead of the replies, at most PipelineWindow bytes of them due at
  // once; each call still consumes and reports its own replies, in order.
  // A call that departs from the plan first reads and drops whatever is in
  // flight, and the rest goes one command at a time. Without PIPELINING it
  // changes nothing.
  void BeginListing(std::int64_t last, bool uidl);
  // True while commands of the announced listing travel ahead of replies.
  bool Pipelined() const { return FPipelined; }

  // UIDL: the unique id of every message, kept for messages 1 to
  // MaxUniqueIds. Like CAPA, the client's own exchange: its reply goes to no
  // status event, and a refusal only leaves every id unknown. An id that is
  // not 1 to 70 printable characters (RFC 1939) is unknown too.
  void GetUniqueIds();
  // The id of message n from the last GetUniqueIds on this connection;
  // empty when unknown.
  std::string UniqueId(std::int64_t n) const;

  // TOP n 0 then LIST n; fills Summary() and reports "Summary Retrieved".
  void GetSummary(std::int64_t n);
  const TPop3Summary& Summary() const { return FSummary; }

  // One NOOP round trip.
  void Noop();

 private:
  class BusyScope;

  // A command of the announced listing whose reply has not been consumed.
  struct Request {
    enum Kind { Uidl, Top, List } kind;
    std::int64_t n;
    bool operator==(const Request&) const = default;
  };
  static std::string CommandLine(const Request& request);

  std::string Command(const std::string& line);
  std::string Reply(bool multiline);
  void Issue(const Request& request);
  bool NextPlanned(Request& request) const;
  void AdvancePlan();
  void TopUp();
  void DropInFlight();
  void ForgetListing();
  void ResetExchange();
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
  std::vector<std::string> FUniqueIds;
  // The announced listing: what is still to be sent, and what is in flight.
  bool FPipelined = false;
  bool FPlanUidl = false;
  std::int64_t FPlanNext = 0;  // next message whose commands are unsent (TOP, then LIST when FPlanList)
  bool FPlanList = false;
  std::int64_t FPlanLast = 0;
  std::deque<Request> FInFlight;
  std::size_t FInFlightBytes = 0;
  // A reply is partly read: the replies after it cannot be told apart.
  bool FOutOfStep = false;
  bool FBusy = false;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
