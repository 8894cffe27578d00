#include "app/com_main.h"
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "app/qt_station_view.h"
#include "app/qt_ui_thread.h"
#include "intake/receiver_file.h"
#include "platform/sound.h"
#include "settings/company_settings.h"
#include "station.h"
#include "store/shared_file.h"
#include "intake/receiver_file.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

// No sound card and no sound file: the station runs silent.
class SilentSound : public Sound {
 public:
  int PlaybackDeviceCount() override { return 0; }
  bool Play(const std::string&) override { return false; }
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    tmp.MakeDir("ORBA");
    tmp.MakeDir("ports");
    tmp.MakeDir("dev");
  }

  void WriteCompany(int language) {
    CompanySettings company;
    company.language = static_cast<uint8_t>(language);
    std::vector<uint8_t> raw(CompanySettings::kSize);
    company.Encode(raw.data());
    tmp.WriteFile("ORBA/TVCIE.DTA", std::string(raw.begin(), raw.end()));
  }

  // Ports COM2 and COM12 exist as pseudo-terminal links.
  void MakePorts() {
    for (int n : {2, 12}) {
      int master = posix_openpt(O_RDWR | O_NOCTTY);
      ASSERT_GE(master, 0);
      grantpt(master);
      unlockpt(master);
      masters.push_back(master);
      std::string link = tmp.Join("ports/COM" + std::to_string(n));
      ASSERT_EQ(symlink(ptsname(master), link.c_str()), 0);
    }
  }

  void StartWindow() {
    station = std::make_unique<Station>(tmp.path(), clock, null_view);
    station->ports.SetDeviceDir(tmp.Join("dev"));
    window = std::make_unique<TComMain>(*station, sound);
    view = std::make_unique<QtStationView>(*window);
    station->set_view(*view);
    station->set_ui_thread(ui);
    InstallEventIntake(*station);
    window->Start([] {});
    window->show();
  }

  ~WindowTest() override {
    if (station) ShutdownStationPorts(*station, ui);
    window.reset();
    for (int m : masters) close(m);
  }

  testing::TempDir tmp;
  SystemClock clock;
  NullView null_view;
  SilentSound sound;
  QtUiThread ui;
  std::unique_ptr<Station> station;
  std::unique_ptr<TComMain> window;
  std::unique_ptr<QtStationView> view;
  std::vector<int> masters;
};

TEST_F(WindowTest, StartsWithCaptionsLockedSetupAndOnlyThePrinterNone) {
  StartWindow();
  EXPECT_EQ(window->windowTitle(), "DURiduvaze Version 1.2.9");
  EXPECT_EQ(window->size(), QSize(761, 468));
  EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window->LabelWorking->text(), "Working on port");
  EXPECT_EQ(window->SetupBox->title(), "Setup locked");
  EXPECT_EQ(window->SetupButton->text(), "Unlock setup");
  EXPECT_EQ(window->GroupBoxAccountNuver->title(), "Account number prefix ");
  EXPECT_FALSE(window->SetupBox->isEnabled());
  ASSERT_EQ(window->PrinterAlarme->count(), 1);
  EXPECT_EQ(window->PrinterAlarme->itemText(0), "Printer(None)");
  EXPECT_EQ(window->ComTraffic[4]->toPlainText(), "Com5Traffic");
  EXPECT_FALSE(window->PasswordPanel->isVisible());
  EXPECT_FALSE(window->PanelMessage->isVisible());
  EXPECT_EQ(window->ComReceiver->count(), 22);
}

TEST_F(WindowTest, PasswordUnlocksAndTheTimerLocksAgain) {
  StartWindow();
  window->SetupButtonClick();
  ASSERT_TRUE(window->PasswordPanel->isVisible());
  // An empty password just hides the panel.
  window->PasswordButtonClick();
  EXPECT_FALSE(window->PasswordPanel->isVisible());
  EXPECT_FALSE(window->SetupBox->isEnabled());

  window->SetupButtonClick();
  QTest::keyClicks(window->Password, "kestral");
  EXPECT_EQ(window->Password->text(), "KESTRAL");  // the edit converts to upper case
  QTest::keyClick(window->Password, Qt::Key_Return);
  EXPECT_TRUE(window->SetupBox->isEnabled());
  EXPECT_EQ(window->SetupBox->title(), "Setup unlocked ");
  EXPECT_EQ(window->SetupButton->text(), "Lock setup");
  EXPECT_FALSE(window->PasswordPanel->isVisible());
  ASSERT_TRUE(window->SetupTimer->isActive());
  EXPECT_EQ(window->SetupTimer->interval(), 300000);

  // The five-minute timer, shortened for the test, locks it again.
  window->SetupTimer->setInterval(20);
  window->SetupTimer->start();
  QElapsedTimer waited;
  waited.start();
  while (window->SetupBox->isEnabled() && waited.elapsed() < 5000) QTest::qWait(10);
  EXPECT_FALSE(window->SetupBox->isEnabled());
  EXPECT_EQ(window->SetupButton->text(), "Unlock setup");
  EXPECT_FALSE(window->SetupTimer->isActive());
}

TEST_F(WindowTest, WrongPasswordGetsInvalidAndThePanelStays) {
  StartWindow();
  window->SetupButtonClick();
  QTest::keyClicks(window->Password, "wrong");
  window->PasswordButtonClick();
  EXPECT_TRUE(window->PasswordPanel->isVisible());
  EXPECT_FALSE(window->SetupBox->isEnabled());
  EXPECT_EQ(view->OpenMessageBoxes(), 1);
  // A second refusal while the first box is open adds no second box.
  window->PasswordButtonClick();
  EXPECT_EQ(view->OpenMessageBoxes(), 1);
}

TEST_F(WindowTest, SelectingCom12SelectsPort12AndSavingOpensIt) {
  MakePorts();
  StartWindow();
  ASSERT_EQ(window->ComboPort->count(), 2);
  EXPECT_EQ(window->ComboPort->itemText(0), "COM12");  // sorted as text
  window->ComboPort->setCurrentIndex(0);
  EXPECT_EQ(station->ports.selected_port, 12);
  EXPECT_EQ(window->TrafficStack->currentIndex(), 11);

  window->SetupButtonClick();
  QTest::keyClicks(window->Password, "KESTRAL");
  window->PasswordButtonClick();
  window->ComReceiver->setCurrentIndex(7);  // surgard slr/mlr2
  window->Save->click();
  EXPECT_EQ(tmp.FileSize("TorvaCom.dta"), 1760);
  EXPECT_EQ(tmp.ReadFile("TorvaCom.dta")[11 * 110], 7);
  EXPECT_TRUE(station->ports.Port(12).Connected());
  EXPECT_TRUE(window->ComTraffic[11]->toPlainText().contains("Open COM12"));
}

// The whole road through the window: a "surgard slr/mlr2" receiver on COM2 sends a message; it shows in
// COM2's memo, lands in the month's history and is acknowledged.
TEST_F(WindowTest, MessageOnAPortShowsInItsMemoAndLandsInTheHistory) {
  testing::PseudoTerminal pty;
  pty.Link(tmp.path(), "COM2");
  ReceiverConfigs configs;
  configs[1].receiver_type = 7;
  {
    NullView v;
    DataDir dir(tmp.path(), clock, v);
    ASSERT_EQ(SaveReceiverConfigs(dir, configs), 0);
  }
  StartWindow();
  ASSERT_TRUE(station->ports.Port(2).Connected());
  const char dc4 = 20;
  pty.Write(std::string("1011 1234 BA01") + dc4);  // the first terminator only synchronises
  QTest::qWait(200);
  pty.Write(std::string("5011 181234E13001005") + dc4);
  const DateRecord today = clock.Today();
  const std::string history = "ORBA/" + PeriodKey(today) + ".EVT/EVENT.MDC";
  QElapsedTimer waited;
  waited.start();
  while ((tmp.FileSize(history) < 200 || !window->ComTraffic[1]->toPlainText().contains("181234E13001005")) &&
         waited.elapsed() < 10000)
    QTest::qWait(20);
  EXPECT_TRUE(window->ComTraffic[1]->toPlainText().contains("5011 181234E13001005<DC4>"))
      << window->ComTraffic[1]->toPlainText().toStdString();
  EXPECT_EQ(tmp.FileSize(history), 200);
  const std::string ack = pty.Read();
  ASSERT_FALSE(ack.empty());
  EXPECT_EQ(ack[0], 6);
  // The port's counters on request, above its traffic.
  while (station->ports.Counters(2).acknowledgements == 0 && waited.elapsed() < 10000) QTest::qWait(20);
  window->TrafficStack->setCurrentIndex(1);
  window->CountersButton->click();
  EXPECT_TRUE(window->ComTraffic[1]->toPlainText().startsWith("COM2: 1 message, 1 event, 1 acknowledgement, 0 failures"))
      << window->ComTraffic[1]->toPlainText().toStdString();
}

TEST_F(WindowTest, JapaneseCaptionsWithLanguage21) {
  WriteCompany(21);
  StartWindow();
  const QString caption = window->LabelWorking->text();
  EXPECT_NE(caption, "Working on port");
  bool japanese = false;
  for (QChar c : caption)
    if (c.unicode() >= 0x3040 && c.unicode() <= 0x9FFF) japanese = true;
  EXPECT_TRUE(japanese) << caption.toStdString();
}

}  // namespace
}  // namespace duri
