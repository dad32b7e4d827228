#include "file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace jconvert_cli {
namespace {

// Makes room for `size` bytes. Big inputs are backed by huge pages where the
// system offers them: faulting in tens of megabytes page by page costs more
// than reading them.
void make_room(std::string& data, std::size_t size) {
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
  data.resize(size);
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
  // Regular files are read into one buffer of their size; pipes grow as they come.
  std::size_t capacity = (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
                             ? static_cast<std::size_t>(st.st_size) + 1
                             : 1 << 16;
  make_room(data, capacity);
  std::size_t used = 0;
  for (;;) {
    if (used == data.size()) make_room(data, data.size() * 2);
    const ssize_t got = ::read(fd, data.data() + used, data.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      if (!use_stdin) ::close(fd);
      errno = saved;
      return std::nullopt;
    }
    used += static_cast<std::size_t>(got);
  }
  if (!use_stdin) ::close(fd);
  data.resize(used);
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
