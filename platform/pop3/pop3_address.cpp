#include "pop3_address.h"

#include <algorithm>
#include <cctype>
#include <string_view>

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

// Removes scheme from the front of cell when it is there, in any case.
bool StripScheme(std::string& cell, std::string_view scheme) {
  if (cell.size() < scheme.size()) return false;
  for (std::size_t i = 0; i < scheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(cell[i])) != scheme[i]) return false;
  }
  cell.erase(0, scheme.size());
  return true;
}

}  // namespace

TPop3Address SplitServerAddress(const std::string& server_cell, int default_port) {
  TPop3Address address;
  std::string cell = server_cell;
  if (StripScheme(cell, "pop3s://")) {
    address.Transport = TPop3Transport::ImplicitTls;
    default_port = kPop3sPort;
  } else if (StripScheme(cell, "pop3://")) {
    address.Transport = TPop3Transport::ClearText;
  }
  // A URL may end in "/"; a path after the host is not understood.
  const bool url = address.Transport != TPop3Transport::Negotiate;
  if (url && !cell.empty() && cell.back() == '/') cell.pop_back();
  if (cell.find('/') != std::string::npos) throw EPop3Error("Invalid server address \"" + server_cell + "\".");
  if (!cell.empty() && cell.front() == '[') {
    const auto close = cell.find(']');
    if (close == std::string::npos) throw EPop3Error("Invalid server address \"" + server_cell + "\".");
    address.Host = cell.substr(1, close - 1);
    const std::string rest = cell.substr(close + 1);
    if (rest.empty()) address.Port = CheckedDefault(default_port);
    else if (rest.front() == ':') address.Port = ParsePort(rest.substr(1));
    else throw EPop3Error("Invalid server address \"" + server_cell + "\".");
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
  // Port 995 is POP3 over TLS (RFC 8314): clear text there cannot work.
  if (address.Transport == TPop3Transport::Negotiate && address.Port == kPop3sPort)
    address.Transport = TPop3Transport::ImplicitTls;
  return address;
}
