#include "muldiv.h"

#include <limits>

namespace platform {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  // |product| < 2^62 and |c| <= 2^31, so neither magnitude overflows.
  const std::uint64_t num = product < 0 ? static_cast<std::uint64_t>(-product) : static_cast<std::uint64_t>(product);
  const std::uint64_t den =
      c < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(c)) : static_cast<std::uint64_t>(c);
  const std::uint64_t rounded = (num + den / 2) / den;
  if (negative) {
    if (rounded > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return -1;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(rounded));
  }
  if (rounded > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return -1;
  return static_cast<std::int32_t>(rounded);
}

}  // namespace platform
