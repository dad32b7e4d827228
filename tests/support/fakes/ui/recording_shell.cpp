#include "recording_shell.h"

namespace test_support {

void RecordingShell::ShellExecute(const std::string& verb, const std::string& target) {
  requests.push_back({verb, target});
}

}  // namespace test_support
