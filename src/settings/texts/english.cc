// Language table: English. Texts in UTF-8, stored in code page 1252 when the table is filled.
// The texts as the whole product family words them.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Late opening"},
    {kEntryLateClosing, "Late closing"},
    {kEntryClosedForTheDay, "Closed for the day"},
    {kEntryAutoTestNotReceived, "Auto test not received"},
    {kEntryGuardRoundNotReceived, "Guard round not received"},
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
    {kEntrySetupLocked, "Setup locked"},
    {kEntryUnlockSetup, "Unlock setup"},
    {kEntrySetupUnlocked, "Setup unlocked "},
    {kEntryLockSetup, "Lock setup"},
    {kEntryWorkingOnPort, "Working on port"},
    {kEntryPassword, "Password (Orba/Torvane Level 'A' Only)"},
    {kEntryReceiverOption, "Receiver option "},
    {kEntryPortSettings, "Port settings"},
    {kEntrySaveInfo, "Save info"},
    {kEntryMiscBox, "Misc "},
    {kEntryCompressCid, "Compress Contact ID"},
    {kEntryShowHeartbeat, "Show heartbeat"},
    {kEntryAccountPrefix, "Account number prefix "},
    {kEntryPrefix, "Prefix"},
    {kEntryReceiverNumber, "Receiver Number"},
    {kEntryLineNumber, "Line number"},
    {kEntryTraffic, "Traffic "},
    {kEntryPanelMessage, "Panel message"},
    {kEntryMisc, "Misc"},
    {kEntryMinimize, "Minimize"},
    {kEntryPrinterNone, "Printer(None)"},
    {kEntryNone, "(None)"},
    {kEntryVocalModeFor, "Vocal mode for "},
    {kEntryReset, "Reset"},
    {kEntryCodeUnknown, "This Alarm code is unknown"},
    {kEntryInactiveAccountCode, "Inactive account/code"},
    {kEntryTest, "Test"},
    {kEntryBy, "By"},
    {kEntryHotUser, "(Hot User)"},
    {kEntryUnauthorized, "(Unauthorized)"},
    {kEntryUnscheduled, "(Unscheduled)"},
    {kEntryUnreadableMessage, "Unreadable receiver message"},
    {kEntryComputerNameIs, "The computer name is: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " has logged in on another computer."},
    {kSlotClientLock, " has locked this account on another computer."},
    {kSlotNoteLock, " has locked this note on another computer."},
    {kSlotGeneralLock, " has exit from Torvane abnormally on another computer."},
    {kSlotMailAddressMissing, "E-mail address is missing."},
    {kSlotMailCannotConnect, "Cannot connect to e-mail server."},
    {kSlotMailTimeOut, "Cannot send e-mail time out."},
    {kSlotMailSentTo, "E-mail has been sent to: "},
};

}  // namespace

extern const LanguageTexts kEnglishTexts = {"English", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
