// The decoding side shared by Base64, UU and BinHex: a result of the length
// counted beforehand, filled group by group. Runs of whole groups of plain
// characters go through decode_groups; anything else arrives one six-bit
// value at a time. Nothing is ever written past the counted length, so
// malformed text can only leave the result's tail zero.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "six_bit.h"

namespace jconvert_detail {

class SixBitDecoder {
 public:
  // result is already sized (and zero-filled) to the counted length.
  explicit SixBitDecoder(std::string& result)
      : out_(reinterpret_cast<unsigned char*>(result.data())), len_(result.size()) {}

  // Bytes of the result still to write.
  std::size_t room() const { return len_ - o_; }
  bool in_group() const { return k_ != 0; }

  // Decodes up to max_groups whole groups of plain characters at s, as many
  // as the result has room for; returns how many characters that used.
  std::size_t whole_groups(const QuadTables& t, const unsigned char* s, std::size_t max_groups) {
    const std::size_t g = decode_groups(t, s, std::min(max_groups, room() / 3), out_ + o_);
    o_ += 3 * g;
    return 4 * g;
  }

  // Adds one six-bit value to the group; true once the group holds four.
  bool add(std::uint32_t v) {
    acc_ = (acc_ << 6) | v;
    return ++k_ == 4;
  }

  // Writes the first count bytes of the group so far, its missing values
  // taken as zero, and starts the next group.
  void put(std::size_t count) {
    const std::size_t m = std::min(count, room());
    put_bytes(acc_ << (6 * (4 - k_)), out_ + o_, m);
    o_ += m;
    acc_ = 0;
    k_ = 0;
  }

  // A group of k characters cut short gives k - 1 bytes (a lone one none).
  void end_group() { put(k_ > 1 ? static_cast<std::size_t>(k_ - 1) : 0); }

  // Leaves count bytes of the result zero.
  void zeros(std::size_t count) { o_ += std::min(count, room()); }

 private:
  unsigned char* out_;
  std::size_t len_;
  std::size_t o_ = 0;
  std::uint32_t acc_ = 0;
  int k_ = 0;  // values in the group so far
};

// What value_of gives for a character outside the alphabet.
inline constexpr int kSkipChar = -1;  // ignored where it stands
inline constexpr int kEndGroup = -2;  // ends the group it stands in
inline constexpr int kEndText = -3;   // ends the text

// The loop of Base64 and BinHex over n characters at s: value_of(c) is c's
// six-bit value, or one of the three above. quads must send every
// character whose value_of is not a value down the slow path.
template <int (*value_of)(unsigned char)>
void decode_six_bit_text(SixBitDecoder& d, const QuadTables& quads, const unsigned char* s, std::size_t n) {
  std::size_t i = 0;
  while (i < n && d.room() > 0) {
    // Not at a line break or pad, the usual misses: the fast loop would
    // load a stretch of four groups only to find one of them there.
    if (!d.in_group() && !(quads[0][s[i]] & kInvalidBit)) {
      i += d.whole_groups(quads, s + i, (n - i) / 4);
      if (i == n) break;
    }
    const int v = value_of(s[i++]);
    if (v >= 0) {
      if (d.add(static_cast<std::uint32_t>(v))) d.put(3);
    } else if (v == kEndGroup) {
      d.end_group();
    } else if (v == kEndText) {
      break;
    }
  }
  d.end_group();
}

}  // namespace jconvert_detail
