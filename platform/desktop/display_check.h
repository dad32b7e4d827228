// Whether the program's windows have a display to go to. Qt aborts the
// process with a long message when its X11 platform cannot connect; this
// finds that out first, so that the program can say so in one line.
#pragma once

#include <string>

namespace platform {

// Empty when the windows can be shown (or when another platform than X11
// was chosen, which Qt then checks itself); else why not, in one line.
// argv may hold Qt's own -platform and -display options.
std::string DisplayProblem(int argc, char** argv);

}  // namespace platform
