// The station: everything the module keeps while it runs, owned in one place and passed by reference.
// The window, the tools and the tests each make one.
#ifndef DURIDUVAZE_STATION_H_
#define DURIDUVAZE_STATION_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "decoders/decoder.h"
#include "events/event_context.h"
#include "events/stack_backlog.h"
#include "receivers/port_state.h"
#include "receivers/receiver_config.h"
#include "intake/receiver_ports.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/printer.h"
#include "platform/station_view.h"
#include "platform/ui_thread.h"
#include "settings/company_settings.h"
#include "settings/date_names.h"
#include "settings/language_table.h"
#include "settings/local_settings.h"
#include "store/data_dir.h"
#include "store/error_report.h"
#include "transport/mail_message.h"
#include "transport/smtp_client.h"

namespace duri {

class Station {
 public:
  // root: the station directory (the current directory at start-up in the program).
  Station(std::string root, Clock& clock, StationView& view);
  // Ends the reader passes and closes the ports first (see ReceiverPorts::Shutdown).
  ~Station();
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  Clock& clock() { return *clock_; }
  StationView& view() { return *view_; }
  void set_view(StationView& view);
  // The system's printers (CUPS in the program); none until one is set.
  Printer& printer() { return *printer_; }
  void set_printer(Printer& printer) { printer_ = &printer; }
  // The thread on which the reader passes run their steps and the ports raise their receive events.
  // Set it before ports are opened; without one no receive event is raised.
  UiThread* ui_thread() { return ui_; }
  void set_ui_thread(UiThread& ui);
  // Starts the pager and SMS companion programs; the real one unless a test sets another.
  Launcher& launcher() { return *launcher_; }
  void set_launcher(Launcher& launcher) { launcher_ = &launcher; }
  // Failures told into error.log and onto the window's debug line.
  ErrorReport& errors() { return errors_; }
  // The pieces event intake works with, built once over this station's own members.
  EventContext& event_context() { return event_context_; }

  // DataDrive with LastIoResult.
  DataDir data;
  // The company settings of "\ORBA\TVCIE.DTA" (or "\ORBA\CIE.DTC" early in start-up), reloaded every 15
  // seconds; the language code in it is the one the last language selection settled on.
  CompanySettings company_settings;
  // "C:\TorvaPort.Dta": alarm printer and SMS modem port.
  LocalSettings local_settings;
  // Set at start-up when the station code is not set; makes language 3 Portuguese. Never cleared.
  bool portuguese_variant = false;
  LanguageTable language;
  // Day and month names, refreshed from the language table after every fill.
  DateNames date_names;
  // What was last shown and reported of the stack's backlog (the entries themselves wait in
  // \ORBA\EVT.BKL; RetryStackBacklog places them at each tick).
  StackBacklog stack_backlog;
  // The window's MailMessage1 and SmtpClient1, reused for every event e-mail.
  TMailMessage mail_message;
  TSmtpClient smtp_client;
  // The SMTP port event e-mail goes to; always 25 in the program, a loopback server's in tests.
  int smtp_port = 25;
  // COM1 .. COM16 with their receiver configurations, framing states, PortArmed and traffic.
  ReceiverPorts ports;

  // The decoding step a reader pass runs for each complete message (DecodeMessage of the port's
  // receiver type). The port is 1..16. The outcome decides whether the message may be acknowledged.
  std::function<MessageOutcome(int port, PortState& state, const ReceiverConfig& config)> decode_message;
  // Event intake (AddEvent) for the decoders' output: date, time, event text, second text.
  std::function<void(const DateRecord& date, const TimeRecord& time, std::string_view text,
                     std::string_view second_text)>
      add_event;
  // Notification (NotifyEvent) of an event handled automatically. Unset: no notification is sent.
  NotifyHook notify_event;

  // Event lines recorded in the history, and lines whose recording failed (each has its error.log
  // line), since the station started. The reader passes credit the difference over a message to its
  // port; the post tool tells stored lines from failed and skipped ones by them.
  std::atomic<uint64_t> events_recorded{0};
  std::atomic<uint64_t> events_failed{0};
  // The error.log text of the last line whose recording failed (user-interface thread only).
  std::string last_event_failure;

  // The clock minute of the last link-supervision check (kNoSupervisionCheck before the first).
  int supervision_minute = 99;

 private:
  class LoggedErrors : public ErrorReport {
   public:
    explicit LoggedErrors(Station& station) : station_(station) {}
    void Report(const std::string& text) override;

   private:
    Station& station_;
  };

  NullPrinter null_printer_;
  Printer* printer_ = &null_printer_;
  Clock* clock_;
  StationView* view_;
  UiThread* ui_ = nullptr;
  PosixLauncher posix_launcher_;
  Launcher* launcher_ = &posix_launcher_;
  LoggedErrors errors_{*this};
  EventContext event_context_;
};

// The whole intake of a station: each decoded message through the station's decoding step into AddEvent,
// and events handled automatically into notification. The window, the tools and the tests call it once
// on every station they build; it also takes up the stack's backlog left from before (shown, and placed
// where the stack has room).
void InstallEventIntake(Station& station);

}  // namespace duri

#endif  // DURIDUVAZE_STATION_H_
