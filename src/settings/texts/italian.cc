// Language table: Italian. Texts in UTF-8, stored in code page 1252 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Apertura in ritardo"},
    {kEntryLateClosing, "Chiusura in ritardo"},
    {kEntryClosedForTheDay, "Chiuso per l'intera giornata"},
    {kEntryAutoTestNotReceived, "Test automatico non ricevuto"},
    {kEntryGuardRoundNotReceived, "Ronda di guardia non ricevuta"},
    {kEntryActiveAccount, "Conto attivo"},
    {kEntryActiveCodes, "Codice/i attivo/i "},
    {kEntryOperatorNumber, "Numero operatore"},
    {kEntryTorvaneReport, "Rapporto Torvane"},
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
    {kEntryWorkingOnPort, "Porta in uso"},
    {kEntryPassword, "Password (solo livello 'A' Orba/Torvane)"},
    {kEntryReceiverOption, "Opzioni ricevitore "},
    {kEntryPortSettings, "Impostazioni porta"},
    {kEntrySaveInfo, "Salva"},
    {kEntryMiscBox, "Varie "},
    {kEntryCompressCid, "Comprimi Contact ID"},
    {kEntryShowHeartbeat, "Mostra segnale di esistenza in vita"},
    {kEntryAccountPrefix, "Prefisso numero conto "},
    {kEntryPrefix, "Prefisso"},
    {kEntryReceiverNumber, "Numero ricevitore"},
    {kEntryLineNumber, "Numero linea"},
    {kEntryTraffic, "Traffico "},
    {kEntryPanelMessage, "Messaggio"},
    {kEntryMisc, "Varie"},
    {kEntryMinimize, "Riduci a icona"},
    {kEntryPrinterNone, "Stampante(Nessuna)"},
    {kEntryNone, "(Nessuno)"},
    {kEntryVocalModeFor, "Modalità vocale per "},
    {kEntryReset, "Ripristino"},
    {kEntryCodeUnknown, "Questo codice di allarme è sconosciuto"},
    {kEntryInactiveAccountCode, "Conto/codice inattivo"},
    {kEntryTest, "Test"},
    {kEntryBy, "Da"},
    {kEntryHotUser, "(Utente sorvegliato)"},
    {kEntryUnauthorized, "(Non autorizzato)"},
    {kEntryUnscheduled, "(Fuori orario)"},
    {kEntryUnreadableMessage, "Messaggio del ricevitore illeggibile"},
    {kEntryComputerNameIs, "Il nome del computer è: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " ha effettuato l'accesso su un altro computer."},
    {kSlotClientLock, " ha bloccato questo conto su un altro computer."},
    {kSlotNoteLock, " ha bloccato questa nota su un altro computer."},
    {kSlotGeneralLock, " è uscito da Torvane in modo anomalo su un altro computer."},
    {kSlotMailAddressMissing, "Manca l'indirizzo e-mail."},
    {kSlotMailCannotConnect, "Impossibile connettersi al server di posta."},
    {kSlotMailTimeOut, "Impossibile inviare l'e-mail: tempo scaduto."},
    {kSlotMailSentTo, "E-mail inviata a: "},
};

}  // namespace

extern const LanguageTexts kItalianTexts = {"Italian", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
