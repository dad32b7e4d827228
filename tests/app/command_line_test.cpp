// The real binary answers --help and --version anywhere, and without a
// display says so in one line instead of letting Qt abort.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_process.h"

namespace {

using test_support::run_process;

// The binary with no display of any kind in its environment, plus extra.
test_support::ProcessResult RunWithoutDisplay(std::vector<std::string> extra_env, std::vector<std::string> args) {
  std::vector<std::string> argv = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};
  argv.insert(argv.end(), extra_env.begin(), extra_env.end());
  argv.push_back(TOLVANE_BINARY);
  argv.insert(argv.end(), args.begin(), args.end());
  return run_process(argv);
}

TEST(CommandLine, VersionAndHelpNeedNoDisplay) {
  const auto version = RunWithoutDisplay({}, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "tolvane " TOLVANE_VERSION "\n");
  EXPECT_EQ(version.err, "");

  for (const char* option : {"--help", "-h"}) {
    const auto help = RunWithoutDisplay({"DISPLAY=:9999"}, {option});
    EXPECT_EQ(help.exit_code, 0) << option;
    EXPECT_EQ(help.out.rfind("Usage: tolvane", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("~/.config/tolvane/"), std::string::npos);
    EXPECT_EQ(help.err, "") << option;
  }
}

TEST(CommandLine, NoDisplayIsOneLineAndStatusOne) {
  struct Case {
    std::vector<std::string> env;
    std::vector<std::string> args;
    std::string line;
  } cases[] = {
      {{}, {}, "tolvane: no display to show the windows on: DISPLAY is not set\n"},
      {{"DISPLAY=:9999"}, {}, "tolvane: cannot open display :9999\n"},
      {{"QT_QPA_PLATFORM=xcb", "DISPLAY=:9998"}, {}, "tolvane: cannot open display :9998\n"},
      {{}, {"-display", ":9997"}, "tolvane: cannot open display :9997\n"},
  };
  for (const Case& c : cases) {
    const auto result = RunWithoutDisplay(c.env, c.args);
    EXPECT_EQ(result.exit_code, 1) << c.line;
    EXPECT_EQ(result.err, c.line);
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
