#include "settings_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace settings_folder {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

bool IsEmptyOrMissing(const std::string& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec)) return !ec;
  return fs::is_directory(folder, ec) && fs::is_empty(folder, ec) && !ec;
}

}  // namespace

std::string UserFolder() {
  // Relative values are invalid by the XDG rules and are ignored.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string base = config && config[0] == '/' ? config : WithSlash(HomeFolder()) + ".config";
  return WithSlash(base) + "tolvane/";
}

bool Create(const std::string& folder) {
  std::string path;
  for (std::size_t pos = 0; pos != std::string::npos;) {
    const std::size_t next = folder.find('/', pos + 1);
    path = folder.substr(0, next);
    pos = next;
    if (path.empty() || path.back() == '/') continue;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string SampleNgWords(const std::string& exe_dir) { return WithSlash(exe_dir) + "../share/tolvane/ngword.txt"; }

std::string Prepare(const std::string& exe_dir) {
  std::error_code ec;
  const std::string portable = WithSlash(exe_dir);
  if (fs::exists(fs::symlink_status(portable + "tolvane.ini", ec))) return portable;

  const std::string folder = UserFolder();
  const std::string sample = SampleNgWords(exe_dir);
  // Only a first start gets the sample: a user who deleted the list later
  // meant it.
  if (IsEmptyOrMissing(folder) && fs::is_regular_file(sample, ec) && Create(folder))
    fs::copy_file(sample, folder + "ngword.txt", ec);
  return folder;
}

}  // namespace settings_folder
