// The result string of a transfer encoding, sized once and zero-filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace jconvert_detail {

// Results of many megabytes are backed by huge pages where the system
// offers them: faulting in tens of megabytes 4 KiB at a time costs several
// times more than encoding them.
inline void size_result(std::string& s, std::size_t len) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t kBig = std::size_t{4} << 20;
  if (len >= kBig) {
    s.reserve(len);
    constexpr std::uintptr_t kPage = 4096;
    const auto begin = (reinterpret_cast<std::uintptr_t>(s.data()) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(s.data()) + s.capacity()) & ~(kPage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // a hint only
  }
#endif
  s.resize(len);
}

}  // namespace jconvert_detail
