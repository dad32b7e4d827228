// A scripted POP3 server on 127.0.0.1 (or ::1) in the test's own process. It
// answers each command line from a table (command -> reply), or from a
// responder for lines the table lacks, records every command it receives,
// and can misbehave on purpose: delay, stay silent, hang up, or stream a
// flood of bytes. Replies go out in the order of the commands, a delayed
// one holding back those behind it, as a POP3 server serves a client that
// pipelines.
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct FakeReply {
  std::string bytes{};       // sent as they are (CR LF included by the table)
  int delay_ms = 0;          // sent after this delay
  bool close_after = false;  // hang up once sent
  // Streams flood_line repeated until at least flood_bytes bytes went out
  // (then flood_tail) after bytes, written as the client takes them.
  std::string flood_line{};
  std::size_t flood_bytes = 0;
  std::string flood_tail{};
  bool stall = false;  // once sent, answers nothing more on this connection
};

class FakePop3Server : public QObject {
 public:
  explicit FakePop3Server(std::map<std::string, FakeReply> table, FakeReply greeting = {"+OK fake POP3 ready\r\n"},
                          const QHostAddress& address = QHostAddress::LocalHost);
  ~FakePop3Server() override;

  quint16 port() const { return FServer.serverPort(); }
  bool listening() const { return FServer.isListening(); }
  std::string host_port() const;  // "127.0.0.1:port" or "[::1]:port"
  const std::vector<std::string>& transcript() const { return FTranscript; }
  int connections() const { return FConnections; }
  // True once the client's side of the last connection has closed.
  bool peer_closed() const { return FPeerClosed; }
  // The most command lines that arrived together, before the server could
  // answer the first of them: 1 for a client that waits for every reply.
  int max_batch() const { return FMaxBatch; }
  // Replies written so far, over all connections.
  int replies_written() const { return FRepliesWritten; }
  // Consulted for a line that the table lacks; nullopt: "-ERR unknown command".
  void set_responder(std::function<std::optional<FakeReply>(const std::string& line)> responder) {
    FResponder = std::move(responder);
  }
  // New replies from the next command on: the mailbox as it is now.
  void set_table(std::map<std::string, FakeReply> table) { FTable = std::move(table); }
  // Leaves the transcript empty (a flood of commands costs no memory then).
  void set_recording(bool on) { FRecording = on; }

 private:
  void OnNewConnection();
  void OnReadyRead(QTcpSocket* socket);
  void Send(QTcpSocket* socket, const FakeReply& reply);
  void Deliver(QTcpSocket* socket);
  void Pump(QTcpSocket* socket);

  // Replies not yet written, per connection, in command order.
  struct Outbox {
    std::deque<FakeReply> queue;
    bool delaying = false;
    bool stalled = false;
  };
  std::map<QTcpSocket*, Outbox> FOutboxes;
  std::function<std::optional<FakeReply>(const std::string&)> FResponder;
  bool FRecording = true;
  int FMaxBatch = 0;
  int FRepliesWritten = 0;
  QTcpServer FServer;
  std::map<std::string, FakeReply> FTable;
  FakeReply FGreeting;
  std::vector<std::string> FTranscript;
  int FConnections = 0;
  bool FPeerClosed = false;
  // The flood in progress: what is left to write.
  std::string FFloodLine;
  std::size_t FFloodLeft = 0;
  std::string FFloodTail;
  bool FFloodClose = false;
};

// Runs the event loop until pred() holds or timeout_ms pass.
template <typename Pred>
bool SpinUntil(Pred pred, int timeout_ms = 5000);

#include <QCoreApplication>
#include <QElapsedTimer>

template <typename Pred>
bool SpinUntil(Pred pred, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!pred()) {
    if (timer.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
  return true;
}
