// The transport under the POP3 client: one TCP connection with put-line and
// get-line, waiting for the network inside a nested event loop so that the
// application's other handlers keep running (and may re-enter, abort or even
// destroy the owner) while a reply is awaited.
#pragma once

#include <QDeadlineTimer>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class QTcpSocket;
class QTimer;

namespace pop3 {

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Resolves host (IPv4 or IPv6) and connects within timeout_ms (no limit
  // when <= 0). Throws EPop3Error on failure, leaving nothing open.
  void Open(const std::string& host, std::uint16_t port, int timeout_ms);
  bool IsOpen() const;
  // Drops the connection at once, without any farewell; harmless when closed.
  void Close();

  // Sends one command line; CR LF is added.
  void PutLine(const std::string& line);
  // Sends without waiting for anything, for the farewell on an error path.
  void PutLineNoWait(const std::string& line);

  // Returns the next line without its line end. A line longer than
  // max_line bytes, a silence of more than idle_ms (no limit when <= 0) or
  // the peer hanging up ends it with EPop3Error and closes the connection.
  std::string GetLine(std::size_t max_line, int idle_ms);

  // Ends a pending wait at once with an error and closes the connection;
  // every later wait fails too until ClearAbort().
  void Abort();
  bool Aborted() const { return FAborted; }
  void ClearAbort() { FAborted = false; }
  bool Waiting() const { return FWaiting; }

 private:
  // Runs the event loop until the socket reports something, the deadline
  // passes or the wait is cut short. Returns false when the deadline passed.
  bool Wait(QDeadlineTimer deadline);
  void Fail(const std::string& message);

  std::unique_ptr<QTcpSocket> FSocket;
  std::unique_ptr<QTimer> FTimer;
  bool FWaiting = false;
  bool FWoken = false;  // set by the socket's signals, the timer and Abort()
  bool FTimedOut = false;
  bool FAborted = false;
  std::size_t FBufferCap = 0;
  std::string FLine;
  // Cleared by the destructor; a wait that wakes up to find it cleared
  // returns without touching the destroyed object.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace pop3
