// The JIS X 0208 <-> Shift_JIS arithmetic on 8-bit values, shared by every
// conversion. Out-of-range bytes are not checked: they wrap like the
// arithmetic itself.
//
// The byte loops use the same arithmetic as lookup tables (one byte of the
// pair decides the row, the other the cell, so the tables are small) and, for
// stretches of pairs, eight pairs at a time in SIMD registers. Both are
// checked against the plain arithmetic below: the tables at compile time over
// all 65536 pairs, the SIMD forms by the tests.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jconvert_detail {

struct BytePair {
  unsigned char first;
  unsigned char second;
};

constexpr BytePair jis_to_sjis(unsigned char row, unsigned char cell) {
  const int lead = (row + 1) / 2 + (row < 0x5F ? 0x70 : 0xB0);
  int trail;
  if (row % 2 == 0) {
    trail = cell + 0x7E;
  } else {
    trail = cell + (cell <= 0x5F ? 0x1F : 0x20);
  }
  return {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
}

constexpr BytePair sjis_to_jis(unsigned char lead, unsigned char trail) {
  int row = 2 * (lead - (lead < 0xA0 ? 0x70 : 0xB0));
  int cell;
  if (trail < 0x9F) {
    row -= 1;
    cell = trail - (trail <= 0x7F ? 0x1F : 0x20);
  } else {
    cell = trail - 0x7E;
  }
  return {static_cast<unsigned char>(row), static_cast<unsigned char>(cell)};
}

// --- Tables ---------------------------------------------------------------

struct ArithTables {
  // Shift_JIS to JIS: row = sjis_row[lead] - sjis_row_dec[trail], cell = sjis_cell[trail].
  unsigned char sjis_row[256];
  unsigned char sjis_row_dec[256];
  unsigned char sjis_cell[256];
  // JIS to Shift_JIS: lead = jis_lead[row], trail = jis_trail[(row & 1) * 256 + cell].
  unsigned char jis_lead[256];
  unsigned char jis_trail[512];
};

constexpr ArithTables make_arith_tables() {
  ArithTables t{};
  for (int b = 0; b < 256; ++b) {
    const auto u = static_cast<unsigned char>(b);
    t.sjis_row[b] = sjis_to_jis(u, 0x9F).first;
    t.sjis_row_dec[b] = static_cast<unsigned char>(sjis_to_jis(0x81, 0x9F).first - sjis_to_jis(0x81, u).first);
    t.sjis_cell[b] = sjis_to_jis(0x81, u).second;
    t.jis_lead[b] = jis_to_sjis(u, 0x21).first;
    t.jis_trail[b] = jis_to_sjis(0x22, u).second;
    t.jis_trail[256 + b] = jis_to_sjis(0x21, u).second;
  }
  return t;
}

inline constexpr ArithTables kArith = make_arith_tables();

constexpr BytePair sjis_to_jis_fast(unsigned char lead, unsigned char trail) {
  return {static_cast<unsigned char>(kArith.sjis_row[lead] - kArith.sjis_row_dec[trail]), kArith.sjis_cell[trail]};
}

constexpr BytePair jis_to_sjis_fast(unsigned char row, unsigned char cell) {
  return {kArith.jis_lead[row], kArith.jis_trail[(row & 1) * 256 + cell]};
}

constexpr bool tables_match_arithmetic() {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const auto x = static_cast<unsigned char>(a);
      const auto y = static_cast<unsigned char>(b);
      const BytePair s = sjis_to_jis(x, y), sf = sjis_to_jis_fast(x, y);
      const BytePair j = jis_to_sjis(x, y), jf = jis_to_sjis_fast(x, y);
      if (s.first != sf.first || s.second != sf.second || j.first != jf.first || j.second != jf.second) return false;
    }
  }
  return true;
}
static_assert(tables_match_arithmetic());

// --- Eight pairs at a time --------------------------------------------------
// A register holds eight pairs as 16-bit lanes, first byte low. The lanes are
// worked in 16 bits and cut back to 8 at the end, which wraps like the
// arithmetic above.

#if defined(__SSE2__)
#define JCONVERT_SIMD 1

inline __m128i sjis_to_jis_x8(__m128i v) {
  const __m128i lo = _mm_set1_epi16(0x00FF);
  const __m128i lead = _mm_and_si128(v, lo);
  const __m128i trail = _mm_srli_epi16(v, 8);
  const __m128i upper = _mm_cmpgt_epi16(lead, _mm_set1_epi16(0x9F));
  const __m128i offset = _mm_add_epi16(_mm_set1_epi16(0x70), _mm_and_si128(upper, _mm_set1_epi16(0x40)));
  const __m128i odd_row = _mm_cmplt_epi16(trail, _mm_set1_epi16(0x9F));  // all ones: row - 1
  const __m128i row = _mm_add_epi16(_mm_slli_epi16(_mm_sub_epi16(lead, offset), 1), odd_row);
  const __m128i past_7f = _mm_cmpgt_epi16(trail, _mm_set1_epi16(0x7F));
  const __m128i odd_sub = _mm_sub_epi16(_mm_set1_epi16(0x1F), past_7f);  // 0x1F or 0x20
  const __m128i sub = _mm_or_si128(_mm_and_si128(odd_row, odd_sub), _mm_andnot_si128(odd_row, _mm_set1_epi16(0x7E)));
  const __m128i cell = _mm_sub_epi16(trail, sub);
  return _mm_or_si128(_mm_and_si128(row, lo), _mm_slli_epi16(cell, 8));
}

inline __m128i jis_to_sjis_x8(__m128i v) {
  const __m128i lo = _mm_set1_epi16(0x00FF);
  const __m128i row = _mm_and_si128(v, lo);
  const __m128i cell = _mm_srli_epi16(v, 8);
  const __m128i high = _mm_cmpgt_epi16(row, _mm_set1_epi16(0x5E));
  const __m128i base = _mm_add_epi16(_mm_set1_epi16(0x70), _mm_and_si128(high, _mm_set1_epi16(0x40)));
  const __m128i lead = _mm_add_epi16(_mm_srli_epi16(_mm_add_epi16(row, _mm_set1_epi16(1)), 1), base);
  const __m128i one = _mm_set1_epi16(1);
  const __m128i odd = _mm_cmpeq_epi16(_mm_and_si128(row, one), one);
  const __m128i low_cell = _mm_cmplt_epi16(cell, _mm_set1_epi16(0x60));
  const __m128i odd_add = _mm_add_epi16(_mm_set1_epi16(0x20), low_cell);  // 0x1F or 0x20
  const __m128i add = _mm_or_si128(_mm_and_si128(odd, odd_add), _mm_andnot_si128(odd, _mm_set1_epi16(0x7E)));
  const __m128i trail = _mm_add_epi16(cell, add);
  return _mm_or_si128(_mm_and_si128(lead, lo), _mm_slli_epi16(trail, 8));
}

// Bytes (0..16, even) in the leading lanes that have a property, from the
// all-ones lane mask of a comparison. A full register is the usual case
// inside a run and is tested first: a predicted branch lets the next load
// start before this mask is known.
inline std::size_t kept_bytes(__m128i lane_mask) {
  const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(lane_mask));
  if (bits == 0xFFFF) return 16;
  return static_cast<std::size_t>(__builtin_ctz(~bits)) & ~std::size_t{1};
}

// Lanes whose first byte is at least 0x80 and not a half-width
// katakana (0xA1..0xDF): in Shift_JIS each such byte starts a pair.
inline __m128i sjis_pair_lanes(__m128i v) {
  const __m128i lead = _mm_and_si128(v, _mm_set1_epi16(0x00FF));
  const __m128i high = _mm_cmpgt_epi16(lead, _mm_set1_epi16(0x7F));
  const __m128i kana =
      _mm_and_si128(_mm_cmpgt_epi16(lead, _mm_set1_epi16(0xA0)), _mm_cmplt_epi16(lead, _mm_set1_epi16(0xE0)));
  return _mm_andnot_si128(kana, high);
}

inline __m128i load16(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store16(unsigned char* o, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v); }
#endif

}  // namespace jconvert_detail
