// Shared by the transfer-encoding tests.
#pragma once

#include <random>
#include <string>

namespace transfer_test {

inline const std::string kLineBreaks[] = {"\r\n", "\n", "\r"};

// n bytes of every value, reproducible by seed.
inline std::string random_bytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

}  // namespace transfer_test
