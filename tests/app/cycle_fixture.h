// The windows with scripted POP3 servers behind the account rows, and a
// record of every caption the main window showed.
#pragma once

#include <QObject>

#include <memory>
#include <vector>

#include "app_fixture.h"
#include "mailbox_table.h"
#include "sjis_text.h"

namespace app_test {

using test_support::Mail;
using test_support::MailboxTable;
using test_support::PlainMails;

class CycleFixture : public AppFixture {
 protected:
  void Start() {
    AppFixture::Start();
    QObject::connect(Form1, &QWidget::windowTitleChanged, Form1,
                     [this](const QString& t) { captions.push_back(platform::QStringToSjis(t)); });
  }

  // A server with the mailbox, behind account row `row`.
  FakePop3Server& Serve(int row, const std::string& short_name, std::map<std::string, FakeReply> table,
                        FakeReply greeting = {"+OK ready\r\n"}) {
    servers.push_back(std::make_unique<FakePop3Server>(std::move(table), greeting));
    SetRow(row, short_name, servers.back()->host_port(), "user", "pw");
    return *servers.back();
  }
  FakePop3Server& ServeMails(int row, const std::string& short_name, const std::vector<Mail>& mails) {
    return Serve(row, short_name, MailboxTable("user", "pw", mails));
  }

  static void SetRow(int row, const std::string& name, const std::string& server, const std::string& account,
                     const std::string& password) {
    Form1->StringGrid1->SetCells(0, row, name);
    Form1->StringGrid1->SetCells(1, row, server);
    Form1->StringGrid1->SetCells(2, row, account);
    Form1->StringGrid1->SetCells(3, row, password);
  }

  std::string Cell(int col, int row) const { return Form_POPMES->StringGrid1->Cells(col, row); }

  std::vector<std::string> captions;
  std::vector<std::unique_ptr<FakePop3Server>> servers;
};

}  // namespace app_test
