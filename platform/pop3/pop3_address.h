// Splits a server cell into host and port.
#pragma once

#include <cstdint>
#include <string>

struct TPop3Address {
  std::string Host;
  std::uint16_t Port = 0;
};

// "host:port" and "[v6-address]:port" name their port; a plain host, a
// bracketed "[v6-address]" and a bare IPv6 address (several colons) use
// default_port. Throws EPop3Error for an empty host or a port that is not a
// decimal number from 1 to 65535.
TPop3Address SplitServerAddress(const std::string& cell, int default_port);
