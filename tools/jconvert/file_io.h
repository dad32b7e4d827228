#pragma once

#include <optional>
#include <string>

namespace jconvert_cli {

// The whole content of path ("" or "-" for standard input), or nullopt with
// errno set.
std::optional<std::string> read_all(const std::string& path);

// Writes all of data to standard output; false with errno set on failure.
bool write_stdout(const std::string& data);

}  // namespace jconvert_cli
