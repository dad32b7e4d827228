// Program entry: the application, its two windows and the message loop. The
// program shows no taskbar button, runs on after an error it shows, and ends
// in order on the exit command, a termination signal or the end of the
// desktop session.
#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "Unit1.h"
#include "Unit2.h"
#include "application.h"
#include "caret_blink.h"
#include "command_line.h"
#include "display_check.h"
#include "texts.h"

namespace {

int g_signal_pipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  // Only async-signal-safe work here: the event loop does the rest.
  [[maybe_unused]] const ssize_t n = write(g_signal_pipe[1], &byte, 1);
}

// Errors that escape an event handler are shown, and the program runs on.
class TolvaneApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      platform::Application().ShowException(e);
    }
    return false;
  }
};

void WatchTerminationSignals(QObject* owner) {
  if (pipe2(g_signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_signal_pipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
    char buf[16];
    while (read(g_signal_pipe[0], buf, sizeof buf) > 0) {
    }
    if (Form1) Form1->EndProgram();
  });
  struct sigaction sa {};
  sa.sa_handler = OnTerminationSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = command_line::AnswerInfoOptions(argc, argv, stdout)) return *status;
  if (const std::string problem = platform::DisplayProblem(argc, argv); !problem.empty()) {
    std::fprintf(stderr, "tolvane: %s\n", problem.c_str());
    return 1;
  }
  try {
    TolvaneApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvane"));
    // The program lives in the tray: hiding its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::Application().SetTitle(texts::kTitle);
    WatchTerminationSignals(&app);
    // The account table's editor caret must not keep an idle program awake.
    platform::CaretBlinkLimit caret_blink;

    Form1 = new TForm1();
    platform::Application().SetMainForm(Form1);
    Form_POPMES = new TForm_POPMES();
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [](QSessionManager&) {
      if (Form1) Form1->SessionEnding();
    });

    app.exec();

    delete Form_POPMES;
    Form_POPMES = nullptr;
    delete Form1;
    Form1 = nullptr;
  } catch (const std::exception& e) {
    platform::Application().ShowException(e);
  }
  return 0;
}
