// The mailbox listing: runs inside the client's connect call, once per login.
#include "Unit1.h"

#include "Unit2.h"
#include "mail_display.h"

void TForm1::NMPOP31Connect(TNMPOP3* Sender) {
  const std::int64_t count = Sender->MessageCount();
  for (std::int64_t i = 1; i <= count; ++i) {
    Sender->GetSummary(i);
    const TPop3Summary summary = Sender->Summary();
    // An excluded mail gets no row; the account's later mails are still
    // listed.
    if (HasNgWord(DecodeForDisplay(summary.Subject), FNgWords ? FNgWords->Strings() : std::vector<std::string>{}))
      continue;
    const int r = Form_POPMES->MailCount;
    Form_POPMES->MailCount = r + 1;
    platform::TStringGrid* list = Form_POPMES->StringGrid1;
    list->SetRowCount(r + 1);
    list->SetCells(0, r, FCurrentShortName);
    list->SetCells(1, r, DecodeForDisplay(summary.Subject));
    list->SetCells(2, r, DecodeForDisplay(summary.From));
  }
}
