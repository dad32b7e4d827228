#include "pop3_client.h"

#include <algorithm>
#include <cctype>

#include "pop3_address.h"
#include "pop3_reply.h"

namespace {

const char kDestroyed[] = "The POP3 client was destroyed during the call.";
const char kAborted[] = "The POP3 exchange was aborted.";
const char kSummaryRetrieved[] = "Summary Retrieved";

// A server may list what it likes; a few dozen lines is what real ones send.
constexpr std::size_t kMaxCapabilities = 64;
constexpr std::size_t kMaxCapabilityLine = 512;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// A CR, LF or NUL in a command argument would let it smuggle in a second
// command.
void CheckArgument(const std::string& text) {
  if (std::any_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }))
    throw EPop3Error("The user ID or the password holds a line break or a NUL byte.");
}

}  // namespace

// Marks one exchange in progress. Calls that would start another exchange
// while it runs (from a handler run inside one of its waits) are refused.
class TNMPOP3::BusyScope {
 public:
  explicit BusyScope(TNMPOP3& client) : FClient(client), FAlive(client.FAlive) {
    client.FBusy = true;
    client.FConnection.ClearAbort();
  }
  ~BusyScope() {
    if (*FAlive) FClient.FBusy = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  TNMPOP3& FClient;
  std::shared_ptr<bool> FAlive;
};

TNMPOP3::TNMPOP3() = default;

TNMPOP3::~TNMPOP3() { *FAlive = false; }

bool TNMPOP3::Connected() const { return FConnection.IsOpen(); }

void TNMPOP3::CheckFree(const char* what) const {
  if (FBusy || FConnection.Waiting()) throw EPop3Error(std::string("The POP3 client is busy; cannot ") + what + ".");
}

void TNMPOP3::Status(const std::string& text, int level) {
  if (ReportLevel < level || !OnStatus) return;
  const std::shared_ptr<bool> alive = FAlive;
  OnStatus(this, text);
  if (!*alive) throw EPop3Error(kDestroyed);
}

std::string TNMPOP3::GetResponse() { return FConnection.GetLine(MaxLineLength, IdleTimeOut); }

std::string TNMPOP3::Command(const std::string& line) {
  FConnection.PutLine(line);
  return Reply(false);
}

std::string TNMPOP3::Reply(bool multiline) {
  FOutOfStep = true;
  std::string reply = GetResponse();
  const bool ok = pop3::IsOkReply(reply);
  FOutOfStep = ok && multiline;
  Status(reply, 2);
  if (!ok) throw EPop3Error(reply);
  if (FConnection.Aborted()) throw EPop3Error(kAborted);
  return reply;
}

void TNMPOP3::ReadMultiline(const std::function<void(std::string_view)>& visit) {
  FOutOfStep = true;
  for (;;) {
    const std::string line = GetResponse();
    if (pop3::IsTerminator(line)) break;
    visit(pop3::Unstuff(line));
  }
  FOutOfStep = false;
}

std::string TNMPOP3::CommandLine(const Request& request) {
  switch (request.kind) {
    case Request::Uidl: return "UIDL";
    case Request::Top: return "TOP " + std::to_string(request.n) + " 0";
    case Request::List: break;
  }
  return "LIST " + std::to_string(request.n);
}

bool TNMPOP3::NextPlanned(Request& request) const {
  if (FPlanUidl) {
    request = {Request::Uidl, 0};
    return true;
  }
  if (FPlanNext < 1 || FPlanNext > FPlanLast) return false;
  request = {FPlanList ? Request::List : Request::Top, FPlanNext};
  return true;
}

void TNMPOP3::AdvancePlan() {
  if (FPlanUidl) {
    FPlanUidl = false;
  } else if (FPlanList) {
    FPlanList = false;
    ++FPlanNext;
  } else {
    FPlanList = true;
  }
}

void TNMPOP3::ForgetListing() {
  FPipelined = false;
  FPlanUidl = false;
  FPlanList = false;
  FPlanNext = 0;
  FPlanLast = 0;
}

void TNMPOP3::ResetExchange() {
  ForgetListing();
  FInFlight.clear();
  FInFlightBytes = 0;
  FOutOfStep = false;
}

// Sends what the plan holds next, in one write, while it fits the window;
// topped up only once a quarter of it is free, so that a listing costs a
// write every few dozen messages rather than one each.
void TNMPOP3::TopUp() {
  if (!FPipelined) return;
  if (!FInFlight.empty() && FInFlightBytes + PipelineWindow / 4 > PipelineWindow) return;
  std::string block;
  Request next{};
  while (NextPlanned(next)) {
    const std::string line = CommandLine(next);
    // One command always goes, however small the window.
    if (!FInFlight.empty() && FInFlightBytes + line.size() + 2 > PipelineWindow) break;
    if (!block.empty()) block += "\r\n";
    block += line;
    FInFlight.push_back(next);
    FInFlightBytes += line.size() + 2;
    AdvancePlan();
  }
  // PutLine ends the block with the last command's CR LF.
  if (!block.empty()) FConnection.PutLine(block);
}

// Reads and drops the replies still due, without reporting them, so that
// the next reply to come is that of the next command.
void TNMPOP3::DropInFlight() {
  // A reply left half read (a handler threw in its middle) hides where the
  // next one starts.
  if (FOutOfStep && !FInFlight.empty()) {
    FConnection.Close();
    throw EPop3Error("The POP3 exchange is out of step.");
  }
  while (!FInFlight.empty()) {
    const Request request = FInFlight.front();
    FInFlight.pop_front();
    FInFlightBytes -= CommandLine(request).size() + 2;
    FOutOfStep = true;
    const std::string reply = GetResponse();
    if (pop3::IsOkReply(reply) && request.kind != Request::List) ReadMultiline([](std::string_view) {});
    FOutOfStep = false;
  }
}

// Makes the reply to request the next one to be read: it is either at the
// head of what is in flight, or sent now, after whatever else was in flight
// has been dropped.
void TNMPOP3::Issue(const Request& request) {
  if (!FInFlight.empty() && FInFlight.front() == request) {
    FInFlight.pop_front();
    FInFlightBytes -= CommandLine(request).size() + 2;
    TopUp();
    return;
  }
  Request next{};
  if (FInFlight.empty() && NextPlanned(next) && next == request) {
    AdvancePlan();
    FConnection.PutLine(CommandLine(request));
    TopUp();
    return;
  }
  DropInFlight();
  ForgetListing();
  FConnection.PutLine(CommandLine(request));
}

// The client's own exchange: neither the reply nor its lines go to the
// status event, whose watchers take any "ERR" for a failed login, and a
// refusal only means that the server names no capabilities.
void TNMPOP3::ReadCapabilities() {
  FCapabilities.clear();
  FConnection.PutLine("CAPA");
  if (!pop3::IsOkReply(GetResponse())) return;
  ReadMultiline([this](std::string_view line) {
    if (FCapabilities.size() < kMaxCapabilities) FCapabilities.emplace_back(line.substr(0, kMaxCapabilityLine));
  });
}

bool TNMPOP3::HasCapability(std::string_view name) const {
  return std::any_of(FCapabilities.begin(), FCapabilities.end(), [name](const std::string& line) {
    return SameName(std::string_view(line).substr(0, line.find(' ')), name);
  });
}

void TNMPOP3::CloseAfterError() {
  // A QUIT only while the exchange is in step; after an abort or a broken
  // reply the connection is simply dropped. Replies of pipelined commands
  // still due are read first, so that the QUIT is the server's next command
  // and its reply the next to come.
  if (FConnection.IsOpen() && !FConnection.Aborted() && !FInFlight.empty()) {
    const std::shared_ptr<bool> alive = FAlive;
    try {
      DropInFlight();
    } catch (const EPop3Error&) {
      if (!*alive) return;
    }
  }
  ResetExchange();
  if (FConnection.IsOpen() && !FConnection.Aborted()) FConnection.PutLineNoWait("QUIT");
  FConnection.Close();
}

void TNMPOP3::Connect() {
  CheckFree("connect");
  if (Connected()) throw EPop3Error("Already connected.");
  if (UserID.empty() || Password.empty()) throw EPop3Error("The user ID and the password must not be empty.");
  CheckArgument(UserID);
  CheckArgument(Password);
  const TPop3Address address = SplitServerAddress(Host, Port);

  const std::shared_ptr<bool> alive = FAlive;
  FMessageCount = 0;
  FSummary = {};
  FCapabilities.clear();
  FUniqueIds.clear();
  ResetExchange();
  {
    BusyScope busy(*this);
    FConnection.Open(address.Host, address.Port, TimeOut);
    try {
      const std::string greeting = GetResponse();
      if (!pop3::IsOkReply(greeting)) throw EPop3Error(greeting);
      // "pop3://" keeps exactly the exchange of a plain RFC 1939 client.
      if (address.Transport != TPop3Transport::ClearText) ReadCapabilities();
      Command("USER " + UserID);
      Command("PASS " + Password);
      FMessageCount = pop3::ParseStatCount(Command("STAT"));
    } catch (...) {
      if (*alive) CloseAfterError();
      throw;
    }
  }
  try {
    if (OnConnect) OnConnect(this);
  } catch (...) {
    // Left open, the connection would make every later connect fail with
    // "already connected".
    if (*alive) CloseAfterError();
    throw;
  }
  if (!*alive) throw EPop3Error(kDestroyed);
}

void TNMPOP3::Disconnect() {
  if (FBusy || FConnection.Waiting()) {
    Abort();
    return;
  }
  if (!Connected()) {
    FConnection.Close();
    return;
  }
  BusyScope busy(*this);
  const std::shared_ptr<bool> alive = FAlive;
  std::string reply;
  try {
    DropInFlight();
    ResetExchange();
    FConnection.PutLine("QUIT");
    reply = GetResponse();
  } catch (const EPop3Error&) {
    if (!*alive || FConnection.Aborted()) throw;
    // The peer hung up or broke off: the connection is closed either way.
    FConnection.Close();
    return;
  }
  FConnection.Close();
  Status(reply, 2);
  if (!pop3::IsOkReply(reply)) throw EPop3Error(reply);
}

void TNMPOP3::Abort() {
  if (FBusy || FConnection.Waiting()) FConnection.Abort();
  else if (Connected()) FConnection.Close();
}

void TNMPOP3::BeginListing(std::int64_t last, bool uidl) {
  CheckFree("start a listing");
  if (!Connected()) throw EPop3Error("Not connected to the POP3 server.");
  BusyScope busy(*this);
  DropInFlight();
  ForgetListing();
  FPlanUidl = uidl;
  FPlanNext = 1;
  FPlanLast = std::max<std::int64_t>(last, 0);
  // Only a connection that has logged in gets here: nothing is ever
  // pipelined during the login.
  FPipelined = HasCapability("PIPELINING");
  TopUp();
}

void TNMPOP3::GetUniqueIds() {
  CheckFree("list the unique ids");
  if (!Connected()) throw EPop3Error("Not connected to the POP3 server.");
  BusyScope busy(*this);
  FUniqueIds.clear();
  Issue({Request::Uidl, 0});
  FOutOfStep = true;
  const bool ok = pop3::IsOkReply(GetResponse());
  FOutOfStep = false;
  if (!ok) return;
  // Ids are kept for the messages that a listing can ask for; the rest of a
  // reply, however long, is read and dropped.
  const std::size_t kept =
      static_cast<std::size_t>(std::min<std::int64_t>(FMessageCount, static_cast<std::int64_t>(MaxUniqueIds)));
  FUniqueIds.assign(kept, std::string());
  ReadMultiline([this](std::string_view line) {
    std::int64_t n = 0;
    std::string_view id;
    if (pop3::ParseUidlLine(line, n, id) && n <= static_cast<std::int64_t>(FUniqueIds.size()))
      FUniqueIds[static_cast<std::size_t>(n - 1)].assign(id);
  });
}

std::string TNMPOP3::UniqueId(std::int64_t n) const {
  if (n < 1 || n > static_cast<std::int64_t>(FUniqueIds.size())) return {};
  return FUniqueIds[static_cast<std::size_t>(n - 1)];
}

void TNMPOP3::GetSummary(std::int64_t n) {
  CheckFree("fetch a summary");
  if (!Connected()) throw EPop3Error("Not connected to the POP3 server.");
  BusyScope busy(*this);
  FSummary = {};
  Issue({Request::Top, n});
  Reply(true);
  // Only the two header values are kept, however long the reply runs; a
  // folded one is joined up to MaxFoldedValue, and a line that would pass
  // that ends it.
  std::string* folded = nullptr;  // the value that continuation lines extend
  ReadMultiline([this, &folded](std::string_view line) {
    if (pop3::IsContinuationLine(line)) {
      if (folded && !pop3::AppendContinuation(*folded, line, MaxFoldedValue)) folded = nullptr;
      return;
    }
    folded = nullptr;
    if (pop3::HeaderValue(line, "Subject:", FSummary.Subject)) folded = &FSummary.Subject;
    else if (pop3::HeaderValue(line, "From:", FSummary.From)) folded = &FSummary.From;
  });
  Issue({Request::List, n});
  Reply(false);
  Status(kSummaryRetrieved, 1);
}

void TNMPOP3::Noop() {
  CheckFree("send NOOP");
  if (!Connected()) throw EPop3Error("Not connected to the POP3 server.");
  BusyScope busy(*this);
  DropInFlight();
  ForgetListing();
  Command("NOOP");
}
