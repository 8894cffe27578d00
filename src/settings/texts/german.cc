// Language table: German. Texts in UTF-8, stored in code page 1252 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Verspätete Öffnung"},
    {kEntryLateClosing, "Verspätete Schließung"},
    {kEntryClosedForTheDay, "Ganztägig geschlossen"},
    {kEntryAutoTestNotReceived, "Automatischer Test nicht empfangen"},
    {kEntryGuardRoundNotReceived, "Wächterrundgang nicht empfangen"},
    {kEntryActiveAccount, "Aktives Konto"},
    {kEntryActiveCodes, "Aktive(r) Code(s) "},
    {kEntryOperatorNumber, "Bedienernummer"},
    {kEntryTorvaneReport, "Torvane-Bericht"},
    {kEntryDayNames + 0 * kDayNameStride, "Sonntag"},
    {kEntryDayNames + 1 * kDayNameStride, "Montag"},
    {kEntryDayNames + 2 * kDayNameStride, "Dienstag"},
    {kEntryDayNames + 3 * kDayNameStride, "Mittwoch"},
    {kEntryDayNames + 4 * kDayNameStride, "Donnerstag"},
    {kEntryDayNames + 5 * kDayNameStride, "Freitag"},
    {kEntryDayNames + 6 * kDayNameStride, "Samstag"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "So"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Mo"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Di"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Mi"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Do"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Fr"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Sa"},
    {kEntryMonthName, "Januar"},
    {kEntryLongMonthName, "Januar"},
    {kEntryInvalid, " Ungültig"},
    {kEntrySetupLocked, "Einrichtung gesperrt"},
    {kEntryUnlockSetup, "Einrichtung entsperren"},
    {kEntrySetupUnlocked, "Einrichtung entsperrt "},
    {kEntryLockSetup, "Einrichtung sperren"},
    {kEntryWorkingOnPort, "Aktiver Port"},
    {kEntryPassword, "Passwort (nur Orba/Torvane Stufe 'A')"},
    {kEntryReceiverOption, "Empfängeroptionen "},
    {kEntryPortSettings, "Port-Einstellungen"},
    {kEntrySaveInfo, "Speichern"},
    {kEntryMiscBox, "Verschiedenes "},
    {kEntryCompressCid, "Contact ID komprimieren"},
    {kEntryShowHeartbeat, "Lebenszeichen anzeigen"},
    {kEntryAccountPrefix, "Kontonummer-Präfix "},
    {kEntryPrefix, "Präfix"},
    {kEntryReceiverNumber, "Empfängernummer"},
    {kEntryLineNumber, "Leitungsnummer"},
    {kEntryTraffic, "Datenverkehr "},
    {kEntryPanelMessage, "Meldung"},
    {kEntryMisc, "Verschiedenes"},
    {kEntryMinimize, "Minimieren"},
    {kEntryPrinterNone, "Drucker(Keiner)"},
    {kEntryNone, "(Keiner)"},
    {kEntryVocalModeFor, "Sprachmodus für "},
    {kEntryReset, "Rückstellung"},
    {kEntryCodeUnknown, "Dieser Alarmcode ist unbekannt"},
    {kEntryInactiveAccountCode, "Konto/Code inaktiv"},
    {kEntryTest, "Test"},
    {kEntryBy, "Von"},
    {kEntryHotUser, "(Überwachter Benutzer)"},
    {kEntryUnauthorized, "(Nicht autorisiert)"},
    {kEntryUnscheduled, "(Außerplanmäßig)"},
    {kEntryUnreadableMessage, "Unlesbare Empfängermeldung"},
    {kEntryComputerNameIs, "Der Computername lautet: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " hat sich an einem anderen Computer angemeldet."},
    {kSlotClientLock, " hat dieses Konto an einem anderen Computer gesperrt."},
    {kSlotNoteLock, " hat diese Notiz an einem anderen Computer gesperrt."},
    {kSlotGeneralLock, " hat Torvane an einem anderen Computer nicht ordnungsgemäß beendet."},
    {kSlotMailAddressMissing, "E-Mail-Adresse fehlt."},
    {kSlotMailCannotConnect, "Keine Verbindung zum E-Mail-Server."},
    {kSlotMailTimeOut, "E-Mail kann nicht gesendet werden: Zeitüberschreitung."},
    {kSlotMailSentTo, "E-Mail wurde gesendet an: "},
};

}  // namespace

extern const LanguageTexts kGermanTexts = {"German", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
