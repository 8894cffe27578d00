// Passing on an event that no operator has to handle: by pager, SMS or e-mail, as the notification
// entry chosen for the event says. The outcome of every e-mail goes into the action log of the event's
// month, where the operators see it with the event.
#ifndef DURIDUVAZE_EVENTS_NOTIFY_EVENT_H_
#define DURIDUVAZE_EVENTS_NOTIFY_EVENT_H_

#include <cstdint>
#include <string_view>

#include "accounts/client_record.h"
#include "events/event_record.h"
#include "store/data_dir.h"
#include "store/short_string.h"

namespace duri {

struct EventContext;

// The fields of the account's client record that notification reads.
struct NotifyAccount {
  ShortString<10> account;
  ShortString<51> name;
  ShortString<30> address1;
  ShortString<30> address2;
  ShortString<30> address3;
  int32_t notify_entry = -1;  // byte position of the account's own entry in PAGER.DAT; -1 = none
};

// The notification's fields of a client record; events of unknown accounts pass a blank one.
NotifyAccount NotifyAccountOf(const ClientRecord& client);

// Sends the event as its notification entry says: the event's own entry, or the account's when the
// priority's switch is "1" or the event names none.
void NotifyEvent(EventContext& context, const NotifyAccount& account, const EventRecord& event);

// One e-mail about the event to one address, the header and closing lines with header_switch set;
// the outcome goes to the action log.
void SendEventMail(EventContext& context, const NotifyAccount& account, const EventRecord& event,
                   std::string_view address, uint8_t header_switch);

// One action-log entry for the event: its history record number, the text, its time.
void LogMailResult(DataDir& dir, std::string_view text, const EventRecord& event);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_NOTIFY_EVENT_H_
