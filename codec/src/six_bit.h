// Six-bit packing shared by Base64, UU and BinHex: three bytes become four
// characters of a 64-character alphabet, most significant bits first.
//
// Encoding goes through a table of character pairs indexed by twelve bits,
// so a group of three bytes costs two lookups; decoding goes through four
// tables that hold each character's value already shifted into its place in
// the 24-bit group, with kInvalidBit set for characters that need the slow
// path. Both loops write by position into a buffer sized by the caller.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace jconvert_detail {

using SixBitAlphabet = std::array<char, 64>;

// Two characters for each twelve-bit value, in output order.
using PairTable = std::array<std::array<char, 2>, 4096>;

constexpr PairTable make_pair_table(const SixBitAlphabet& alphabet) {
  PairTable t{};
  for (std::size_t v = 0; v < 4096; ++v) t[v] = {alphabet[v >> 6], alphabet[v & 0x3F]};
  return t;
}

inline constexpr std::uint32_t kInvalidBit = 0x01000000;

// Place p (0..3) of a group: the character's value shifted to its bits.
using QuadTables = std::array<std::array<std::uint32_t, 256>, 4>;

// value_of(c) is the six-bit value of c, or a negative number for a
// character the fast loop must leave to the caller.
template <typename ValueOf>
constexpr QuadTables make_quad_tables(ValueOf value_of) {
  QuadTables t{};
  for (int c = 0; c < 256; ++c) {
    const int v = value_of(static_cast<unsigned char>(c));
    for (int p = 0; p < 4; ++p) {
      t[p][c] = v < 0 ? kInvalidBit : static_cast<std::uint32_t>(v) << (18 - 6 * p);
    }
  }
  return t;
}

inline void put_group(const PairTable& pairs, std::uint32_t bits24, char* out) {
  std::memcpy(out, pairs[bits24 >> 12].data(), 2);
  std::memcpy(out + 2, pairs[bits24 & 0xFFF].data(), 2);
}

// Encodes groups * 3 bytes of in into groups * 4 characters at out.
inline void encode_groups(const PairTable& pairs, const unsigned char* in, std::size_t groups, char* out) {
  // Two groups at a time from one eight-byte load while eight bytes remain.
  while (groups >= 3) {
    std::uint64_t w;
    std::memcpy(&w, in, 8);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    put_group(pairs, static_cast<std::uint32_t>(w >> 40), out);
    put_group(pairs, static_cast<std::uint32_t>(w >> 16) & 0xFFFFFF, out + 4);
    in += 6;
    out += 8;
    groups -= 2;
  }
  for (; groups > 0; --groups, in += 3, out += 4) {
    put_group(pairs, (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2], out);
  }
}

// Packs the one or two bytes of a short final group as if zero bytes
// followed: the 24 bits of the group.
inline std::uint32_t short_group_bits(const unsigned char* in, std::size_t n) {
  return (std::uint32_t{in[0]} << 16) | (n > 1 ? std::uint32_t{in[1]} << 8 : 0u);
}

inline std::uint32_t quad_bits(const QuadTables& t, const unsigned char* s) {
  return t[0][s[0]] | t[1][s[1]] | t[2][s[2]] | t[3][s[3]];
}

inline void put_bytes(std::uint32_t bits24, unsigned char* out, std::size_t count) {
  const unsigned char b[3] = {static_cast<unsigned char>(bits24 >> 16), static_cast<unsigned char>(bits24 >> 8),
                              static_cast<unsigned char>(bits24)};
  std::memcpy(out, b, count);
}

// Decodes whole groups of four plain characters from s (at most max_groups,
// stopping before the first group that holds any other character) into
// three bytes each at out. Returns the number of groups decoded.
inline std::size_t decode_groups(const QuadTables& t, const unsigned char* s, std::size_t max_groups,
                                 unsigned char* out) {
  std::size_t g = 0;
  // Four groups at a time into twelve bytes, stored as eight and four: no
  // store overlaps another, and none reaches past the groups' own bytes.
  while (max_groups - g >= 4) {
    const std::uint32_t x0 = quad_bits(t, s), x1 = quad_bits(t, s + 4);
    const std::uint32_t x2 = quad_bits(t, s + 8), x3 = quad_bits(t, s + 12);
    if ((x0 | x1 | x2 | x3) & kInvalidBit) break;
    std::uint64_t hi = (std::uint64_t{x0} << 40) | (std::uint64_t{x1} << 16) | (x2 >> 8);
    std::uint32_t lo = (x2 << 24) | x3;
    if constexpr (std::endian::native == std::endian::little) {
      hi = __builtin_bswap64(hi);
      lo = __builtin_bswap32(lo);
    }
    std::memcpy(out, &hi, 8);
    std::memcpy(out + 8, &lo, 4);
    s += 16;
    out += 12;
    g += 4;
  }
  for (; g < max_groups; ++g, s += 4, out += 3) {
    const std::uint32_t x = quad_bits(t, s);
    if (x & kInvalidBit) break;
    put_bytes(x, out, 3);
  }
  return g;
}

}  // namespace jconvert_detail
