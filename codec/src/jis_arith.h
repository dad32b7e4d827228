// The JIS X 0208 <-> Shift_JIS arithmetic on 8-bit values, shared by every
// conversion. Out-of-range bytes are not checked: they wrap like the
// arithmetic itself.
#pragma once

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

}  // namespace jconvert_detail
