#include "app/com_main.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMessageBox>
#include <QRegularExpressionValidator>

#include "app/serial_setup_form.h"
#include "intake/port_counters.h"
#include "settings/language_entries.h"
#include "station.h"

namespace duri {
namespace {

constexpr QColor kLockedGrey(128, 128, 128);
constexpr QColor kSilver(192, 192, 192);

void Paint(QWidget* w, const QColor& color) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, color);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

// An edit that shows what is typed in capitals, like the original's upper-case edits.
void MakeUpperCase(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    int cursor = edit->cursorPosition();
    edit->setText(text.toUpper());
    edit->setCursorPosition(cursor);
  });
}

}  // namespace

TComMain::TComMain(Station& station, Sound& sound, QWidget* parent)
    : QWidget(parent), station_(station), sound_(sound) {
  setObjectName("ComMain");
  setWindowTitle("DURiduvaze Version 1.2.9");
  // No system menu and so no close box: the station is closed only by ending the program.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  Paint(this, kSilver);
  QFont font = this->font();
  font.setPixelSize(10);
  setFont(font);
  BuildControls();
  BuildTrafficBox();
  BuildPanels();

  ProgressBarTimer = new QTimer(this);
  ProgressBarTimer->setInterval(1);
  connect(ProgressBarTimer, &QTimer::timeout, this, [this] { ProgressBarTimerTimer(); });
  ProgressBarTimer->start();
  SetupTimer = new QTimer(this);
  SetupTimer->setInterval(kSetupTimerMs);
  connect(SetupTimer, &QTimer::timeout, this, [this] { SetupTimerTimer(); });
  AutoPhTimer = new QTimer(this);
  AutoPhTimer->setInterval(kAutoPhTimerMs);
  connect(AutoPhTimer, &QTimer::timeout, this, [this] { AutophTimerTimer(); });

  connect(ComboPort, &QComboBox::currentIndexChanged, this, [this] {
    if (!copying_) PrepReceiverListClick();
  });
  connect(Save, &QPushButton::clicked, this, [this] { SaveClick(); });
  connect(Setting1, &QPushButton::clicked, this, [this] { SettingClick(); });
  connect(PrinterAlarme, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!copying_) PrinterAlarmeChange(index);
  });
}

void TComMain::Start(std::function<void()> supervision_step) {
  FormCreate(station_, sound_, lists_);
  copying_ = true;
  PrinterAlarme->clear();
  for (const std::string& item : lists_.printer_items) PrinterAlarme->addItem(QString::fromStdString(item));
  PrinterAlarme->setCurrentIndex(lists_.printer_item);
  copying_ = false;
  SetupToControls();
  for (int port = 1; port <= 16; ++port) ShowTraffic(port, station_.ports.Traffic(port));
  periodic_ = std::make_unique<PeriodicWork>(station_, sound_, lists_.sound_available, std::move(supervision_step));
  FormShow();
  AutoPhTimer->start();
}

void TComMain::ControlsToSetup() {
  ReceiverSetupControls& c = lists_.setup;
  c.port_item = ComboPort->currentIndex();
  c.receiver = ComReceiver->currentIndex();
  c.receiver_number = ReceiverNumber->isChecked();
  c.line_number = LineNumber->isChecked();
  c.compress_cid = CompressCID->isChecked();
  c.show_heartbeat = ShowHeartBeat->isChecked();
  c.ofset = Ofset->text().toLatin1().toStdString();
}

void TComMain::SetupToControls() {
  const ReceiverSetupControls& c = lists_.setup;
  copying_ = true;
  if (ComboPort->count() != static_cast<int>(c.port_items.size())) {
    ComboPort->clear();
    for (const std::string& item : c.port_items) ComboPort->addItem(QString::fromStdString(item));
  }
  ComboPort->setCurrentIndex(c.port_item);
  if (ComReceiver->count() != static_cast<int>(c.receiver_items.size())) {
    ComReceiver->clear();
    for (const std::string& item : c.receiver_items) ComReceiver->addItem(ToUnicode(item));
  }
  ComReceiver->setCurrentIndex(c.receiver);
  ReceiverNumber->setChecked(c.receiver_number);
  LineNumber->setChecked(c.line_number);
  CompressCID->setChecked(c.compress_cid);
  ShowHeartBeat->setChecked(c.show_heartbeat);
  Ofset->setText(QString::fromLatin1(c.ofset.c_str()));
  if (c.focus_ofset) Ofset->setFocus();
  const int port = station_.ports.selected_port;
  if (port >= 1 && port <= 16) TrafficStack->setCurrentIndex(port - 1);
  copying_ = false;
}

void TComMain::PrepReceiverListClick() {
  ControlsToSetup();
  PrepReceiverList(station_, lists_.setup);
  SetupToControls();
}

void TComMain::SaveClick() {
  ControlsToSetup();
  SaveReceiverSetup(station_, lists_.setup);
  SetupToControls();
}

void TComMain::SettingClick() {
  const int port = station_.ports.selected_port;
  if (port < 1 || port > 16) return;
  TSerialPort& com = station_.ports.Port(port);
  const std::string link = station_.ports.HasNetworkLink(port) ? station_.ports.Link(port).LinkName() : "";
  TSerialSetupForm form(com.SetupValues(), lists_.setup.port_items, this, link);
  if (form.exec() == QDialog::Accepted) {
    try {
      com.ApplySetupValues(form.Values());
    } catch (const std::exception& e) {
      station_.view().ShowMessage("setup", e.what());
    }
  }
}

void TComMain::PrinterAlarmeChange(int index) { duri::PrinterAlarmeChange(station_, index); }

void TComMain::AutophTimerTimer() {
  if (periodic_) periodic_->AutophTimerTimer();
}

void TComMain::CountersClick() {
  const int port = TrafficStack->currentIndex() + 1;
  if (port < 1 || port > 16) return;
  const std::string text = PortCountersText(port, station_.ports.Counters(port)) + "\r\n" + station_.ports.Traffic(port);
  ComTraffic[static_cast<size_t>(port - 1)]->setPlainText(ToUnicode(text));
}

void TComMain::ShowTraffic(int port, const std::string& text) {
  if (port < 1 || port > 16) return;
  ComTraffic[static_cast<size_t>(port - 1)]->setPlainText(ToUnicode(text));
}

TComMain::~TComMain() = default;

void TComMain::BuildControls() {
  LabelWorking = new QLabel(this);
  LabelWorking->setObjectName("LabelWorking");
  LabelWorking->setGeometry(8, 8, 200, 16);
  ComboPort = new QComboBox(this);
  ComboPort->setObjectName("ComboPort");
  ComboPort->setGeometry(8, 26, 140, 22);

  SetupBox = new QGroupBox(this);
  SetupBox->setObjectName("SetupBox");
  SetupBox->setGeometry(8, 56, 288, 250);

  GroupBoxReceiver = new QGroupBox(SetupBox);
  GroupBoxReceiver->setObjectName("GroupBoxReceiver");
  GroupBoxReceiver->setGeometry(8, 18, 272, 78);
  ComReceiver = new QComboBox(GroupBoxReceiver);
  ComReceiver->setObjectName("ComReceiver");
  ComReceiver->setGeometry(8, 20, 256, 22);
  Setting1 = new QPushButton(GroupBoxReceiver);
  Setting1->setObjectName("Setting1");
  Setting1->setGeometry(8, 46, 140, 24);

  GroupBoxAccountNuver = new QGroupBox(SetupBox);
  GroupBoxAccountNuver->setObjectName("GroupBoxAccountNuver");
  GroupBoxAccountNuver->setGeometry(8, 100, 272, 72);
  LabelOfset = new QLabel(GroupBoxAccountNuver);
  LabelOfset->setObjectName("LabelOfset");
  LabelOfset->setGeometry(8, 22, 60, 16);
  Ofset = new QLineEdit(GroupBoxAccountNuver);
  Ofset->setObjectName("Ofset");
  Ofset->setGeometry(70, 20, 24, 22);
  Ofset->setMaxLength(1);
  MakeUpperCase(Ofset);
  ReceiverNumber = new QCheckBox(GroupBoxAccountNuver);
  ReceiverNumber->setObjectName("ReceiverNumber");
  ReceiverNumber->setGeometry(110, 18, 156, 20);
  LineNumber = new QCheckBox(GroupBoxAccountNuver);
  LineNumber->setObjectName("LineNumber");
  LineNumber->setGeometry(110, 42, 156, 20);

  GroupBoxMisc = new QGroupBox(SetupBox);
  GroupBoxMisc->setObjectName("GroupBoxMisc");
  GroupBoxMisc->setGeometry(8, 176, 176, 66);
  CompressCID = new QCheckBox(GroupBoxMisc);
  CompressCID->setObjectName("CompressCID");
  CompressCID->setGeometry(8, 18, 164, 20);
  ShowHeartBeat = new QCheckBox(GroupBoxMisc);
  ShowHeartBeat->setObjectName("ShowHeartBeat");
  ShowHeartBeat->setGeometry(8, 40, 164, 20);
  Save = new QPushButton(SetupBox);
  Save->setObjectName("Save");
  Save->setGeometry(192, 206, 88, 30);

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(8, 312, 288, 96);
  PrinterAlarme = new QComboBox(GroupBox1);
  PrinterAlarme->setObjectName("PrinterAlarme");
  PrinterAlarme->setGeometry(8, 20, 272, 22);
  SetupButton = new QPushButton(GroupBox1);
  SetupButton->setObjectName("SetupButton");
  SetupButton->setGeometry(8, 54, 130, 30);
  connect(SetupButton, &QPushButton::clicked, this, [this] { SetupButtonClick(); });
  MinimizeButton = new QPushButton(GroupBox1);
  MinimizeButton->setObjectName("MinimizeButton");
  MinimizeButton->setGeometry(150, 54, 130, 30);
  QFont bold = MinimizeButton->font();
  bold.setBold(true);
  MinimizeButton->setFont(bold);
  connect(MinimizeButton, &QPushButton::clicked, this, [this] { MinimizeButtonClick(); });

  DebugLabel = new QLabel("Debug Label", this);
  DebugLabel->setObjectName("DebugLabel");
  DebugLabel->setGeometry(8, 440, 745, 20);
}

void TComMain::BuildTrafficBox() {
  TrafficBox = new QGroupBox(this);
  TrafficBox->setObjectName("TrafficBox");
  TrafficBox->setGeometry(300, 8, 457, 345);
  TrafficStack = new QStackedWidget(TrafficBox);
  TrafficStack->setGeometry(4, 20, 449, 319);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  mono.setFamilies({"Lucida Console", "DejaVu Sans Mono", "Liberation Mono", "Monospace"});
  mono.setStyleHint(QFont::Monospace);
  mono.setFixedPitch(true);
  mono.setPixelSize(12);
  for (int i = 0; i < 16; ++i) {
    const QString name = QString("Com%1Traffic").arg(i + 1);
    QPlainTextEdit* memo = new QPlainTextEdit(name, TrafficStack);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFont(mono);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    TrafficStack->addWidget(memo);
    ComTraffic[static_cast<size_t>(i)] = memo;
  }
  // The shown port's counters, on request, above its traffic until the next message replaces them.
  CountersButton = new QPushButton("Counters", TrafficBox);
  CountersButton->setObjectName("CountersButton");
  CountersButton->setGeometry(373, 0, 80, 18);
  connect(CountersButton, &QPushButton::clicked, this, [this] { CountersClick(); });
  TvcomRunning = new QProgressBar(this);
  TvcomRunning->setObjectName("TvcomRunning");
  TvcomRunning->setGeometry(300, 358, 457, 16);
  TvcomRunning->setRange(0, 1000);
  TvcomRunning->setTextVisible(false);
  QPalette p = TvcomRunning->palette();
  p.setColor(QPalette::Highlight, QColor(255, 255, 0));
  TvcomRunning->setPalette(p);
}

void TComMain::BuildPanels() {
  PasswordPanel = new QWidget(this);
  PasswordPanel->setObjectName("PasswordPanel");
  PasswordPanel->setGeometry(180, 150, 400, 110);
  Paint(PasswordPanel, kSilver);
  LabelPassword = new QLabel(PasswordPanel);
  LabelPassword->setObjectName("LabelPassword");
  LabelPassword->setGeometry(10, 10, 380, 18);
  Password = new QLineEdit(PasswordPanel);
  Password->setObjectName("Password");
  Password->setGeometry(10, 34, 280, 24);
  Password->setEchoMode(QLineEdit::Password);
  MakeUpperCase(Password);
  PasswordButton = new QPushButton("Ok", PasswordPanel);
  PasswordButton->setObjectName("PasswordButton");
  PasswordButton->setGeometry(300, 32, 90, 28);
  PasswordButton->setDefault(true);
  connect(PasswordButton, &QPushButton::clicked, this, [this] { PasswordButtonClick(); });
  connect(Password, &QLineEdit::returnPressed, this, [this] { PasswordButtonClick(); });
  PasswordPanel->hide();

  PanelMessage = new QWidget(this);
  PanelMessage->setObjectName("PanelMessage");
  PanelMessage->setGeometry(100, 170, 560, 110);
  Paint(PanelMessage, QColor(255, 0, 0));
  PanelMessageLabel = new QLabel(PanelMessage);
  PanelMessageLabel->setGeometry(10, 10, 540, 40);
  QFont big = PanelMessageLabel->font();
  big.setPixelSize(25);
  PanelMessageLabel->setFont(big);
  QPalette white = PanelMessageLabel->palette();
  white.setColor(QPalette::WindowText, Qt::white);
  PanelMessageLabel->setPalette(white);
  ProgressReIndexBar = new QProgressBar(PanelMessage);
  ProgressReIndexBar->setObjectName("ProgressReIndexBar");
  ProgressReIndexBar->setGeometry(10, 66, 540, 24);
  ProgressReIndexBar->setRange(0, 100);
  PanelMessage->hide();
}

QString TComMain::Caption(int entry) const { return ToUnicode(station_.language.Entry(entry)); }

QString TComMain::ToUnicode(const std::string& text) const {
  return QString::fromStdString(station_.language.ToUtf8(text));
}

void TComMain::FormShow() {
  LabelWorking->setText(Caption(kEntryWorkingOnPort));
  LabelPassword->setText(Caption(kEntryPassword));
  GroupBoxReceiver->setTitle(Caption(kEntryReceiverOption));
  Setting1->setText(Caption(kEntryPortSettings));
  Save->setText(Caption(kEntrySaveInfo));
  GroupBoxMisc->setTitle(Caption(kEntryMiscBox));
  CompressCID->setText(Caption(kEntryCompressCid));
  ShowHeartBeat->setText(Caption(kEntryShowHeartbeat));
  GroupBoxAccountNuver->setTitle(Caption(kEntryAccountPrefix));
  LabelOfset->setText(Caption(kEntryPrefix));
  ReceiverNumber->setText(Caption(kEntryReceiverNumber));
  LineNumber->setText(Caption(kEntryLineNumber));
  TrafficBox->setTitle(Caption(kEntryTraffic));
  PanelMessageLabel->setText(Caption(kEntryPanelMessage));
  GroupBox1->setTitle(Caption(kEntryMisc));
  MinimizeButton->setText(Caption(kEntryMinimize));
  ShowLockState();
}

void TComMain::ShowLockState() {
  const bool locked = setup_lock_.locked();
  SetupBox->setEnabled(!locked);
  Paint(SetupBox, locked ? kLockedGrey : kSilver);
  SetupBox->setTitle(Caption(locked ? kEntrySetupLocked : kEntrySetupUnlocked));
  SetupButton->setText(Caption(locked ? kEntryUnlockSetup : kEntryLockSetup));
}

void TComMain::SetupButtonClick() {
  if (setup_lock_.ButtonClick()) {
    Password->clear();
    PasswordPanel->raise();
    PasswordPanel->show();
    Password->setFocus();
    return;
  }
  SetupTimer->stop();
  ShowLockState();
}

void TComMain::SetupTimerTimer() { SetupButtonClick(); }

void TComMain::PasswordButtonClick() {
  const std::string entered = Password->text().toLatin1().toStdString();
  switch (setup_lock_.CheckPassword(station_.data, entered)) {
    case PasswordOutcome::kPanelHidden:
      PasswordPanel->hide();
      break;
    case PasswordOutcome::kUnlocked:
      SetupTimer->start();
      ShowLockState();
      QApplication::beep();
      PasswordPanel->hide();
      break;
    case PasswordOutcome::kInvalid:
      station_.view().ShowMessage("password", station_.language.Entry(kEntryInvalid));
      break;
  }
}

void TComMain::keyPressEvent(QKeyEvent* event) {
  // "Ok" is both the default and the cancel button of the password panel.
  if (PasswordPanel->isVisible() && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
                                     event->key() == Qt::Key_Enter)) {
    PasswordButtonClick();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TComMain::ProgressBarTimerTimer() {
  int next = TvcomRunning->value() + 3;
  TvcomRunning->setValue(next > 1000 ? 0 : next);
}

void TComMain::MinimizeButtonClick() { showMinimized(); }

}  // namespace duri
