#include "pop3_connection.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

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
  // A coarse timer may fire up to 5 % early; a limit is a limit.
  FTimer->setTimerType(Qt::PreciseTimer);
  QObject::connect(FTimer.get(), &QTimer::timeout, [this] {
    FTimedOut = true;
    FWoken = true;
  });
}

Connection::~Connection() {
  *FAlive = false;
  FTimer->stop();
  if (FSocket) {
    FSocket->disconnect();
    FSocket->abort();
  }
}

bool Connection::IsOpen() const { return FSocket && FSocket->state() == QAbstractSocket::ConnectedState; }

void Connection::Close() {
  if (!FSocket) return;
  // Only the wake-up lambdas run inside the socket's signals, never a
  // caller, so the socket can go at once.
  FSocket->disconnect();
  FSocket->abort();
  FSocket.reset();
  FWoken = true;
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
  if (FWaiting) throw EPop3Error("The POP3 client is busy.");
  // The loop is driven one batch of events at a time and the wake-up only
  // sets a flag: quitting an exec() would cost an extra dispatcher wake-up
  // per reply line.
  QEventLoop loop;
  FWaiting = true;
  FWoken = false;
  FTimedOut = false;
  if (!deadline.isForever()) FTimer->start(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
  const std::shared_ptr<bool> alive = FAlive;
  try {
    while (*alive && !FWoken) loop.processEvents(QEventLoop::WaitForMoreEvents);
  } catch (...) {
    // A handler's exception must not leave the client busy for good.
    if (*alive) {
      FWaiting = false;
      FTimer->stop();
    }
    throw;
  }
  if (!*alive) throw EPop3Error(kDestroyed);
  FWaiting = false;
  FTimer->stop();
  if (FAborted) throw EPop3Error(kAborted);
  return !FTimedOut;
}

void Connection::Open(const std::string& host, std::uint16_t port, int timeout_ms) {
  Close();
  FSocket = std::make_unique<QTcpSocket>();
  QTcpSocket* socket = FSocket.get();
  auto wake = [this] { FWoken = true; };
  QObject::connect(socket, &QTcpSocket::connected, socket, wake);
  QObject::connect(socket, &QTcpSocket::disconnected, socket, wake);
  QObject::connect(socket, &QTcpSocket::readyRead, socket, wake);
  QObject::connect(socket, &QTcpSocket::errorOccurred, socket, wake);

  const QDeadlineTimer deadline = timeout_ms > 0 ? QDeadlineTimer(timeout_ms) : QDeadlineTimer(QDeadlineTimer::Forever);
  // Bounded from the start: data the server sends between two calls is
  // buffered up to this size only.
  socket->setReadBufferSize(65536 + 2);
  FBufferCap = 65536 + 2;
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
  std::size_t sent = 0;
  if (FSocket->bytesToWrite() == 0) {
    // A command goes straight to the kernel: Qt's buffered write switches
    // the write notifier on and off, which wakes the event dispatcher once
    // more per command. Whatever the kernel does not take goes through Qt.
    const ssize_t n =
        ::send(static_cast<int>(FSocket->socketDescriptor()), out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) sent = static_cast<std::size_t>(n);
  }
  if (sent == out.size()) return;
  FSocket->write(out.data() + sent, static_cast<qint64>(out.size() - sent));
  FSocket->flush();
}

std::string Connection::GetLine(std::size_t max_line, int idle_ms) {
  if (FAborted) throw EPop3Error(kAborted);
  if (!FSocket) throw EPop3Error("Not connected to the POP3 server.");
  // Room for the longest allowed line and its CR LF; Qt stops reading from
  // the network when its buffer is full, so memory stays bounded.
  max_line = std::min<std::size_t>(max_line, std::size_t{1} << 30);
  const std::size_t cap = max_line + 2;
  if (FBufferCap != cap) {
    FSocket->setReadBufferSize(static_cast<qint64>(cap));
    FBufferCap = cap;
  }
  for (;;) {
    QTcpSocket* socket = FSocket.get();
    if (socket->canReadLine()) {
      // One buffer for every line: a fresh allocation of the largest size
      // per line costs more than the round trip on a virtual machine.
      if (FLine.size() < cap + 1) FLine.resize(cap + 1);  // readLine counts the NUL it writes
      const qint64 got = socket->readLine(FLine.data(), static_cast<qint64>(cap) + 1);
      const std::string_view raw(FLine.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
      const std::string_view line = StripLineEnd(raw);
      if (raw.empty() || raw.back() != '\n' || line.size() > max_line)
        Fail("The POP3 server sent a line longer than " + std::to_string(max_line) + " bytes.");
      return std::string(line);
    }
    if (static_cast<std::size_t>(socket->bytesAvailable()) >= cap)
      Fail("The POP3 server sent a line longer than " + std::to_string(max_line) + " bytes.");
    if (socket->state() != QAbstractSocket::ConnectedState) Fail("The POP3 server closed the connection.");
    const QDeadlineTimer deadline = idle_ms > 0 ? QDeadlineTimer(idle_ms) : QDeadlineTimer(QDeadlineTimer::Forever);
    if (!Wait(deadline)) Fail("The POP3 server sent nothing for " + std::to_string(idle_ms) + " ms.");
    if (!FSocket || FSocket.get() != socket) throw EPop3Error(kAborted);
  }
}

}  // namespace pop3
