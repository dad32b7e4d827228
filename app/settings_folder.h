// Where the settings file and the NG-word list live. A tolvane.ini beside
// the executable makes a portable set-up that keeps both files there;
// otherwise they live in the user's configuration folder,
// $XDG_CONFIG_HOME/tolvane/ (~/.config/tolvane/ by default).
#pragma once

#include <string>

namespace settings_folder {

// The user's folder, with its trailing "/": $XDG_CONFIG_HOME/tolvane/ when
// that variable holds an absolute path, else $HOME/.config/tolvane/.
std::string UserFolder();

// Creates folder and each missing parent with mode 0700, as the folder
// holds passwords. False when it cannot be made.
bool Create(const std::string& folder);

// The folder this run uses, with its trailing "/": exe_dir itself when it
// holds a tolvane.ini, else UserFolder(). On a first start (the user's
// folder missing or empty) that folder is created and given a copy of the
// sample NG-word list installed with the program, if there is one.
std::string Prepare(const std::string& exe_dir);

// The sample list installed with the program: share/tolvane/ngword.txt
// beside the executable's bin/ folder.
std::string SampleNgWords(const std::string& exe_dir);

}  // namespace settings_folder
