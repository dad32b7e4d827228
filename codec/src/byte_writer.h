// Output cursor for the one-pass conversions: the result is sized once for
// the worst case the caller knows, written by position, then cut to length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace jconvert_detail {

class ByteWriter {
 public:
  explicit ByteWriter(std::size_t capacity) : out_(capacity, '\0'), pos_(0) {}

  // Makes room for n more bytes; only the JIS encoders, whose worst case is
  // far above their usual size, ever need to grow.
  void reserve(std::size_t n) {
    if (out_.size() - pos_ < n) out_.resize((out_.size() + n) * 2);
  }
  void put(unsigned char b) { out_[pos_++] = static_cast<char>(b); }
  void put2(unsigned char a, unsigned char b) {
    out_[pos_] = static_cast<char>(a);
    out_[pos_ + 1] = static_cast<char>(b);
    pos_ += 2;
  }
  void append(const char* p, std::size_t n) {
    std::memcpy(out_.data() + pos_, p, n);
    pos_ += n;
  }
  std::string finish() && {
    out_.resize(pos_);
    return std::move(out_);
  }

 private:
  std::string out_;
  std::size_t pos_;
};

// Length of the run of bytes below 0x80 starting at p, looking no further
// than end. Eight bytes at a time: ASCII stretches dominate real text.
inline std::size_t ascii_run(const unsigned char* p, const unsigned char* end) {
  const unsigned char* q = p;
  while (end - q >= 8) {
    std::uint64_t w;
    std::memcpy(&w, q, 8);
    if (w & 0x8080808080808080ULL) break;
    q += 8;
  }
  while (q < end && *q < 0x80) ++q;
  return static_cast<std::size_t>(q - p);
}

inline const unsigned char* bytes(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

}  // namespace jconvert_detail
