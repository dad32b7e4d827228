// Shutdown: the close query lets go of the POP3 client, the close saves the
// settings, the destruction removes the tray icon.
#include "Unit1.h"

#include <cstdio>

#include "application.h"
#include "texts.h"

namespace {
// A server that stalls on QUIT must not hold up the end of the program.
constexpr int kQuitWaitMs = 2000;
}  // namespace

void TForm1::FormCloseQuery(bool& CanClose) {
  FClosing = true;
  SetCaption(texts::kShuttingDown);
  if (FClientDepth > 0) {
    // A cycle waits inside the client: cut that wait short (the account ends
    // with "POP Server Error." and the cycle polls no further account). The
    // client is let go once the cycle has left it.
    if (NMPOP31) NMPOP31->Abort();
    FReleasePending = true;
    CanClose = true;
    return;
  }
  if (NMPOP31) {
    // Close a connection an earlier error may have left open. The client
    // closes it even when QUIT fails, so this ends.
    NMPOP31->IdleTimeOut = kQuitWaitMs;
    while (NMPOP31->Connected()) {
      try {
        NMPOP31->Disconnect();
      } catch (const std::exception&) {
        NMPOP31->Abort();
      }
    }
    ReleaseClient();
  }
  CanClose = true;
}

void TForm1::ReleaseClient() {
  FReleasePending = false;
  if (!NMPOP31) return;
  NMPOP31->Abort();
  NMPOP31.reset();
}

void TForm1::FormClose(platform::TCloseAction& Action) {
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    if (FEndRequested) {
      // Nobody is there to answer a box: say it and end.
      std::fprintf(stderr, "tolvane: %s\n", e.what());
      return;
    }
    // The file is as it was. Stay up, so that the user can make it writable
    // and exit again without losing the edits of this session.
    Action = platform::TCloseAction::caNone;
    platform::Application().ShowException(e);
  }
}

void TForm1::EndProgram() {
  FEndRequested = true;
  Close();
}

void TForm1::SessionEnding() {
  bool can_close = true;
  FormCloseQuery(can_close);
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tolvane: %s\n", e.what());
  }
}

TForm1::~TForm1() {
  platform::Shell_NotifyIconA(platform::NIM_DELETE, &TrayIconData);
  FNgWords.reset();
  if (NMPOP31) NMPOP31->Abort();
}
