// Times the mail check's exchange with a POP3 server through TNMPOP3:
//   pop3_bench list HOST:PORT USER PASSWORD
//     login, STAT, then TOP n 0 and LIST n for every message, QUIT, as the
//     mail check lists (pipelined when the server's CAPA allows it)
//   pop3_bench check HOST:PORT USER PASSWORD
//     the listing with the UIDL ids ahead of it, as the mail check asks
//     when the server lists UIDL
//   pop3_bench serial HOST:PORT USER PASSWORD
//     the same, one command at a time whatever the server allows
//   pop3_bench noop HOST:PORT USER PASSWORD COUNT
//     login, COUNT NOOP round trips on the one connection, QUIT
// Prints one line of key=value figures; times are in microseconds.
#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pop3_client.h"

namespace {

using Clock = std::chrono::steady_clock;

long long Micros(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 5 || (std::string(argv[1]) == "noop" && argc < 6)) {
    std::fprintf(stderr, "usage: pop3_bench list|check|serial|noop HOST:PORT USER PASSWORD [COUNT]\n");
    return 2;
  }
  const std::string mode = argv[1];
  TNMPOP3 client;
  client.Host = argv[2];
  client.UserID = argv[3];
  client.Password = argv[4];
  client.ReportLevel = 2;
  client.OnStatus = [](TNMPOP3*, const std::string&) {};  // the program's handler is this cheap too

  long long loop_us = 0;
  long long login_us = 0;
  std::size_t bytes = 0;
  const long count = mode == "noop" ? std::atol(argv[5]) : 0;
  Clock::time_point connect_start;
  client.OnConnect = [&](TNMPOP3* sender) {
    const auto start = Clock::now();
    login_us = Micros(connect_start, start);
    if (mode == "noop") {
      for (long i = 0; i < count; ++i) sender->Noop();
    } else {
      const bool ids = mode == "check" && sender->HasCapability("UIDL");
      if (mode != "serial") sender->BeginListing(sender->MessageCount(), ids);
      if (ids) sender->GetUniqueIds();
      for (std::int64_t i = 1; i <= sender->MessageCount(); ++i) {
        sender->GetSummary(i);
        bytes += sender->Summary().Subject.size() + sender->Summary().From.size();
      }
    }
    loop_us = Micros(start, Clock::now());
  };
  try {
    const auto start = Clock::now();
    connect_start = start;
    client.Connect();
    client.Disconnect();
    const long long total_us = Micros(start, Clock::now());
    std::printf("mode=%s messages=%lld login_us=%lld loop_us=%lld total_us=%lld header_bytes=%zu\n", mode.c_str(),
                static_cast<long long>(client.MessageCount()), login_us, loop_us, total_us, bytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pop3_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
