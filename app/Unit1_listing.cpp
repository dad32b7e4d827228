// The mailbox listing: runs inside the client's connect call, once per login.
#include <algorithm>

#include "Unit1.h"
#include "Unit2.h"
#include "mail_display.h"

namespace {

// No screen shows more of a cell; a hostile server's long headers would
// otherwise cost up to two folded values a row.
constexpr std::size_t kMaxCellBytes = 1024;

bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc); }

// Cuts the display text to kMaxCellBytes without splitting a Shift_JIS
// character.
std::string FitCell(std::string text) {
  if (text.size() <= kMaxCellBytes) return text;
  std::size_t end = 0;
  while (end < kMaxCellBytes) {
    const std::size_t step = IsSjisLead(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > kMaxCellBytes) break;
    end += step;
  }
  text.resize(end);
  return text;
}

}  // namespace

void TForm1::NMPOP31Connect(TNMPOP3* Sender) {
  const std::int64_t waiting = Sender->MessageCount();
  const std::int64_t count = std::min(waiting, kMaxListedPerAccount);
  // The listing asks for the ids, then message after message; the client
  // sends the commands ahead when the server allows it.
  const bool by_id = Sender->HasCapability("UIDL");
  Sender->BeginListing(count, by_id);
  if (by_id) Sender->GetUniqueIds();
  FListing.ById = by_id;
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
    list->SetCells(1, r, FitCell(DecodeForDisplay(summary.Subject)));
    list->SetCells(2, r, FitCell(DecodeForDisplay(summary.From)));
    ++FListing.Count;
    if (FListing.ById) {
      std::string id = Sender->UniqueId(i);
      // A mail without a usable id: this check goes by the count.
      if (id.empty()) {
        FListing.ById = false;
        FListing.Ids.clear();
      } else {
        FListing.Ids.insert(std::move(id));
      }
    }
  }
  if (waiting > count)
    FListingNote = "listed the first " + std::to_string(count) + " of " + std::to_string(waiting) + " messages";
  FListingDone = true;
}
