// Splits a server cell into the transport, the host and the port.
#pragma once

#include <cstdint>
#include <string>

enum class TPop3Transport {
  Negotiate,    // "host[:port]": CAPA after the greeting, STLS when the server offers it
  ImplicitTls,  // "pop3s://host[:port]" or port 995: TLS from the first byte
  ClearText,    // "pop3://host[:port]": clear text, no CAPA
};

struct TPop3Address {
  std::string Host;
  std::uint16_t Port = 0;
  TPop3Transport Transport = TPop3Transport::Negotiate;
};

inline constexpr int kPop3sPort = 995;

// "host:port" and "[v6-address]:port" name their port; a plain host, a
// bracketed "[v6-address]" and a bare IPv6 address (several colons) use
// default_port, or 995 after "pop3s://". The scheme is matched in any case
// and a single trailing "/" is allowed. Throws EPop3Error for an empty host
// or a port that is not a decimal number from 1 to 65535.
TPop3Address SplitServerAddress(const std::string& cell, int default_port);
