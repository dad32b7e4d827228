// TForm1: the main window. It holds the account table, owns the POP3 client,
// the check timer, the tray icon and its menu, and runs the check cycle; its
// caption is the cycle's status line. Closing it ends the program.
#pragma once

#include <QMenu>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "form.h"
#include "pop3_client.h"
#include "string_grid.h"
#include "string_list.h"
#include "timer.h"
#include "tray_icon.h"

class QAction;
class QLabel;
class TGradBox;
class TGradButton;
class TURLLabel;
namespace platform {
class TLabel;
}

// The highest mail count announced so far in this process; never decreases.
// It no longer decides whether a cycle announces (FNewMail does).
extern std::int32_t LastMailCount;

class TForm1 : public platform::TForm {
 public:
  static constexpr std::uint32_t kTrayId = 100;
  static constexpr std::uint32_t kTrayMessage = platform::WM_USER + 1;  // 1025

  // Runs FormCreate: adds the tray icon, loads the settings and the NG words
  // and shows the window unless it starts as an icon.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;  // FormDestroy

  // Controls.
  TGradBox* GradBox2 = nullptr;
  TGradBox* GradBox1 = nullptr;
  TURLLabel* URLLabel1 = nullptr;
  TURLLabel* URLLabel2 = nullptr;
  platform::TLabel* Label2 = nullptr;
  TGradButton* GradButton1 = nullptr;
  TGradButton* GradButton2 = nullptr;
  TGradButton* GradButton3 = nullptr;
  platform::TLabel* Label1 = nullptr;
  QLabel* Image1 = nullptr;
  QIcon Image2, Image3, Image4;  // tray pictures: no mail, mail waiting, checking
  platform::TStringGrid* StringGrid1 = nullptr;

  // Non-visual parts.
  std::unique_ptr<TNMPOP3> NMPOP31;  // null once the close has let go of it
  std::unique_ptr<platform::TTimer> Timer1;
  QMenu* PopupMenu1 = nullptr;
  QAction* N2 = nullptr;
  QAction* N3 = nullptr;
  QAction* N1 = nullptr;
  QAction* N_Stop = nullptr;
  QAction* N_Icon = nullptr;
  QAction* N6 = nullptr;
  QAction* N4 = nullptr;
  QAction* Exit1 = nullptr;

  // State of the check cycle.
  bool FChecking = false;
  bool FClosing = false;
  bool FServerError = false;
  bool FAuthFailed = false;
  std::string FCurrentShortName;
  std::string FSoundFile;
  std::unique_ptr<TStringList> FNgWords;
  platform::NOTIFYICONDATA TrayIconData;

  // Check cycle.
  void CheckAllAccounts();
  void CheckAccount(const std::string& server, const std::string& account, const std::string& password);
  void Timer1Timer(platform::TTimer* Sender);
  void N_StopClick();
  void NMPOP31Status(TNMPOP3* Sender, const std::string& Status);
  // Mailbox listing, inside the client's connect call. It asks for at most
  // kMaxListedPerAccount messages of an account; when the mailbox holds more,
  // FListingNote says so for the account's log line (empty otherwise; reset
  // for every account).
  void NMPOP31Connect(TNMPOP3* Sender);
  static constexpr std::int64_t kMaxListedPerAccount = 10000;
  std::string FListingNote;

  // What one check of an account listed. Kept per account (server and
  // account cells) from its last completed check, in memory only: a cycle
  // announces when a listed mail was not listed by its account's last
  // completed check; by the UIDL id when every listed mail has one, else by
  // a count above that check's.
  struct TListedMail {
    bool ById = false;  // Ids holds the id of every listed mail
    std::set<std::string> Ids;
    int Count = 0;
  };
  std::map<std::string, TListedMail> FSeen;
  TListedMail FListing;       // the account being polled, so far
  bool FListingDone = false;  // its listing ran to its end
  bool FNewMail = false;      // the cycle listed mail its account had not listed before

  // Buttons and menu.
  void GradButton1Click();
  void GradButton2Click();
  void GradButton3Click();
  void N_IconClick();
  void N4Click();
  void Exit1Click();
  void TrayIconMessage(platform::TMessage& Msg);

  // Settings.
  std::string SettingsPath() const;
  void LoadSettings();
  void SaveSettings();

  // The user logs off or the system shuts down: the close query, and the
  // settings saved too.
  void SessionEnding();
  // A termination signal: the same close as the exit command, which ends
  // the program even when the settings cannot be saved.
  void EndProgram();

 protected:
  void Dispatch(platform::TMessage& message) override;
  void FormCloseQuery(bool& CanClose) override;
  void FormClose(platform::TCloseAction& Action) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void CreateControls();
  void CreateAccountTable();
  void CreateTrayMenu();
  void SetupClient();
  void StringGrid1DrawCell(platform::TStringGrid* Sender, int ACol, int ARow, platform::TRect Rect,
                           platform::TGridDrawState State);
  void UpdateTray(const QIcon& icon, const std::string& tip);
  void ShowMainWindow();
  // Lets go of the client once no call of it is running.
  void ReleaseClient();
  // Compares the listing of the account just polled with what its last
  // completed check listed, sets FNewMail when it found new mail and keeps
  // it in FSeen.
  void RememberListing(const std::string& key);

  int FClientDepth = 0;          // calls into the client in progress (re-entrant waits)
  bool FReleasePending = false;  // the close let go of the client while a cycle was inside it
  bool FEndRequested = false;    // a signal asked for the end
  std::string FSettingsDir;      // holds tolvane.ini and ngword.txt, chosen at start
};

extern TForm1* Form1;
