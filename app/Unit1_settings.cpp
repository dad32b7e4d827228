// The account table and the settings file.
#include "Unit1.h"

#include <QAction>

#include "application.h"
#include "ini_file.h"
#include "settings_folder.h"
#include "texts.h"

namespace {

constexpr platform::TColor kFixedColor = 14662655;
constexpr platform::TColor kMaskColor = 128;

const char* const kOption = "Option";
const char* const kAccountKeys[] = {"ShortName", "POPServer", "Account", "Password"};

std::string AccountSection(int row) { return "Account:" + std::to_string(row); }

}  // namespace

std::string TForm1::SettingsPath() const { return FSettingsDir + "tolvane.ini"; }

void TForm1::CreateAccountTable() {
  StringGrid1->SetColCount(4);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetFixedRows(1);
  StringGrid1->SetFixedColor(kFixedColor);
  StringGrid1->SetDefaultColWidth(80);
  StringGrid1->SetDefaultRowHeight(16);
  StringGrid1->SetFlat(true);
  StringGrid1->SetOptions(platform::goFixedVertLine | platform::goFixedHorzLine | platform::goVertLine |
                          platform::goHorzLine | platform::goColSizing | platform::goEditing | platform::goTabs);
  StringGrid1->OnDrawCell = [this](platform::TStringGrid* sender, int col, int row, platform::TRect rect,
                                   platform::TGridDrawState state) {
    StringGrid1DrawCell(sender, col, row, rect, state);
  };
  StringGrid1->SetColWidths(0, 32);
  StringGrid1->SetColWidths(1, 123);
  StringGrid1->SetCells(0, 0, texts::kHeaderShortName);
  StringGrid1->SetCells(1, 0, texts::kHeaderServer);
  StringGrid1->SetCells(2, 0, texts::kHeaderAccount);
  StringGrid1->SetCells(3, 0, texts::kHeaderPassword);
  StringGrid1->SetCol(0);
  StringGrid1->SetRow(1);
  // The grid opens with the current cell in edit mode.
  StringGrid1->SetOptions(StringGrid1->Options() | platform::goAlwaysShowEditor);
  StringGrid1->SetEditorMode(true);
}

void TForm1::StringGrid1DrawCell(platform::TStringGrid* Sender, int ACol, int ARow, platform::TRect Rect,
                                 platform::TGridDrawState) {
  if (ACol != 3 || ARow == 0) return;
  // The password is never shown: four asterisks whatever its length.
  platform::TCanvas* canvas = Sender->Canvas();
  canvas->FillRect(Rect);
  canvas->Font().SetColor(kMaskColor);
  canvas->TextOut(Rect.Left + 3, Rect.Top + 3, texts::kPasswordMask);
}

void TForm1::LoadSettings() {
  const TIniFile ini(SettingsPath());
  N_Stop->setChecked(ini.ReadBool(kOption, "Stop", false));
  N_Icon->setChecked(ini.ReadBool(kOption, "Icon", false));
  FSoundFile = ini.ReadString(kOption, "SndFile", "");
  for (int row = 1; row < StringGrid1->RowCount(); ++row) {
    for (int col = 0; col < 4; ++col)
      StringGrid1->SetCells(col, row, ini.ReadString(AccountSection(row), kAccountKeys[col], ""));
  }
}

void TForm1::SaveSettings() {
  // The user's folder may not exist yet; if it cannot be made, the write
  // below says so.
  settings_folder::Create(FSettingsDir);
  TIniFile ini(SettingsPath());
  ini.WriteBool(kOption, "Stop", N_Stop->isChecked());
  ini.WriteBool(kOption, "Icon", N_Icon->isChecked());
  ini.WriteString(kOption, "SndFile", FSoundFile);
  for (int row = 1; row < StringGrid1->RowCount(); ++row) {
    for (int col = 0; col < 4; ++col)
      ini.WriteString(AccountSection(row), kAccountKeys[col], StringGrid1->Cells(col, row));
  }
}
