// A shell that records each open request and opens nothing.
#pragma once

#include <string>
#include <vector>

#include "shell_open.h"

namespace test_support {

class RecordingShell final : public platform::ShellService {
 public:
  struct Request {
    std::string verb;
    std::string target;
  };
  void ShellExecute(const std::string& verb, const std::string& target) override;
  std::vector<Request> requests;
};

}  // namespace test_support
