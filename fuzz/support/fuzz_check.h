// Property checks for the fuzz targets. A failed check prints the input and
// the two byte strings in hex, then aborts, so libFuzzer keeps the input as
// a crash file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline std::string Hex(const std::string& s, std::size_t limit = 256) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < s.size() && i < limit; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (i) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 0x0F];
  }
  if (s.size() > limit) out += " ...";
  return out;
}

[[noreturn]] inline void Fail(const char* what, const std::string& input, const std::string& expected,
                              const std::string& actual) {
  std::fprintf(stderr,
               "\n*** property failed: %s\n    input    (%zu): %s\n    expected (%zu): %s\n"
               "    actual   (%zu): %s\n",
               what, input.size(), Hex(input).c_str(), expected.size(), Hex(expected).c_str(), actual.size(),
               Hex(actual).c_str());
  std::abort();
}

[[noreturn]] inline void Fail(const char* what, const std::string& input, long long expected, long long actual) {
  Fail(what, input, std::to_string(expected), std::to_string(actual));
}

// Fixed-size parameters read from the front of the input; bytes missing
// at the end of a short input read as 0.
class Params {
 public:
  Params(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  unsigned char byte() { return pos_ < size_ ? data_[pos_++] : (++pos_, 0); }
  signed char int8() { return static_cast<signed char>(byte()); }
  short int16() {
    const unsigned lo = byte();
    const unsigned hi = byte();
    return static_cast<short>(lo | (hi << 8));
  }
  // The bytes after the parameters.
  const unsigned char* rest() const { return data_ + (pos_ < size_ ? pos_ : size_); }
  std::size_t rest_size() const { return pos_ < size_ ? size_ - pos_ : 0; }

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace fuzz

#define FUZZ_EXPECT_EQ(what, input, expected, actual)                       \
  do {                                                                      \
    const auto& fuzz_e_ = (expected);                                       \
    const auto& fuzz_a_ = (actual);                                         \
    if (!(fuzz_e_ == fuzz_a_)) ::fuzz::Fail(what, input, fuzz_e_, fuzz_a_); \
  } while (0)
