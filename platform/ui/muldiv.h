// MulDiv: a * b / c through a 64-bit product, rounded to the nearest integer
// with halves away from zero. Gives -1 when c is 0 or the result does not
// fit in 32 bits, as the desktop routine of that name does.
#pragma once

#include <cstdint>

namespace platform {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace platform
