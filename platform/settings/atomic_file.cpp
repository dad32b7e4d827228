#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace tolvane::platform {
namespace {

std::system_error LastError(const char* what) { return {errno, std::generic_category(), what}; }

// Closes the descriptor and removes the temporary unless the rename happened.
class TempFile {
 public:
  explicit TempFile(std::string name_template) : name_(std::move(name_template)) {
    std::vector<char> buf(name_.begin(), name_.end());
    buf.push_back('\0');
    fd_ = ::mkostemp(buf.data(), O_CLOEXEC);  // mode 0600 from the first byte on
    if (fd_ < 0) throw LastError("mkostemp");
    name_.assign(buf.data());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(name_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& name() const { return name_; }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw LastError("close");
  }
  void MarkRenamed() { renamed_ = true; }

 private:
  std::string name_;
  int fd_ = -1;
  bool renamed_ = false;
};

void WriteAll(int fd, const std::string& bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw LastError("write");
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

std::string FollowLink(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  // A dangling link cannot be resolved; then the link itself is replaced.
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes the rename itself durable. Failing here changes nothing: the new
// file is in place either way, so errors are not reported.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::error_code& ec) {
  ec.clear();
  // Non-blocking, so that a FIFO without a writer cannot stall the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    ec.assign(errno, std::generic_category());
    return std::nullopt;
  }
  std::string out;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ec.assign(errno, std::generic_category());
  } else if (S_ISDIR(st.st_mode)) {
    ec = std::make_error_code(std::errc::is_a_directory);
  } else if (!S_ISREG(st.st_mode)) {
    // A FIFO or a device may never end.
    ec = std::make_error_code(std::errc::invalid_argument);
  } else {
    char buf[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        ec.assign(errno, std::generic_category());
        break;
      }
      out.append(buf, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  if (ec) return std::nullopt;
  return out;
}

void ReplaceFileAtomically(const std::string& path, const std::string& bytes, mode_t new_file_mode) {
  const std::string target = FollowLink(path);
  TempFile temp(target + ".XXXXXX");

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  const mode_t mode = exists ? (old.st_mode & 07777) : new_file_mode;

  WriteAll(temp.fd(), bytes);
  if (::fchmod(temp.fd(), mode) != 0) throw LastError("fchmod");
  // Only root may hand a file to someone else; for anyone else the file is
  // already theirs or the attempt fails harmlessly.
  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
    (void)::fchown(temp.fd(), old.st_uid, old.st_gid);
  if (::fsync(temp.fd()) != 0) throw LastError("fsync");
  temp.Close();
  if (::rename(temp.name().c_str(), target.c_str()) != 0) throw LastError("rename");
  temp.MarkRenamed();
  SyncFolder(FolderOf(target));
}

}  // namespace tolvane::platform
