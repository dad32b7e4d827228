#include "display_check.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The value of Qt's option -name or --name, or fallback.
std::string QtOption(int argc, char** argv, std::string_view name, std::string fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg.starts_with("--")) arg.remove_prefix(1);
    if (arg.size() == name.size() + 1 && arg[0] == '-' && arg.substr(1) == name) return argv[i + 1];
  }
  return fallback;
}

}  // namespace

std::string DisplayProblem(int argc, char** argv) {
  const std::string qpa = QtOption(argc, argv, "platform", Env("QT_QPA_PLATFORM"));
  // Left to Qt: another platform, a list to fall back along, or a Wayland
  // session that Qt may prefer.
  if (!qpa.empty() && qpa != "xcb") return "";
  if (qpa.empty() && !Env("WAYLAND_DISPLAY").empty()) return "";

  const std::string display = QtOption(argc, argv, "display", Env("DISPLAY"));
  if (display.empty()) return "no display to show the windows on: DISPLAY is not set";
  xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
  const bool failed = xcb_connection_has_error(c) != 0;
  xcb_disconnect(c);
  return failed ? "cannot open display " + display : "";
}

}  // namespace platform
