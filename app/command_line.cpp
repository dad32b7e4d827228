#include "command_line.h"

#include <string_view>

namespace command_line {
namespace {

constexpr char kHelp[] =
    "Usage: tolvane [--help | --version]\n"
    "\n"
    "Tolvane sits in the system tray, checks up to four POP3 mailboxes every ten\n"
    "minutes and lists the subject and sender of the waiting mail. It needs a\n"
    "desktop session (DISPLAY) to run.\n"
    "\n"
    "Settings: tolvane.ini and ngword.txt beside the executable when a tolvane.ini\n"
    "is there; otherwise in $XDG_CONFIG_HOME/tolvane/ (~/.config/tolvane/).\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this help and exit\n"
    "  --version   show the version and exit\n";

}  // namespace

std::optional<int> AnswerInfoOptions(int argc, char** argv, std::FILE* out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, out);
      return 0;
    }
    if (arg == "--version") {
      std::fputs("tolvane " TOLVANE_VERSION "\n", out);
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace command_line
