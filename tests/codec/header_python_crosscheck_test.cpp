// DecodeHeaderForDisplay against Python's email.header and its codecs over
// generated encoded-words (header_oracle.py, which lists where the two
// differ by design and keeps its values out of those differences).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Jconvert.h"
#include "byte_assert.h"
#include "run_process.h"

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(HeaderDisplayPythonCrossCheck, GeneratedWordsShowAsEmailHeaderReadsThem) {
  const int kValues = 4000;
  for (const char* seed : {"1", "2"}) {
    SCOPED_TRACE(std::string("seed ") + seed);
    const auto oracle = test_support::run_process({"python3", HEADER_ORACLE_SCRIPT, seed, std::to_string(kValues)});
    ASSERT_EQ(oracle.exit_code, 0) << "python3 " << HEADER_ORACLE_SCRIPT << ": " << oracle.err;
    std::istringstream lines(oracle.out);
    std::string line;
    int values = 0, mismatches = 0;
    while (std::getline(lines, line)) {
      const std::size_t tab = line.find('\t');
      ASSERT_NE(tab, std::string::npos) << line;
      const std::string raw = FromHex(line.substr(0, tab));
      const std::string shown = FromHex(line.substr(tab + 1));
      ++values;
      if (DecodeHeaderForDisplay(raw) == shown) continue;
      if (++mismatches <= 5) {
        EXPECT_BYTES_EQ(DecodeHeaderForDisplay(raw), shown) << "raw value: " << test_support::hex_dump(raw);
      }
    }
    EXPECT_EQ(values, kValues);
    EXPECT_EQ(mismatches, 0);
  }
}

}  // namespace
