// Where each text of the language table lives. An entry number is the byte offset of a length-prefixed
// text in the 47064-byte block; a slot number i refers to a text of any length, kept at bytes 4*i to
// 4*i+3. The numbers are shared by the whole product family and are frozen: the monitoring application
// reads the same table. Read a text with station.language.Entry(kEntry...) or .Slot(kSlot...).
//
// The texts that the product family never numbered (the voice-mode notice, the code resolution and user
// check texts) live at kEntryVocalModeFor and after, in a stretch of the block no other entry or slot
// uses.
#ifndef DURIDUVAZE_SETTINGS_LANGUAGE_ENTRIES_H_
#define DURIDUVAZE_SETTINGS_LANGUAGE_ENTRIES_H_

#include <array>

namespace duri {

// Event descriptions written by the intake.
constexpr int kEntryLateOpening = 1065;            // "Late opening"
constexpr int kEntryLateClosing = 1131;            // "Late closing"
constexpr int kEntryClosedForTheDay = 1197;        // "Closed for the day"
constexpr int kEntryAutoTestNotReceived = 1360;    // "Auto test not received"
constexpr int kEntryGuardRoundNotReceived = 1401;  // "Guard round not received"
constexpr int kEntryActiveAccount = 1442;          // "Active account"
constexpr int kEntryActiveCodes = 1524;            // "Active code(s) "

// Lock refusal messages.
constexpr int kEntryOperatorNumber = 19465;  // "Operator number"
constexpr int kEntryComputerNameIs = 45992;  // "The computer name is: "

// E-mail subject when the company settings give none.
constexpr int kEntryTorvaneReport = 22716;  // "Torvane report"

// Date names: day i (0 = Sunday) at kEntryDayNames + kDayNameStride * i, short day i at
// kEntryShortDayNames + kShortDayNameStride * i, then the two month texts ("January").
constexpr int kEntryDayNames = 25057;
constexpr int kDayNameStride = 16;
constexpr int kEntryShortDayNames = 25169;
constexpr int kShortDayNameStride = 6;
constexpr int kEntryMonthName = 25211;      // up to 16 characters
constexpr int kEntryLongMonthName = 25546;  // up to 66 characters

// " Invalid": unknown accounts and a refused password.
constexpr int kEntryInvalid = 33586;

// Window captions, 66 bytes apart.
constexpr int kEntrySetupLocked = 34048;     // "Setup locked"
constexpr int kEntryUnlockSetup = 34114;     // "Unlock setup"
constexpr int kEntrySetupUnlocked = 34180;   // "Setup unlocked "
constexpr int kEntryLockSetup = 34246;       // "Lock setup"
constexpr int kEntryWorkingOnPort = 34312;   // "Working on port"
constexpr int kEntryPassword = 34378;        // "Password (Orba/Torvane Level 'A' Only)"
constexpr int kEntryReceiverOption = 34444;  // "Receiver option "
constexpr int kEntryPortSettings = 34510;    // "Port settings"
constexpr int kEntrySaveInfo = 34576;        // "Save info"
constexpr int kEntryMiscBox = 34642;         // "Misc " (GroupBoxMisc)
constexpr int kEntryCompressCid = 34708;     // "Compress Contact ID"
constexpr int kEntryShowHeartbeat = 34774;   // "Show heartbeat"
constexpr int kEntryAccountPrefix = 34840;   // "Account number prefix "
constexpr int kEntryPrefix = 34906;          // "Prefix"
constexpr int kEntryReceiverNumber = 34972;  // "Receiver Number"
constexpr int kEntryLineNumber = 35038;      // "Line number"
constexpr int kEntryTraffic = 35104;         // "Traffic "
constexpr int kEntryPanelMessage = 35170;    // "Panel message"
constexpr int kEntryMisc = 35236;            // "Misc" (GroupBox1)
constexpr int kEntryMinimize = 35302;        // "Minimize"
constexpr int kEntryPrinterNone = 35368;     // "Printer(None)"
constexpr int kEntryNone = 35434;            // "(None)"

// Texts without a number of their own in the product family, 66 bytes apart.
constexpr int kEntryVocalModeFor = 40000;         // "Vocal mode for " (SIA voice-mode notice)
constexpr int kEntryReset = 40066;                // "Reset"
constexpr int kEntryCodeUnknown = 40132;          // "This Alarm code is unknown"
constexpr int kEntryInactiveAccountCode = 40198;  // "Inactive account/code"
constexpr int kEntryTest = 40264;                 // "Test"
constexpr int kEntryBy = 40330;                   // "By"
constexpr int kEntryHotUser = 40396;              // "(Hot User)"
constexpr int kEntryUnauthorized = 40462;         // "(Unauthorized)"
constexpr int kEntryUnscheduled = 40528;          // "(Unscheduled)"
constexpr int kEntryUnreadableMessage = 40594;    // "Unreadable receiver message"

// Slots: the four lock refusal endings, in the order USER, CLIENT, BNOTE, GENERAL.
constexpr int kSlotUserLock = 11494;     // " has logged in on another computer."
constexpr int kSlotClientLock = 11495;   // " has locked this account on another computer."
constexpr int kSlotNoteLock = 11496;     // " has locked this note on another computer."
constexpr int kSlotGeneralLock = 11497;  // " has exit from Torvane abnormally on another computer."
// Slots: e-mail results written to the action log.
constexpr int kSlotMailAddressMissing = 11750;  // "E-mail address is missing."
constexpr int kSlotMailCannotConnect = 11751;   // "Cannot connect to e-mail server."
constexpr int kSlotMailTimeOut = 11752;         // "Cannot send e-mail time out."
constexpr int kSlotMailSentTo = 11753;          // "E-mail has been sent to: "

// An entry this module uses and the most bytes its text may take (the distance to the next entry less
// the length byte, or the length the date names keep).
struct ModuleEntry {
  int offset;
  int capacity;
};

constexpr auto kModuleEntries = std::to_array<ModuleEntry>({
    {kEntryLateOpening, 65},
    {kEntryLateClosing, 65},
    {kEntryClosedForTheDay, 65},
    {kEntryAutoTestNotReceived, 40},
    {kEntryGuardRoundNotReceived, 40},
    {kEntryActiveAccount, 65},
    {kEntryActiveCodes, 65},
    {kEntryOperatorNumber, 65},
    {kEntryTorvaneReport, 65},
    {kEntryDayNames + 0 * kDayNameStride, 15},
    {kEntryDayNames + 1 * kDayNameStride, 15},
    {kEntryDayNames + 2 * kDayNameStride, 15},
    {kEntryDayNames + 3 * kDayNameStride, 15},
    {kEntryDayNames + 4 * kDayNameStride, 15},
    {kEntryDayNames + 5 * kDayNameStride, 15},
    {kEntryDayNames + 6 * kDayNameStride, 15},
    {kEntryShortDayNames + 0 * kShortDayNameStride, 5},
    {kEntryShortDayNames + 1 * kShortDayNameStride, 5},
    {kEntryShortDayNames + 2 * kShortDayNameStride, 5},
    {kEntryShortDayNames + 3 * kShortDayNameStride, 5},
    {kEntryShortDayNames + 4 * kShortDayNameStride, 5},
    {kEntryShortDayNames + 5 * kShortDayNameStride, 5},
    {kEntryShortDayNames + 6 * kShortDayNameStride, 5},
    {kEntryMonthName, 16},
    {kEntryLongMonthName, 66},
    {kEntryInvalid, 65},
    {kEntrySetupLocked, 65},
    {kEntryUnlockSetup, 65},
    {kEntrySetupUnlocked, 65},
    {kEntryLockSetup, 65},
    {kEntryWorkingOnPort, 65},
    {kEntryPassword, 65},
    {kEntryReceiverOption, 65},
    {kEntryPortSettings, 65},
    {kEntrySaveInfo, 65},
    {kEntryMiscBox, 65},
    {kEntryCompressCid, 65},
    {kEntryShowHeartbeat, 65},
    {kEntryAccountPrefix, 65},
    {kEntryPrefix, 65},
    {kEntryReceiverNumber, 65},
    {kEntryLineNumber, 65},
    {kEntryTraffic, 65},
    {kEntryPanelMessage, 65},
    {kEntryMisc, 65},
    {kEntryMinimize, 65},
    {kEntryPrinterNone, 65},
    {kEntryNone, 65},
    {kEntryVocalModeFor, 65},
    {kEntryReset, 65},
    {kEntryCodeUnknown, 65},
    {kEntryInactiveAccountCode, 65},
    {kEntryTest, 65},
    {kEntryBy, 65},
    {kEntryHotUser, 65},
    {kEntryUnauthorized, 65},
    {kEntryUnscheduled, 65},
    {kEntryUnreadableMessage, 65},
    {kEntryComputerNameIs, 65},
});

constexpr std::array<int, 8> kModuleSlots = {
    kSlotUserLock,           kSlotClientLock,        kSlotNoteLock,     kSlotGeneralLock,
    kSlotMailAddressMissing, kSlotMailCannotConnect, kSlotMailTimeOut, kSlotMailSentTo,
};

// The capacity of a module entry, or 0 for an offset this module does not use.
constexpr int EntryCapacity(int offset) {
  for (const ModuleEntry& e : kModuleEntries) {
    if (e.offset == offset) return e.capacity;
  }
  return 0;
}

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_LANGUAGE_ENTRIES_H_
