// Big results are backed by huge pages where the system offers them:
// faulting in tens of megabytes 4 KiB at a time costs several times more
// than converting or encoding them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace jconvert_detail {

inline constexpr std::size_t kHugePageWorthy = std::size_t{4} << 20;

// Advises huge pages for the whole pages inside s's buffer, once it holds
// kHugePageWorthy bytes or more. Only a hint: nothing changes where it fails.
inline void advise_huge_pages(std::string& s) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (s.capacity() < kHugePageWorthy) return;
  constexpr std::uintptr_t kPage = 4096;
  const auto start = reinterpret_cast<std::uintptr_t>(s.data());
  const auto begin = (start + kPage - 1) & ~(kPage - 1);
  const auto end = (start + s.capacity()) & ~(kPage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)s;
#endif
}

}  // namespace jconvert_detail
