// The main window: construction, layout and the creation sequence.
#include "Unit1.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "GradBox.h"
#include "Gradbtn.h"
#include "URLLabel.h"
#include "application.h"
#include "icons.h"
#include "settings_folder.h"
#include "label_control.h"
#include "ngword_file.h"
#include "taskbar.h"
#include "texts.h"

TForm1* Form1 = nullptr;
std::int32_t LastMailCount = 0;

namespace {

constexpr int kClientWidth = 340;
constexpr int kClientHeight = 236;
constexpr platform::TColor kWindowColor = 16113888;

void UiFont(platform::TFont& f) {
  f.SetName("MS UI Gothic");
  f.SetHeight(-12);
  f.SetCharset(platform::SHIFTJIS_CHARSET);
}

void ArialFont(platform::TFont& f, int height, platform::TFontStyles style, platform::TColor color) {
  f.SetName("Arial");
  f.SetHeight(height);
  f.SetStyle(style);
  f.SetColor(color);
  f.SetCharset(platform::DEFAULT_CHARSET);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    // A tool window: a close box only, and no taskbar button of its own.
    : platform::TForm(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowCloseButtonHint),
      Timer1(std::make_unique<platform::TTimer>()) {
  SetCaption(texts::kTitle);
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, platform::ToQColor(kWindowColor));
  setPalette(pal);
  platform::TFont form_font;
  form_font.SetName(texts::kFormFont);
  form_font.SetHeight(-12);
  setFont(form_font.ToQFont());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }

  Image2 = tray_icons::NoMail();
  Image3 = tray_icons::MailWaiting();
  Image4 = tray_icons::Checking();
  CreateControls();
  CreateTrayMenu();
  SetupClient();

  Timer1->SetInterval(2000);
  Timer1->OnTimer = [this](platform::TTimer* t) { platform::Application().Guard([&] { Timer1Timer(t); }); };

  try {
    FormCreate();
  } catch (const std::exception& e) {
    // Shown once the message loop runs, when the notification window exists
    // too (a tick during the box may start a cycle).
    QTimer::singleShot(
        0, [text = std::string(e.what())] { platform::Application().ShowException(std::runtime_error(text)); });
  }
}

void TForm1::FormCreate() {
  TrayIconData.cbSize = 88;
  TrayIconData.hWnd = this;
  TrayIconData.uID = kTrayId;
  TrayIconData.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
  TrayIconData.uCallbackMessage = kTrayMessage;
  TrayIconData.hIcon = Image4;
  platform::SetTip(TrayIconData, texts::kTitle);
  platform::Shell_NotifyIconA(platform::NIM_ADD, &TrayIconData);

  CreateAccountTable();
  FSettingsDir = settings_folder::Prepare(platform::Application().ExeDir());
  LoadSettings();

  FNgWords = std::make_unique<TStringList>();
  LoadNgWords(*FNgWords, FSettingsDir + "ngword.txt");

  if (!N_Icon->isChecked()) ShowMainWindow();
}

void TForm1::SetupClient() {
  NMPOP31 = std::make_unique<TNMPOP3>();
  NMPOP31->Port = 110;
  NMPOP31->TimeOut = 10000;
  NMPOP31->ReportLevel = 2;
  NMPOP31->DeleteOnRead = false;
  NMPOP31->OnConnect = [this](TNMPOP3* sender) { NMPOP31Connect(sender); };
  NMPOP31->OnStatus = [this](TNMPOP3* sender, const std::string& status) { NMPOP31Status(sender, status); };
}

void TForm1::CreateControls() {
  GradBox2 = new TGradBox(this);
  GradBox2->SetBounds(0, 0, 340, 203);
  GradBox2->SetTopColor(13676720);
  GradBox2->SetLastColor(16113888);
  GradBox2->SetDrawOutLine(false);
  GradBox2->SetCaptionLeft(14);
  UiFont(GradBox2->Font());
  GradBox2->SetCaption(texts::kBoxCaption);

  GradBox1 = new TGradBox(this);
  GradBox1->SetBounds(176, 195, 159, 35);
  GradBox1->SetTopColor(0xFFFFFF);
  GradBox1->SetLastColor(9474218);
  GradBox1->SetOutLineColor(6316176);
  GradBox1->SetDrawOutLine(true);
  GradBox1->SetCaption("");

  const auto make_link = [this](int left, int top, int width, const char* caption, platform::TFontStyles style,
                                platform::TColor color, platform::TColor hot) {
    auto* label = new TURLLabel(this);
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetExecutable(true);
    ArialFont(label->Font(), -12, style, color);
    label->SetHotColor(hot);
    label->SetCaption(caption);
    label->SetBounds(left, top, width, 15);
    return label;
  };
  URLLabel1 = make_link(182, 206, 148, texts::kWebAddress, platform::fsBold | platform::fsUnderline, 6316176, 1077503);
  URLLabel2 = make_link(144, 169, 149, texts::kMailAddress, platform::fsBold, 6307904, 16744448);

  Label2 = new platform::TLabel(this);
  Label2->SetAutoSize(false);
  Label2->SetTransparent(true);
  ArialFont(Label2->Font(), -12, platform::fsBold, 0x000000);
  Label2->SetCaption(texts::kRightsNotice);
  Label2->SetBounds(32, 169, 104, 15);

  const auto make_button = [this](int left, int top, int width, int height, const char* caption) {
    auto* button = new TGradButton(this);
    button->SetBounds(left, top, width, height);
    button->SetCaption(caption);
    UiFont(button->Font());
    button->Font().SetColor(2097152);
    button->SetGradColor(15786208);
    button->SetFaceColor(9465968);
    button->SetBottomColor(8413280);
    button->SetMouseOverColor(16719872);
    button->SetLayout(platform::blGlyphRight);
    return button;
  };
  GradButton1 = make_button(221, 4, 113, 25, texts::kStowCaption);
  GradButton2 = make_button(6, 203, 76, 24, texts::kAgainCaption);
  GradButton3 = make_button(94, 203, 76, 24, texts::kCheckCaption);
  const auto guarded = [](auto fn) { return [fn](platform::TGraphicControl*) { platform::Application().Guard(fn); }; };
  GradButton1->OnClick = guarded([this] { GradButton1Click(); });
  GradButton2->OnClick = guarded([this] { GradButton2Click(); });
  GradButton3->OnClick = guarded([this] { GradButton3Click(); });

  Label1 = new platform::TLabel(this);
  Label1->SetAutoSize(false);
  Label1->SetTransparent(true);
  ArialFont(Label1->Font(), -15, platform::fsBold, 15753312);
  Label1->SetCaption(texts::kVersion);
  Label1->SetBounds(147, 151, 147, 18);

  Image1 = new QLabel(this);
  Image1->setGeometry(298, 151, 32, 32);
  Image1->setPixmap(tray_icons::Logo());

  StringGrid1 = new platform::TStringGrid(this);
  StringGrid1->SetBounds(10, 33, 320, 112);
}

void TForm1::ShowMainWindow() {
  Show();
  SetForegroundWindow();
}

void TForm1::showEvent(QShowEvent* event) {
  // The program shows no taskbar button: it lives in the tray.
  platform::SkipTaskbar(*this);
  platform::TForm::showEvent(event);
}
