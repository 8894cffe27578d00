// Language table: English, second table. Texts in UTF-8, stored in code page 1252 when the table is filled.
// British wording, with the set and unset of British alarm practice for closings and openings.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Late unset"},
    {kEntryLateClosing, "Late set"},
    {kEntryClosedForTheDay, "Closed for the day"},
    {kEntryAutoTestNotReceived, "Timer test not received"},
    {kEntryGuardRoundNotReceived, "Guard patrol not received"},
    {kEntryActiveAccount, "Active account"},
    {kEntryActiveCodes, "Active code(s) "},
    {kEntryOperatorNumber, "Operator number"},
    {kEntryTorvaneReport, "Torvane report"},
    {kEntryDayNames + 0 * kDayNameStride, "Sunday"},
    {kEntryDayNames + 1 * kDayNameStride, "Monday"},
    {kEntryDayNames + 2 * kDayNameStride, "Tuesday"},
    {kEntryDayNames + 3 * kDayNameStride, "Wednesday"},
    {kEntryDayNames + 4 * kDayNameStride, "Thursday"},
    {kEntryDayNames + 5 * kDayNameStride, "Friday"},
    {kEntryDayNames + 6 * kDayNameStride, "Saturday"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Sun"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Mon"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Tue"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Wed"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Thu"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Fri"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Sat"},
    {kEntryMonthName, "January"},
    {kEntryLongMonthName, "January"},
    {kEntryInvalid, " Invalid"},
    {kEntrySetupLocked, "Set-up locked"},
    {kEntryUnlockSetup, "Unlock set-up"},
    {kEntrySetupUnlocked, "Set-up unlocked "},
    {kEntryLockSetup, "Lock set-up"},
    {kEntryWorkingOnPort, "Working on port"},
    {kEntryPassword, "Password (Orba/Torvane Level 'A' only)"},
    {kEntryReceiverOption, "Receiver option "},
    {kEntryPortSettings, "Port settings"},
    {kEntrySaveInfo, "Save info"},
    {kEntryMiscBox, "Misc "},
    {kEntryCompressCid, "Compress Contact ID"},
    {kEntryShowHeartbeat, "Show heartbeat signals"},
    {kEntryAccountPrefix, "Account number prefix "},
    {kEntryPrefix, "Prefix"},
    {kEntryReceiverNumber, "Receiver Number"},
    {kEntryLineNumber, "Line number"},
    {kEntryTraffic, "Traffic "},
    {kEntryPanelMessage, "Panel message"},
    {kEntryMisc, "Misc"},
    {kEntryMinimize, "Minimise"},
    {kEntryPrinterNone, "Printer(None)"},
    {kEntryNone, "(None)"},
    {kEntryVocalModeFor, "Voice mode for "},
    {kEntryReset, "Reset"},
    {kEntryCodeUnknown, "This alarm code is unknown"},
    {kEntryInactiveAccountCode, "Inactive account/code"},
    {kEntryTest, "Test"},
    {kEntryBy, "By"},
    {kEntryHotUser, "(Hot User)"},
    {kEntryUnauthorized, "(Unauthorised)"},
    {kEntryUnscheduled, "(Unscheduled)"},
    {kEntryUnreadableMessage, "Unreadable receiver message"},
    {kEntryComputerNameIs, "The computer name is: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " has logged in on another computer."},
    {kSlotClientLock, " has locked this account on another computer."},
    {kSlotNoteLock, " has locked this note on another computer."},
    {kSlotGeneralLock, " has exited Torvane abnormally on another computer."},
    {kSlotMailAddressMissing, "E-mail address is missing."},
    {kSlotMailCannotConnect, "Cannot connect to e-mail server."},
    {kSlotMailTimeOut, "Cannot send e-mail: timed out."},
    {kSlotMailSentTo, "E-mail has been sent to: "},
};

}  // namespace

extern const LanguageTexts kEnglish2Texts = {"English, second table", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
