// The options the program answers before any window exists.
#pragma once

#include <cstdio>
#include <optional>

namespace command_line {

// Answers --help and --version on out and returns the exit status; nothing
// when the program is to run.
std::optional<int> AnswerInfoOptions(int argc, char** argv, std::FILE* out);

}  // namespace command_line
