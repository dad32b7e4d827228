// The result string of a transfer encoding, sized once and zero-filled.
#pragma once

#include <cstddef>
#include <string>

#include "huge_pages.h"

namespace jconvert_detail {

inline void size_result(std::string& s, std::size_t len) {
  if (len >= kHugePageWorthy) {
    s.reserve(len);
    advise_huge_pages(s);
  }
  s.resize(len);
}

}  // namespace jconvert_detail
