// What event intake works with: the pieces of the station that AddEvent, the preparation of a line,
// code resolution and notification use. The station owns every piece and builds one context for its
// life; events take the context, never the station.
#ifndef DURIDUVAZE_EVENTS_EVENT_CONTEXT_H_
#define DURIDUVAZE_EVENTS_EVENT_CONTEXT_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "events/stack_backlog.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/printer.h"
#include "platform/station_view.h"
#include "settings/company_settings.h"
#include "settings/language_table.h"
#include "settings/local_settings.h"
#include "store/data_dir.h"
#include "store/error_report.h"
#include "transport/mail_message.h"
#include "transport/smtp_client.h"

namespace duri {

struct EventRecord;
struct NotifyAccount;

// Notification of an event handled automatically: the event's account (a blank one for an unknown
// account) and the stored event. Empty: no notification is sent.
using NotifyHook = std::function<void(const NotifyAccount& account, const EventRecord& event)>;

struct EventContext {
  DataDir& data;
  Clock& clock;
  // The window, the alarm printer and the companion-program launcher as the station has them now: the
  // window and the tests may replace them after the context is built, so these follow the station's
  // own pointers.
  StationView* const& view;
  Printer* const& printer;
  Launcher* const& launcher;
  // A line whose recording failed is told here.
  ErrorReport& errors;
  const CompanySettings& company_settings;
  // Reread before each SMS for the modem port.
  LocalSettings& local_settings;
  const LanguageTable& language;
  StackBacklog& stack_backlog;
  // The message and client every event e-mail reuses, and the SMTP port it goes to.
  TMailMessage& mail_message;
  TSmtpClient& smtp_client;
  const int& smtp_port;
  const NotifyHook& notify_event;
  // Event lines recorded in the history and lines whose recording failed, and the failure text of the
  // last one that failed (see Station).
  std::atomic<uint64_t>& events_recorded;
  std::atomic<uint64_t>& events_failed;
  std::string& last_event_failure;
};

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_EVENT_CONTEXT_H_
