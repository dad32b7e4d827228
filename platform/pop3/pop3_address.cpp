#include "pop3_address.h"

#include <algorithm>

#include "pop3_error.h"

namespace {

std::uint16_t ParsePort(const std::string& text) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    throw EPop3Error("Invalid port \"" + text + "\".");
  const int port = std::stoi(text);
  if (port < 1 || port > 65535) throw EPop3Error("Invalid port \"" + text + "\".");
  return static_cast<std::uint16_t>(port);
}

std::uint16_t CheckedDefault(int port) {
  if (port < 1 || port > 65535) throw EPop3Error("Invalid port " + std::to_string(port) + ".");
  return static_cast<std::uint16_t>(port);
}

}  // namespace

TPop3Address SplitServerAddress(const std::string& cell, int default_port) {
  TPop3Address address;
  if (!cell.empty() && cell.front() == '[') {
    const auto close = cell.find(']');
    if (close == std::string::npos) throw EPop3Error("Invalid server address \"" + cell + "\".");
    address.Host = cell.substr(1, close - 1);
    const std::string rest = cell.substr(close + 1);
    if (rest.empty()) address.Port = CheckedDefault(default_port);
    else if (rest.front() == ':') address.Port = ParsePort(rest.substr(1));
    else throw EPop3Error("Invalid server address \"" + cell + "\".");
  } else if (std::count(cell.begin(), cell.end(), ':') == 1) {
    const auto colon = cell.find(':');
    address.Host = cell.substr(0, colon);
    address.Port = ParsePort(cell.substr(colon + 1));
  } else {
    // No colon, or a bare IPv6 address whose colons are not a port separator.
    address.Host = cell;
    address.Port = CheckedDefault(default_port);
  }
  if (address.Host.empty()) throw EPop3Error("No POP3 server given.");
  return address;
}
