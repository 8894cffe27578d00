// Language table: French. Texts in UTF-8, stored in code page 1252 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Ouverture en retard"},
    {kEntryLateClosing, "Fermeture en retard"},
    {kEntryClosedForTheDay, "Fermé pour la journée"},
    {kEntryAutoTestNotReceived, "Test automatique non reçu"},
    {kEntryGuardRoundNotReceived, "Ronde de garde non reçue"},
    {kEntryActiveAccount, "Compte actif"},
    {kEntryActiveCodes, "Code(s) actif(s) "},
    {kEntryOperatorNumber, "Numéro d'opérateur"},
    {kEntryTorvaneReport, "Rapport Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "Dimanche"},
    {kEntryDayNames + 1 * kDayNameStride, "Lundi"},
    {kEntryDayNames + 2 * kDayNameStride, "Mardi"},
    {kEntryDayNames + 3 * kDayNameStride, "Mercredi"},
    {kEntryDayNames + 4 * kDayNameStride, "Jeudi"},
    {kEntryDayNames + 5 * kDayNameStride, "Vendredi"},
    {kEntryDayNames + 6 * kDayNameStride, "Samedi"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Dim"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Lun"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Mar"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Mer"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Jeu"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Ven"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Sam"},
    {kEntryMonthName, "Janvier"},
    {kEntryLongMonthName, "Janvier"},
    {kEntryInvalid, " Invalide"},
    {kEntrySetupLocked, "Configuration verrouillée"},
    {kEntryUnlockSetup, "Déverrouiller la configuration"},
    {kEntrySetupUnlocked, "Configuration déverrouillée "},
    {kEntryLockSetup, "Verrouiller la configuration"},
    {kEntryWorkingOnPort, "Port en cours"},
    {kEntryPassword, "Mot de passe (Orba/Torvane niveau 'A' seulement)"},
    {kEntryReceiverOption, "Options du récepteur "},
    {kEntryPortSettings, "Paramètres du port"},
    {kEntrySaveInfo, "Enregistrer"},
    {kEntryMiscBox, "Divers "},
    {kEntryCompressCid, "Compresser Contact ID"},
    {kEntryShowHeartbeat, "Afficher le signal de vie"},
    {kEntryAccountPrefix, "Préfixe du numéro de compte "},
    {kEntryPrefix, "Préfixe"},
    {kEntryReceiverNumber, "Numéro de récepteur"},
    {kEntryLineNumber, "Numéro de ligne"},
    {kEntryTraffic, "Trafic "},
    {kEntryPanelMessage, "Message"},
    {kEntryMisc, "Divers"},
    {kEntryMinimize, "Réduire"},
    {kEntryPrinterNone, "Imprimante(Aucune)"},
    {kEntryNone, "(Aucun)"},
    {kEntryVocalModeFor, "Mode vocal pour "},
    {kEntryReset, "Rétablissement"},
    {kEntryCodeUnknown, "Ce code d'alarme est inconnu"},
    {kEntryInactiveAccountCode, "Compte/code inactif"},
    {kEntryTest, "Test"},
    {kEntryBy, "Par"},
    {kEntryHotUser, "(Usager à surveiller)"},
    {kEntryUnauthorized, "(Non autorisé)"},
    {kEntryUnscheduled, "(Hors horaire)"},
    {kEntryUnreadableMessage, "Message du récepteur illisible"},
    {kEntryComputerNameIs, "Le nom de l'ordinateur est : "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " est connecté sur un autre ordinateur."},
    {kSlotClientLock, " a verrouillé ce compte sur un autre ordinateur."},
    {kSlotNoteLock, " a verrouillé cette note sur un autre ordinateur."},
    {kSlotGeneralLock, " a quitté Torvane anormalement sur un autre ordinateur."},
    {kSlotMailAddressMissing, "L'adresse courriel est manquante."},
    {kSlotMailCannotConnect, "Impossible de se connecter au serveur de courriel."},
    {kSlotMailTimeOut, "Envoi du courriel impossible : délai dépassé."},
    {kSlotMailSentTo, "Courriel envoyé à : "},
};

}  // namespace

extern const LanguageTexts kFrenchTexts = {"French", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
