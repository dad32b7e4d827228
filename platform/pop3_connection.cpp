#include "pop3_connection.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include "pop3_error.h"
#include "pop3_reply.h"

namespace pop3 {
namespace {

const char kDestroyed[] = "The POP3 client was destroyed while it waited.";
const char kAborted[] = "The POP3 exchange was aborted.";

}  // namespace

Connection::Connection() : FTimer(std::make_unique<QTimer>()) {
  FTimer->setSingleShot(true);
  QObject::connect(FTimer.get(), &QTimer::timeout, [this] {
    FTimedOut = true;
    if (FLoop) FLoop->quit();
  });
}

Connection::~Connection() {
  *FAlive = false;
  if (FLoop) FLoop->quit();
  FTimer->stop();
  if (FSocket) {
    FSocket->disconnect();
    FSocket->abort();
  }
}

bool Connection::IsOpen() const {
  return FSocket && FSocket->state() == QAbstractSocket::ConnectedState;
}

void Connection::Close() {
  if (!FSocket) return;
  // Only the wake-up lambdas run inside the socket's signals, never a
  // caller, so the socket can go at once.
  FSocket->disconnect();
  FSocket->abort();
  FSocket.reset();
  if (FLoop) FLoop->quit();
}

void Connection::Abort() {
  FAborted = true;
  Close();
}

void Connection::Fail(const std::string& message) {
  Close();
  throw EPop3Error(message);
}

bool Connection::Wait(QDeadlineTimer deadline) {
  if (FAborted) throw EPop3Error(kAborted);
  if (FLoop) throw EPop3Error("The POP3 client is busy.");
  QEventLoop loop;
  FLoop = &loop;
  FTimedOut = false;
  if (!deadline.isForever()) FTimer->start(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
  const std::shared_ptr<bool> alive = FAlive;
  loop.exec();
  if (!*alive) throw EPop3Error(kDestroyed);
  FLoop = nullptr;
  FTimer->stop();
  if (FAborted) throw EPop3Error(kAborted);
  return !FTimedOut;
}

void Connection::Open(const std::string& host, std::uint16_t port, int timeout_ms) {
  Close();
  FSocket = std::make_unique<QTcpSocket>();
  QTcpSocket* socket = FSocket.get();
  auto wake = [this] {
    if (FLoop) FLoop->quit();
  };
  QObject::connect(socket, &QTcpSocket::connected, socket, wake);
  QObject::connect(socket, &QTcpSocket::disconnected, socket, wake);
  QObject::connect(socket, &QTcpSocket::readyRead, socket, wake);
  QObject::connect(socket, &QTcpSocket::errorOccurred, socket, wake);

  const QDeadlineTimer deadline =
      timeout_ms > 0 ? QDeadlineTimer(timeout_ms) : QDeadlineTimer(QDeadlineTimer::Forever);
  socket->connectToHost(QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size())), port);
  while (FSocket.get() == socket && socket->state() != QAbstractSocket::ConnectedState &&
         socket->state() != QAbstractSocket::UnconnectedState) {
    if (!Wait(deadline)) Fail("No connection to " + host + " within " + std::to_string(timeout_ms) + " ms.");
  }
  if (FSocket.get() != socket) throw EPop3Error(kAborted);
  if (socket->state() != QAbstractSocket::ConnectedState)
    Fail("Cannot connect to " + host + ": " + socket->errorString().toStdString());
  // One command and one reply at a time: Nagle and delayed ACKs would add
  // tens of milliseconds to every round trip.
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void Connection::PutLine(const std::string& line) {
  if (FAborted) throw EPop3Error(kAborted);
  if (!IsOpen()) Fail("Not connected to the POP3 server.");
  PutLineNoWait(line);
}

void Connection::PutLineNoWait(const std::string& line) {
  if (!IsOpen()) return;
  std::string out;
  out.reserve(line.size() + 2);
  out += line;
  out += "\r\n";
  FSocket->write(out.data(), static_cast<qint64>(out.size()));
  FSocket->flush();
}

std::string Connection::GetLine(std::size_t max_line, int idle_ms) {
  if (FAborted) throw EPop3Error(kAborted);
  if (!FSocket) throw EPop3Error("Not connected to the POP3 server.");
  // Room for the longest allowed line and its CR LF; Qt stops reading from
  // the network when its buffer is full, so memory stays bounded.
  const std::size_t cap = max_line + 2;
  if (FBufferCap != cap) {
    FSocket->setReadBufferSize(static_cast<qint64>(cap));
    FBufferCap = cap;
  }
  for (;;) {
    QTcpSocket* socket = FSocket.get();
    if (socket->canReadLine()) {
      // readLine's limit counts a terminating NUL, as in the C API.
      const QByteArray raw = socket->readLine(static_cast<qint64>(cap) + 1);
      const std::string_view line =
          StripLineEnd(std::string_view(raw.constData(), static_cast<std::size_t>(raw.size())));
      if (!raw.endsWith('\n') || line.size() > max_line)
        Fail("The POP3 server sent a line longer than " + std::to_string(max_line) + " bytes.");
      return std::string(line);
    }
    if (static_cast<std::size_t>(socket->bytesAvailable()) >= cap)
      Fail("The POP3 server sent a line longer than " + std::to_string(max_line) + " bytes.");
    if (socket->state() != QAbstractSocket::ConnectedState) Fail("The POP3 server closed the connection.");
    const QDeadlineTimer deadline = idle_ms > 0 ? QDeadlineTimer(idle_ms) : QDeadlineTimer(QDeadlineTimer::Forever);
    if (!Wait(deadline))
      Fail("The POP3 server sent nothing for " + std::to_string(idle_ms) + " ms.");
    if (!FSocket || FSocket.get() != socket) throw EPop3Error(kAborted);
  }
}

}  // namespace pop3
