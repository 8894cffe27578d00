// Language table: Greek. Texts in UTF-8, stored in code page 1253 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Καθυστερημένο άνοιγμα"},
    {kEntryLateClosing, "Καθυστερημένο κλείσιμο"},
    {kEntryClosedForTheDay, "Κλειστό όλη την ημέρα"},
    {kEntryAutoTestNotReceived, "Δεν ελήφθη αυτόματο τεστ"},
    {kEntryGuardRoundNotReceived, "Δεν ελήφθη περιπολία φύλαξης"},
    {kEntryActiveAccount, "Ενεργός λογαριασμός"},
    {kEntryActiveCodes, "Ενεργοί κωδικοί "},
    {kEntryOperatorNumber, "Αριθμός χειριστή"},
    {kEntryTorvaneReport, "Αναφορά Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "Κυριακή"},
    {kEntryDayNames + 1 * kDayNameStride, "Δευτέρα"},
    {kEntryDayNames + 2 * kDayNameStride, "Τρίτη"},
    {kEntryDayNames + 3 * kDayNameStride, "Τετάρτη"},
    {kEntryDayNames + 4 * kDayNameStride, "Πέμπτη"},
    {kEntryDayNames + 5 * kDayNameStride, "Παρασκευή"},
    {kEntryDayNames + 6 * kDayNameStride, "Σάββατο"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Κυρ"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Δευ"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Τρι"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Τετ"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Πεμ"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Παρ"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Σαβ"},
    {kEntryMonthName, "Ιανουάριος"},
    {kEntryLongMonthName, "Ιανουάριος"},
    {kEntryInvalid, " Άκυρο"},
    {kEntrySetupLocked, "Ρυθμίσεις κλειδωμένες"},
    {kEntryUnlockSetup, "Ξεκλείδωμα ρυθμίσεων"},
    {kEntrySetupUnlocked, "Ρυθμίσεις ξεκλείδωτες "},
    {kEntryLockSetup, "Κλείδωμα ρυθμίσεων"},
    {kEntryWorkingOnPort, "Εργασία στη θύρα"},
    {kEntryPassword, "Κωδικός (μόνο επίπεδο 'A' Orba/Torvane)"},
    {kEntryReceiverOption, "Επιλογές δέκτη "},
    {kEntryPortSettings, "Ρυθμίσεις θύρας"},
    {kEntrySaveInfo, "Αποθήκευση"},
    {kEntryMiscBox, "Διάφορα "},
    {kEntryCompressCid, "Συμπίεση Contact ID"},
    {kEntryShowHeartbeat, "Εμφάνιση σήματος ζωής"},
    {kEntryAccountPrefix, "Πρόθεμα αριθμού λογαριασμού "},
    {kEntryPrefix, "Πρόθεμα"},
    {kEntryReceiverNumber, "Αριθμός δέκτη"},
    {kEntryLineNumber, "Αριθμός γραμμής"},
    {kEntryTraffic, "Κίνηση "},
    {kEntryPanelMessage, "Μήνυμα"},
    {kEntryMisc, "Διάφορα"},
    {kEntryMinimize, "Ελαχιστοποίηση"},
    {kEntryPrinterNone, "Εκτυπωτής(Κανένας)"},
    {kEntryNone, "(Κανένα)"},
    {kEntryVocalModeFor, "Φωνητική λειτουργία για "},
    {kEntryReset, "Επαναφορά"},
    {kEntryCodeUnknown, "Αυτός ο κωδικός συναγερμού είναι άγνωστος"},
    {kEntryInactiveAccountCode, "Ανενεργός λογαριασμός/κωδικός"},
    {kEntryTest, "Δοκιμή"},
    {kEntryBy, "Από"},
    {kEntryHotUser, "(Χρήστης υπό παρακολούθηση)"},
    {kEntryUnauthorized, "(Μη εξουσιοδοτημένο)"},
    {kEntryUnscheduled, "(Εκτός ωραρίου)"},
    {kEntryUnreadableMessage, "Μη αναγνώσιμο μήνυμα δέκτη"},
    {kEntryComputerNameIs, "Το όνομα του υπολογιστή είναι: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " έχει συνδεθεί σε άλλον υπολογιστή."},
    {kSlotClientLock, " έχει κλειδώσει αυτόν τον λογαριασμό σε άλλον υπολογιστή."},
    {kSlotNoteLock, " έχει κλειδώσει αυτή τη σημείωση σε άλλον υπολογιστή."},
    {kSlotGeneralLock, " τερμάτισε το Torvane μη κανονικά σε άλλον υπολογιστή."},
    {kSlotMailAddressMissing, "Λείπει η διεύθυνση e-mail."},
    {kSlotMailCannotConnect, "Αδύνατη η σύνδεση με τον διακομιστή e-mail."},
    {kSlotMailTimeOut, "Αδύνατη η αποστολή e-mail: λήξη χρόνου."},
    {kSlotMailSentTo, "Το e-mail στάλθηκε στο: "},
};

}  // namespace

extern const LanguageTexts kGreekTexts = {"Greek", CodePage::k1253, kEntries, kSlots};

}  // namespace duri
