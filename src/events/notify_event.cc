#include "events/notify_event.h"

#include <cstdio>
#include <string>

#include "accounts/action_log.h"
#include "accounts/notify_entry.h"
#include "accounts/pager_sms.h"
#include "platform/file_attributes.h"
#include "settings/company_settings.h"
#include "settings/language_entries.h"
#include "settings/local_settings.h"
#include "events/event_context.h"
#include "store/shared_file.h"

namespace duri {
namespace {

// The mail settings one e-mail is composed and sent with.
struct MailSettings {
  std::string server;
  std::string sender_address;
  std::string sender_name;
  std::string subject;
  std::string header_line1;
  std::string header_line2;
  std::string closing_line;
};

MailSettings FromCompany(const CompanySettings& c) {
  return MailSettings{c.smtp_server.str(),  c.sender_address.str(), c.company_name.str(), c.mail_subject.str(),
                      c.header_line1.str(), c.header_line2.str(),   c.closing_line.str()};
}

void TakeIfEmpty(std::string& value, std::string_view fallback) {
  if (value.empty() && !fallback.empty()) value = std::string(fallback);
}

// Without a server in the company settings, the receiver module's own settings file may hold the mail
// settings; it fills only what is empty. The closing line is not taken from it.
void FillFromReceiverFile(EventContext& context, MailSettings& mail) {
  if (!FileExists(context.data, kReceiverCompanyFile)) return;
  std::string path = context.data.HostPath(kReceiverCompanyFile).value_or("");
  SetFileAttribute(path, FileAttribute::kArchive);
  CompanySettings file;
  bool loaded = LoadCompanySettings(context.data, file, kReceiverCompanyFile);
  SetFileAttribute(path, FileAttribute::kHidden);
  if (!loaded) return;
  TakeIfEmpty(mail.server, file.smtp_server.view());
  TakeIfEmpty(mail.sender_address, file.sender_address.view());
  TakeIfEmpty(mail.sender_name, file.company_name.view());
  TakeIfEmpty(mail.subject, file.mail_subject.view());
  TakeIfEmpty(mail.header_line1, file.header_line1.view());
  TakeIfEmpty(mail.header_line2, file.header_line2.view());
}

std::string TwoDigitTime(const TimeRecord& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", t.hour % 100u, t.minute % 100u, t.second % 100u);
  return text;
}

void FillMessage(EventContext& context, const MailSettings& mail, const NotifyAccount& account,
                 const EventRecord& event, std::string_view address, bool with_header) {
  TMailMessage& m = context.mail_message;
  m.recipients = {std::string(address)};
  // An empty sender address makes an empty copy list, not a copy to "".
  m.cc_list.clear();
  if (!mail.sender_address.empty()) m.cc_list.push_back(mail.sender_address);
  m.Clear();
  m.from.address = mail.sender_address;
  m.from.name = mail.sender_name;
  if (with_header) {
    m.subject = mail.subject.empty() ? context.language.Entry(kEntryTorvaneReport) : mail.subject;
    m.body.insert(m.body.end(), {"", mail.header_line1, mail.header_line2, ""});
  }
  m.body.push_back(account.name.str());
  m.body.push_back(account.address1.str());
  if (!account.address2.empty()) m.body.push_back(account.address2.str());
  if (!account.address3.empty()) m.body.push_back(account.address3.str());
  m.body.push_back(TwoDigitTime(event.time));
  std::string_view description = event.description.view();
  size_t first = description.find_first_not_of(' ');
  m.body.push_back(std::string(first == std::string_view::npos ? "" : description.substr(first)));
  if (with_header) m.body.insert(m.body.end(), {"", mail.closing_line});
}

}  // namespace

NotifyAccount NotifyAccountOf(const ClientRecord& client) {
  NotifyAccount account;
  account.account = client.account;
  account.name = client.name;
  account.address1 = client.address1;
  account.address2 = client.address2;
  account.address3 = client.address3;
  account.notify_entry = client.notify_entry;
  return account;
}

void LogMailResult(DataDir& dir, std::string_view text, const EventRecord& event) {
  ActionLogEntry entry;
  entry.history_rec_no = event.history_rec_no;
  entry.text = text;
  entry.time = event.time;
  WriteActionLog(dir, entry, PeriodKey(event.date));
}

void SendEventMail(EventContext& context, const NotifyAccount& account, const EventRecord& event,
                   std::string_view address, uint8_t header_switch) {
  MailSettings mail = FromCompany(context.company_settings);
  if (mail.server.empty()) FillFromReceiverFile(context, mail);
  if (address.empty() || mail.server.empty()) {
    LogMailResult(context.data, context.language.Slot(kSlotMailAddressMissing), event);
    return;
  }
  FillMessage(context, mail, account, event, address, header_switch != 0);

  TSmtpClient& client = context.smtp_client;
  client.settings.host = mail.server;
  client.settings.port = context.smtp_port;
  client.settings.authentication_type = AuthenticationType::atNone;
  if (!context.company_settings.smtp_user.empty()) {
    client.settings.authentication_type = AuthenticationType::atLogin;
    client.settings.user_id = context.company_settings.smtp_user.str();
    client.settings.password = context.company_settings.smtp_password.str();
  }
  bool connect_failed = false;
  bool send_failed = false;
  SmtpResult result = client.Connect();
  if (!result.ok) {
    connect_failed = true;
  } else {
    result = client.Send(context.mail_message);
    send_failed = !result.ok;
  }
  client.Disconnect();
  if (!result.ok) context.view->ShowDebug("E-mail to " + std::string(address) + ": " + result.error);

  if (connect_failed) {
    LogMailResult(context.data, context.language.Slot(kSlotMailCannotConnect), event);
  } else if (send_failed) {
    LogMailResult(context.data, context.language.Slot(kSlotMailTimeOut), event);
  } else {
    LogMailResult(context.data, context.language.Slot(kSlotMailSentTo) + std::string(address), event);
  }
}

void NotifyEvent(EventContext& context, const NotifyAccount& account, const EventRecord& event) {
  int32_t n = event.notify_rec_no;
  int32_t a = account.notify_entry;
  char c = context.company_settings.PagerSwitch(event.priority);
  if (n == -1 && (c == '0' || a == -1)) return;
  // The account's own entry wins when the priority's switch says so, and serves when the event's code
  // names no entry of its own.
  if ((c == '1' && a != -1) || n == -1) n = a;

  NotifyEntry entry;
  ReadNotifyEntry(context.data, n, entry);
  switch (entry.kind) {
    case NotifyEntry::kKindPager1:
    case NotifyEntry::kKindPager2:
      SendPager(context.data, *context.launcher, n, event.description.view());
      break;
    case NotifyEntry::kKindEmail:
      if (!entry.destination1.empty() || entry.destination2.empty()) {
        SendEventMail(context, account, event, entry.destination1.view(), entry.option1);
      }
      if (!entry.destination2.empty()) {
        SendEventMail(context, account, event, entry.destination2.view(), entry.option2);
      }
      break;
    case NotifyEntry::kKindSms:
      LoadLocalSettings(context.data, context.local_settings);
      SendSms(context.data, *context.launcher, account.account.view(), event.description.view(), entry,
              context.company_settings.sms_prefix.view(), context.local_settings.sms_port.view());
      break;
    default:
      // Kinds the monitoring application may add later are not this station's to send.
      break;
  }
}

}  // namespace duri
