#include "file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>

namespace jconvert_cli {
namespace {

// Reserves room for at least `size` bytes. Big inputs are backed by huge
// pages where the system offers them: faulting in tens of megabytes page by
// page costs more than reading them.
void reserve_big(std::string& data, std::size_t size) {
  if (size <= data.capacity()) return;
  data.reserve(size);
#if defined(MADV_HUGEPAGE)
  constexpr std::size_t kBig = std::size_t{8} << 20;
  constexpr std::uintptr_t kPage = 4096;
  if (data.capacity() >= kBig) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data.data()) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data.data()) + data.capacity()) & ~(kPage - 1);
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // only a hint
  }
#endif
}

}  // namespace

std::optional<std::string> read_all(const std::string& path) {
  const bool use_stdin = path.empty() || path == "-";
  const int fd = use_stdin ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;

  std::string data;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    if (!use_stdin) ::close(fd);
    errno = EISDIR;
    return std::nullopt;
  }
  // Regular files get one buffer of their size at once; pipes grow as they come.
  if (S_ISREG(st.st_mode) && st.st_size > 0) reserve_big(data, static_cast<std::size_t>(st.st_size));
  // Reading through a small buffer that stays in cache and appending spares
  // zero-filling the whole input before the read overwrites it.
  constexpr std::size_t kChunk = std::size_t{1} << 17;
  const std::unique_ptr<char[]> chunk(new char[kChunk]);
  for (;;) {
    const ssize_t got = ::read(fd, chunk.get(), kChunk);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      if (!use_stdin) ::close(fd);
      errno = saved;
      return std::nullopt;
    }
    const auto n = static_cast<std::size_t>(got);
    if (data.size() + n > data.capacity()) reserve_big(data, std::max(2 * data.capacity(), data.size() + n));
    data.append(chunk.get(), n);
  }
  if (!use_stdin) ::close(fd);
  return data;
}

bool write_stdout(const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t put = ::write(STDOUT_FILENO, data.data() + done, data.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

}  // namespace jconvert_cli
