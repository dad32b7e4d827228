// The one error type of the POP3 client: every failure (lookup, connection,
// time-out, a refused command, a hostile reply, an abort) is reported as an
// EPop3Error carrying a readable message, so the caller needs one catch.
#pragma once

#include <stdexcept>
#include <string>

class EPop3Error : public std::runtime_error {
 public:
  explicit EPop3Error(const std::string& message) : std::runtime_error(message) {}
};
