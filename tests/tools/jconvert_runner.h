// jconvert as users and scripts reach it: the built binary (JCONVERT_BINARY,
// set by tests/tools/CMakeLists.txt) in a process of its own, with the given
// arguments and standard input.
#pragma once

#include <string>
#include <vector>

#include "run_process.h"

namespace jconvert_test {

inline test_support::ProcessResult jconvert(std::vector<std::string> args, const std::string& input = {}) {
  args.insert(args.begin(), JCONVERT_BINARY);
  return test_support::run_process(args, input);
}

}  // namespace jconvert_test
