// TForm_POPMES: the notification window. It pops up at the top left corner
// above every window without taking the focus, lists the mails the last
// check found (account, subject, sender) and hides itself 4 seconds after it
// was last shown or resized. Closing it only hides it.
#pragma once

#include <memory>

#include "form.h"
#include "string_grid.h"
#include "timer.h"

class TForm_POPMES : public platform::TForm {
 public:
  static constexpr int kRowPitch = 17;  // 16-pixel rows and their grid line
  static constexpr int kCornerX = 8;    // outer top-left corner when shown
  static constexpr int kCornerY = 8;
  static constexpr int kShowMs = 4000;

  explicit TForm_POPMES(QWidget* parent = nullptr);
  ~TForm_POPMES() override;

  // Mail rows listed in the current check cycle.
  int MailCount = 0;

  platform::TStringGrid* StringGrid1 = nullptr;
  std::unique_ptr<platform::TTimer> Timer1;

  void ShowNotification();
  // The list's height for MailCount rows: whole rows, as many as fit between
  // the corner and the bottom of the screen's available area.
  int ListHeight() const;

  void FormCreate();
  void FormResize();
  void Timer1Timer(platform::TTimer* Sender);

 protected:
  void FormCloseQuery(bool& CanClose) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceAtCorner();
};

extern TForm_POPMES* Form_POPMES;
