#include "pop3_fake_server.h"

#include <QTimer>

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
    Send(socket, FGreeting);
  }
}

void FakePop3Server::OnReadyRead(QTcpSocket* socket) {
  while (socket->canReadLine()) {
    std::string line = socket->readLine().toStdString();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    FTranscript.push_back(line);
    const auto found = FTable.find(line);
    Send(socket, found != FTable.end() ? found->second : FakeReply{"-ERR unknown command\r\n"});
  }
}

void FakePop3Server::Send(QTcpSocket* socket, const FakeReply& reply) {
  auto send = [this, socket, reply] {
    socket->write(reply.bytes.data(), static_cast<qint64>(reply.bytes.size()));
    if (reply.flood_bytes) {
      FFloodLine = reply.flood_line;
      FFloodLeft = reply.flood_bytes;
      FFloodTail = reply.flood_tail;
      FFloodClose = reply.close_after;
      Pump(socket);
    } else if (reply.close_after) {
      socket->disconnectFromHost();
    }
  };
  if (reply.delay_ms > 0) QTimer::singleShot(reply.delay_ms, socket, send);
  else send();
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
}
