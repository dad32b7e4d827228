#include "pop3_fake_server.h"

#include <QTimer>

#include <algorithm>

FakePop3Server::FakePop3Server(std::map<std::string, FakeReply> table, FakeReply greeting, const QHostAddress& address)
    : FTable(std::move(table)), FGreeting(std::move(greeting)) {
  QObject::connect(&FServer, &QTcpServer::newConnection, this, [this] { OnNewConnection(); });
  FServer.listen(address, 0);
}

FakePop3Server::~FakePop3Server() {
  for (QTcpSocket* socket : FServer.findChildren<QTcpSocket*>()) socket->disconnect();
}

std::string FakePop3Server::host_port() const {
  const QHostAddress address = FServer.serverAddress();
  const std::string host = address.toString().toStdString();
  const std::string port = std::to_string(FServer.serverPort());
  return address.protocol() == QAbstractSocket::IPv6Protocol ? "[" + host + "]:" + port : host + ":" + port;
}

void FakePop3Server::OnNewConnection() {
  while (QTcpSocket* socket = FServer.nextPendingConnection()) {
    ++FConnections;
    FPeerClosed = false;
    socket->setParent(&FServer);
    QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    QObject::connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { Pump(socket); });
    QObject::connect(socket, &QTcpSocket::disconnected, this, [this] { FPeerClosed = true; });
    QObject::connect(socket, &QObject::destroyed, this, [this, socket] { FOutboxes.erase(socket); });
    Send(socket, FGreeting);
  }
}

void FakePop3Server::OnReadyRead(QTcpSocket* socket) {
  int batch = 0;
  while (socket->canReadLine()) {
    std::string line = socket->readLine().toStdString();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    ++batch;
    if (FRecording) FTranscript.push_back(line);
    const auto found = FTable.find(line);
    std::optional<FakeReply> reply;
    if (found != FTable.end()) reply = found->second;
    else if (FResponder) reply = FResponder(line);
    Send(socket, reply ? *reply : FakeReply{"-ERR unknown command\r\n"});
  }
  FMaxBatch = std::max(FMaxBatch, batch);
}

void FakePop3Server::Send(QTcpSocket* socket, const FakeReply& reply) {
  FOutboxes[socket].queue.push_back(reply);
  Deliver(socket);
}

// Writes the queued replies in order; a delay or a flood in progress holds
// back the ones behind it.
void FakePop3Server::Deliver(QTcpSocket* socket) {
  Outbox& out = FOutboxes[socket];
  while (!out.queue.empty() && !out.delaying && !out.stalled && FFloodLeft == 0) {
    FakeReply& reply = out.queue.front();
    if (reply.delay_ms > 0) {
      out.delaying = true;
      QTimer::singleShot(reply.delay_ms, socket, [this, socket] {
        Outbox& later = FOutboxes[socket];
        later.delaying = false;
        if (!later.queue.empty()) later.queue.front().delay_ms = 0;
        Deliver(socket);
      });
      return;
    }
    const FakeReply sending = std::move(reply);
    out.queue.pop_front();
    out.stalled = sending.stall;
    ++FRepliesWritten;
    socket->write(sending.bytes.data(), static_cast<qint64>(sending.bytes.size()));
    if (sending.flood_bytes) {
      FFloodLine = sending.flood_line;
      FFloodLeft = sending.flood_bytes;
      FFloodTail = sending.flood_tail;
      FFloodClose = sending.close_after;
      Pump(socket);
    } else if (sending.close_after) {
      socket->disconnectFromHost();
      return;
    }
  }
}

void FakePop3Server::Pump(QTcpSocket* socket) {
  // Keeps a little in flight only, so the flood costs the server no memory.
  if (FFloodLeft == 0 || socket->bytesToWrite() > (1 << 16)) return;
  if (FFloodLine.empty()) FFloodLine = "A";
  std::string chunk;
  while (chunk.size() < (1 << 17) && FFloodLeft > 0) {
    chunk += FFloodLine;
    FFloodLeft -= std::min(FFloodLeft, FFloodLine.size());
  }
  if (FFloodLeft == 0) chunk += FFloodTail;
  socket->write(chunk.data(), static_cast<qint64>(chunk.size()));
  if (FFloodLeft == 0 && FFloodClose) socket->disconnectFromHost();
  else if (FFloodLeft == 0) Deliver(socket);
}
