#include "Jconvert.h"
#include "jis_arith.h"

using jconvert_detail::BytePair;

std::string ToSjis(unsigned char row, unsigned char cell) {
  const BytePair p = jconvert_detail::jis_to_sjis(row, cell);
  return {static_cast<char>(p.first), static_cast<char>(p.second)};
}

std::string ToJis(unsigned char lead, unsigned char trail) {
  const BytePair p = jconvert_detail::sjis_to_jis(lead, trail);
  return {static_cast<char>(p.first), static_cast<char>(p.second)};
}
