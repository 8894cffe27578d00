// TComMain: the station window. It owns the widgets and the timers; every decision is made by the
// core, which the handlers call with the widgets' values and whose results they show.
#ifndef DURIDUVAZE_APP_COM_MAIN_H_
#define DURIDUVAZE_APP_COM_MAIN_H_

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "intake/periodic_work.h"
#include "platform/sound.h"
#include "settings/setup_lock.h"
#include "station_startup.h"

namespace duri {

class Station;

class TComMain : public QWidget {
 public:
  static constexpr int kClientWidth = 761;
  static constexpr int kClientHeight = 468;

  TComMain(Station& station, Sound& sound, QWidget* parent = nullptr);
  ~TComMain() override;

  // The whole start-up (FormCreate), the captions (FormShow) and the periodic timer. supervision_step
  // is the link supervision the automatic-test thread runs each tick.
  void Start(std::function<void()> supervision_step);

  // Language-dependent captions (FormShow).
  void FormShow();
  // Lock state look: grey and disabled, or silver and enabled, with the lock captions.
  void ShowLockState();

  // Handlers.
  void SetupButtonClick();
  void PasswordButtonClick();
  void SetupTimerTimer();
  void ProgressBarTimerTimer();
  void MinimizeButtonClick();
  void PrepReceiverListClick();
  void SaveClick();
  void SettingClick();
  void PrinterAlarmeChange(int index);
  void AutophTimerTimer();
  // Shows the selected port's counters at the top of its traffic memo.
  void CountersClick();
  // A port's traffic memo text changed (the view forwards it).
  void ShowTraffic(int port, const std::string& text);

  // Text of the table entry, shown in Unicode.
  QString Caption(int entry) const;
  // A text in the language's code page, shown in Unicode.
  QString ToUnicode(const std::string& text) const;

  // The controls, named as the station's people know them.
  QLabel* LabelWorking;
  QComboBox* ComboPort;
  QGroupBox* SetupBox;
  QGroupBox* GroupBoxReceiver;
  QComboBox* ComReceiver;
  QPushButton* Setting1;
  QGroupBox* GroupBoxAccountNuver;
  QLabel* LabelOfset;
  QLineEdit* Ofset;
  QCheckBox* ReceiverNumber;
  QCheckBox* LineNumber;
  QGroupBox* GroupBoxMisc;
  QCheckBox* CompressCID;
  QCheckBox* ShowHeartBeat;
  QPushButton* Save;
  QGroupBox* TrafficBox;
  QStackedWidget* TrafficStack;
  std::array<QPlainTextEdit*, 16> ComTraffic;
  QPushButton* CountersButton;
  QProgressBar* TvcomRunning;
  QWidget* PanelMessage;
  QLabel* PanelMessageLabel;
  QProgressBar* ProgressReIndexBar;
  QGroupBox* GroupBox1;
  QComboBox* PrinterAlarme;
  QPushButton* SetupButton;
  QPushButton* MinimizeButton;
  QWidget* PasswordPanel;
  QLabel* LabelPassword;
  QLineEdit* Password;
  QPushButton* PasswordButton;
  QLabel* DebugLabel;
  QTimer* ProgressBarTimer;
  QTimer* SetupTimer;
  QTimer* AutoPhTimer;

  SetupLock& setup_lock() { return setup_lock_; }
  PeriodicWork* periodic_work() { return periodic_.get(); }
  const StartupLists& lists() const { return lists_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void BuildTrafficBox();
  void BuildPanels();

  // Copies the setup controls into the core's struct and back.
  void ControlsToSetup();
  void SetupToControls();

  Station& station_;
  Sound& sound_;
  SetupLock setup_lock_;
  StartupLists lists_;
  std::unique_ptr<PeriodicWork> periodic_;
  bool copying_ = false;
};

}  // namespace duri

#endif  // DURIDUVAZE_APP_COM_MAIN_H_
