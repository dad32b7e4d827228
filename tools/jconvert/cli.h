// The jconvert command line: parses the arguments, runs one codec command over
// a file or standard input and writes the result bytes to standard output.
#pragma once

namespace jconvert_cli {

// Exit codes: 0 done, 1 input or output failed, 2 usage error.
int run(int argc, char** argv);

}  // namespace jconvert_cli
