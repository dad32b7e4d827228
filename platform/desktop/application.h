// The application object: its title (the caption of error boxes), its main
// form, the executable's folder, and the one place where an error that no
// handler caught is shown.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace platform {

class TForm;

class TApplication {
 public:
  const std::string& Title() const { return title_; }
  void SetTitle(std::string sjis) { title_ = std::move(sjis); }

  TForm* MainForm() const { return main_form_; }
  void SetMainForm(TForm* form) { main_form_ = form; }

  // The folder of the running executable with its trailing "/", or the one
  // set by SetExeDir (tests).
  std::string ExeDir() const;
  void SetExeDir(std::string dir) { exe_dir_ = std::move(dir); }

  // Shows the error's text in a message box titled Title() and returns.
  void ShowException(const std::exception& error);
  // Runs fn; an error escaping it is shown by ShowException.
  void Guard(const std::function<void()>& fn);

  // Handles the pending events once, as the desktop's message pump does.
  void ProcessMessages();
  // Ends the main message loop when control gets back to it.
  void Terminate();

 private:
  std::string title_;
  TForm* main_form_ = nullptr;
  std::string exe_dir_;
};

TApplication& Application();

}  // namespace platform
