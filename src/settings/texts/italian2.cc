// Language table: Italian, second table. Texts in UTF-8, stored in code page 1252 when the table is filled.
// The wording of Italian monitoring practice: subscribers, arming and disarming.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Disinserimento in ritardo"},
    {kEntryLateClosing, "Inserimento in ritardo"},
    {kEntryClosedForTheDay, "Impianto chiuso tutto il giorno"},
    {kEntryAutoTestNotReceived, "Test periodico non ricevuto"},
    {kEntryGuardRoundNotReceived, "Giro di ronda non ricevuto"},
    {kEntryActiveAccount, "Abbonato attivo"},
    {kEntryActiveCodes, "Codice/i attivo/i "},
    {kEntryOperatorNumber, "Operatore numero"},
    {kEntryTorvaneReport, "Resoconto Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "Domenica"},
    {kEntryDayNames + 1 * kDayNameStride, "Lunedì"},
    {kEntryDayNames + 2 * kDayNameStride, "Martedì"},
    {kEntryDayNames + 3 * kDayNameStride, "Mercoledì"},
    {kEntryDayNames + 4 * kDayNameStride, "Giovedì"},
    {kEntryDayNames + 5 * kDayNameStride, "Venerdì"},
    {kEntryDayNames + 6 * kDayNameStride, "Sabato"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Dom"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Lun"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Mar"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Mer"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Gio"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Ven"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Sab"},
    {kEntryMonthName, "Gennaio"},
    {kEntryLongMonthName, "Gennaio"},
    {kEntryInvalid, " Non valido"},
    {kEntrySetupLocked, "Configurazione bloccata"},
    {kEntryUnlockSetup, "Sblocca configurazione"},
    {kEntrySetupUnlocked, "Configurazione sbloccata "},
    {kEntryLockSetup, "Blocca configurazione"},
    {kEntryWorkingOnPort, "Porta di lavoro"},
    {kEntryPassword, "Password (solo livello 'A' Orba/Torvane)"},
    {kEntryReceiverOption, "Opzioni ricevitore "},
    {kEntryPortSettings, "Impostazioni porta"},
    {kEntrySaveInfo, "Salva"},
    {kEntryMiscBox, "Varie "},
    {kEntryCompressCid, "Comprimi Contact ID"},
    {kEntryShowHeartbeat, "Mostra segnale di vita"},
    {kEntryAccountPrefix, "Prefisso codice abbonato "},
    {kEntryPrefix, "Prefisso"},
    {kEntryReceiverNumber, "Numero ricevitore"},
    {kEntryLineNumber, "Numero linea"},
    {kEntryTraffic, "Traffico "},
    {kEntryPanelMessage, "Messaggio"},
    {kEntryMisc, "Varie"},
    {kEntryMinimize, "Riduci"},
    {kEntryPrinterNone, "Stampante(Nessuna)"},
    {kEntryNone, "(Nessuno)"},
    {kEntryVocalModeFor, "Modo vocale per "},
    {kEntryReset, "Ripristino"},
    {kEntryCodeUnknown, "Questo codice di allarme è sconosciuto"},
    {kEntryInactiveAccountCode, "Abbonato/codice inattivo"},
    {kEntryTest, "Test"},
    {kEntryBy, "Da"},
    {kEntryHotUser, "(Utente a rischio)"},
    {kEntryUnauthorized, "(Non autorizzato)"},
    {kEntryUnscheduled, "(Fuori programma)"},
    {kEntryUnreadableMessage, "Messaggio illeggibile dal ricevitore"},
    {kEntryComputerNameIs, "Il nome del computer è: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " ha effettuato l'accesso su un altro computer."},
    {kSlotClientLock, " ha bloccato questo abbonato su un altro computer."},
    {kSlotNoteLock, " ha bloccato questa nota su un altro computer."},
    {kSlotGeneralLock, " è uscito da Torvane in modo anomalo su un altro computer."},
    {kSlotMailAddressMissing, "Manca l'indirizzo e-mail."},
    {kSlotMailCannotConnect, "Impossibile connettersi al server di posta."},
    {kSlotMailTimeOut, "Impossibile inviare l'e-mail: tempo scaduto."},
    {kSlotMailSentTo, "E-mail inviata a: "},
};

}  // namespace

extern const LanguageTexts kItalian2Texts = {"Italian, second table", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
