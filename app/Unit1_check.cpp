// The check cycle: one pass over the account table, the outcome in the
// caption, the tray and the notification window, and the error watch.
#include "Unit1.h"

#include <QAction>

#include <algorithm>

#include "Unit2.h"
#include "sound.h"
#include "texts.h"

namespace {

// Counts the calls into the client in progress, so that the close knows
// whether a cycle is still waiting inside it.
class ClientScope {
 public:
  explicit ClientScope(int& depth) : depth_(depth) { ++depth_; }
  ~ClientScope() { --depth_; }
  ClientScope(const ClientScope&) = delete;
  ClientScope& operator=(const ClientScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

void TForm1::CheckAllAccounts() {
  if (FAuthFailed) return;
  // An older cycle still waits inside the client (a start let through after
  // a server error): it finishes its exchange undisturbed, and no second
  // cycle runs on the same client.
  if (FClientDepth > 0) return;
  if (FServerError) {
    FChecking = false;
    FServerError = false;
  }
  if (FChecking) return;

  FChecking = true;
  FNewMail = false;
  Form_POPMES->MailCount = 0;
  SetCaption(texts::kConnecting);
  UpdateTray(Image4, texts::kConnecting);

  for (int row = 1; row < StringGrid1->RowCount(); ++row) {
    const std::string short_name = StringGrid1->Cells(0, row);
    const std::string server = StringGrid1->Cells(1, row);
    const std::string account = StringGrid1->Cells(2, row);
    const std::string password = StringGrid1->Cells(3, row);
    if (server.empty() || account.empty() || password.empty()) continue;
    if (FClosing) return;
    SetCaption("Connecting to [" + short_name + "]" + server + ".");
    FCurrentShortName = short_name;
    CheckAccount(server, account, password);
  }

  SetCaption(texts::kFinished);
  FChecking = false;

  const int n = Form_POPMES->MailCount;
  const std::string text =
      n == 0 ? std::string(texts::kNoMailText) : texts::kMailTextHead + std::to_string(n) + texts::kMailTextTail;
  Form_POPMES->SetCaption(text);
  UpdateTray(n == 0 ? Image2 : Image3, text);

  if (FNewMail) {
    LastMailCount = std::max(LastMailCount, static_cast<std::int32_t>(n));
    Form_POPMES->ShowNotification();
    if (FSoundFile.empty()) {
      platform::MessageBeep(platform::MB_ICONASTERISK);
    } else {
      platform::sndPlaySoundA(FSoundFile, platform::SND_ASYNC);
    }
  }
}

void TForm1::CheckAccount(const std::string& server, const std::string& account, const std::string& password) {
  try {
    if (!NMPOP31) throw EPop3Error("the POP3 client has been released");
    ClientScope scope(FClientDepth);
    NMPOP31->Host = server;
    NMPOP31->UserID = account;
    NMPOP31->Password = password;
    FListingNote.clear();
    FListing = {};
    FListingDone = false;
    // A failing connect closes its connection itself, also after an error
    // of the listing, so the next account starts clean.
    NMPOP31->Connect();
    NMPOP31->Disconnect();
  } catch (...) {
    SetCaption(texts::kServerError);
  }
  // A check that failed before its listing ended leaves what the account
  // had seen as it was: a server back from an outage announces only mail
  // that is new to it.
  if (FListingDone) RememberListing(server + '\n' + account);
  // The close let go of the client while this account was being polled.
  if (FReleasePending && FClientDepth == 0) ReleaseClient();
}

void TForm1::RememberListing(const std::string& key) {
  const auto last = FSeen.find(key);
  bool fresh = false;
  if (last == FSeen.end()) {
    // The account's first check since the start: whatever it lists.
    fresh = FListing.Count > 0;
  } else if (FListing.ById && last->second.ById) {
    fresh = std::any_of(FListing.Ids.begin(), FListing.Ids.end(),
                        [&](const std::string& id) { return last->second.Ids.count(id) == 0; });
  } else {
    fresh = FListing.Count > last->second.Count;
  }
  FNewMail = FNewMail || fresh;
  FSeen[key] = std::move(FListing);
  FListing = {};
}

void TForm1::Timer1Timer(platform::TTimer*) {
  Timer1->SetInterval(600000);
  if (!N_Stop->isChecked()) CheckAllAccounts();
}

void TForm1::N_StopClick() {
  N_Stop->setChecked(!N_Stop->isChecked());
  if (!N_Stop->isChecked()) Timer1->SetInterval(500);
}

void TForm1::NMPOP31Status(TNMPOP3*, const std::string& Status) {
  if (Status.find("ERR") == std::string::npos) return;
  SetCaption(Status);
  FServerError = true;
  if (NMPOP31) NMPOP31->Abort();
  if (Status.find("authorization") != std::string::npos) FAuthFailed = true;
}

void TForm1::UpdateTray(const QIcon& icon, const std::string& tip) {
  TrayIconData.hIcon = icon;
  platform::SetTip(TrayIconData, tip);
  platform::Shell_NotifyIconA(platform::NIM_MODIFY, &TrayIconData);
}
