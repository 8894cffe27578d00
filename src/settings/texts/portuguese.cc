// Language table: Portuguese. Texts in UTF-8, stored in code page 1252 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Abertura atrasada"},
    {kEntryLateClosing, "Fechamento atrasado"},
    {kEntryClosedForTheDay, "Fechado o dia todo"},
    {kEntryAutoTestNotReceived, "Teste automático não recebido"},
    {kEntryGuardRoundNotReceived, "Ronda de vigia não recebida"},
    {kEntryActiveAccount, "Conta ativa"},
    {kEntryActiveCodes, "Código(s) ativo(s) "},
    {kEntryOperatorNumber, "Número do operador"},
    {kEntryTorvaneReport, "Relatório Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "Domingo"},
    {kEntryDayNames + 1 * kDayNameStride, "Segunda"},
    {kEntryDayNames + 2 * kDayNameStride, "Terça"},
    {kEntryDayNames + 3 * kDayNameStride, "Quarta"},
    {kEntryDayNames + 4 * kDayNameStride, "Quinta"},
    {kEntryDayNames + 5 * kDayNameStride, "Sexta"},
    {kEntryDayNames + 6 * kDayNameStride, "Sábado"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Dom"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Seg"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Ter"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Qua"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Qui"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Sex"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Sáb"},
    {kEntryMonthName, "Janeiro"},
    {kEntryLongMonthName, "Janeiro"},
    {kEntryInvalid, " Inválido"},
    {kEntrySetupLocked, "Configuração bloqueada"},
    {kEntryUnlockSetup, "Desbloquear configuração"},
    {kEntrySetupUnlocked, "Configuração desbloqueada "},
    {kEntryLockSetup, "Bloquear configuração"},
    {kEntryWorkingOnPort, "Trabalhando na porta"},
    {kEntryPassword, "Senha (somente nível 'A' Orba/Torvane)"},
    {kEntryReceiverOption, "Opções do receptor "},
    {kEntryPortSettings, "Configuração da porta"},
    {kEntrySaveInfo, "Salvar"},
    {kEntryMiscBox, "Diversos "},
    {kEntryCompressCid, "Comprimir Contact ID"},
    {kEntryShowHeartbeat, "Mostrar sinal de vida"},
    {kEntryAccountPrefix, "Prefixo do número de conta "},
    {kEntryPrefix, "Prefixo"},
    {kEntryReceiverNumber, "Número do receptor"},
    {kEntryLineNumber, "Número da linha"},
    {kEntryTraffic, "Tráfego "},
    {kEntryPanelMessage, "Mensagem"},
    {kEntryMisc, "Diversos"},
    {kEntryMinimize, "Minimizar"},
    {kEntryPrinterNone, "Impressora(Nenhuma)"},
    {kEntryNone, "(Nenhum)"},
    {kEntryVocalModeFor, "Modo de voz por "},
    {kEntryReset, "Restauração"},
    {kEntryCodeUnknown, "Este código de alarme é desconhecido"},
    {kEntryInactiveAccountCode, "Conta/código inativo"},
    {kEntryTest, "Teste"},
    {kEntryBy, "Por"},
    {kEntryHotUser, "(Usuário vigiado)"},
    {kEntryUnauthorized, "(Não autorizado)"},
    {kEntryUnscheduled, "(Fora de horário)"},
    {kEntryUnreadableMessage, "Mensagem do receptor ilegível"},
    {kEntryComputerNameIs, "O nome do computador é: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " entrou em outro computador."},
    {kSlotClientLock, " bloqueou esta conta em outro computador."},
    {kSlotNoteLock, " bloqueou esta nota em outro computador."},
    {kSlotGeneralLock, " saiu do Torvane de forma anormal em outro computador."},
    {kSlotMailAddressMissing, "O endereço de e-mail está faltando."},
    {kSlotMailCannotConnect, "Não é possível conectar ao servidor de e-mail."},
    {kSlotMailTimeOut, "Não é possível enviar o e-mail: tempo esgotado."},
    {kSlotMailSentTo, "E-mail enviado para: "},
};

}  // namespace

extern const LanguageTexts kPortugueseTexts = {"Portuguese", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
