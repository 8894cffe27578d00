// Language table: Spanish. Texts in UTF-8, stored in code page 1252 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Apertura tardía"},
    {kEntryLateClosing, "Cierre tardío"},
    {kEntryClosedForTheDay, "Cerrado todo el día"},
    {kEntryAutoTestNotReceived, "Prueba automática no recibida"},
    {kEntryGuardRoundNotReceived, "Ronda de vigilancia no recibida"},
    {kEntryActiveAccount, "Cuenta activa"},
    {kEntryActiveCodes, "Código(s) activo(s) "},
    {kEntryOperatorNumber, "Número de operador"},
    {kEntryTorvaneReport, "Informe Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "Domingo"},
    {kEntryDayNames + 1 * kDayNameStride, "Lunes"},
    {kEntryDayNames + 2 * kDayNameStride, "Martes"},
    {kEntryDayNames + 3 * kDayNameStride, "Miércoles"},
    {kEntryDayNames + 4 * kDayNameStride, "Jueves"},
    {kEntryDayNames + 5 * kDayNameStride, "Viernes"},
    {kEntryDayNames + 6 * kDayNameStride, "Sábado"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Dom"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Lun"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Mar"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Mié"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Jue"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Vie"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Sáb"},
    {kEntryMonthName, "Enero"},
    {kEntryLongMonthName, "Enero"},
    {kEntryInvalid, " Inválido"},
    {kEntrySetupLocked, "Configuración bloqueada"},
    {kEntryUnlockSetup, "Desbloquear configuración"},
    {kEntrySetupUnlocked, "Configuración desbloqueada "},
    {kEntryLockSetup, "Bloquear configuración"},
    {kEntryWorkingOnPort, "Trabajando en el puerto"},
    {kEntryPassword, "Contraseña (solo nivel 'A' Orba/Torvane)"},
    {kEntryReceiverOption, "Opciones del receptor "},
    {kEntryPortSettings, "Parámetros del puerto"},
    {kEntrySaveInfo, "Guardar"},
    {kEntryMiscBox, "Varios "},
    {kEntryCompressCid, "Comprimir Contact ID"},
    {kEntryShowHeartbeat, "Mostrar señal de vida"},
    {kEntryAccountPrefix, "Prefijo del número de cuenta "},
    {kEntryPrefix, "Prefijo"},
    {kEntryReceiverNumber, "Número de receptor"},
    {kEntryLineNumber, "Número de línea"},
    {kEntryTraffic, "Tráfico "},
    {kEntryPanelMessage, "Mensaje"},
    {kEntryMisc, "Varios"},
    {kEntryMinimize, "Minimizar"},
    {kEntryPrinterNone, "Impresora(Ninguna)"},
    {kEntryNone, "(Ninguno)"},
    {kEntryVocalModeFor, "Modo de voz por "},
    {kEntryReset, "Restablecimiento"},
    {kEntryCodeUnknown, "Este código de alarma es desconocido"},
    {kEntryInactiveAccountCode, "Cuenta/código inactivo"},
    {kEntryTest, "Prueba"},
    {kEntryBy, "Por"},
    {kEntryHotUser, "(Usuario vigilado)"},
    {kEntryUnauthorized, "(No autorizado)"},
    {kEntryUnscheduled, "(Fuera de horario)"},
    {kEntryUnreadableMessage, "Mensaje del receptor ilegible"},
    {kEntryComputerNameIs, "El nombre del equipo es: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " ha iniciado sesión en otro equipo."},
    {kSlotClientLock, " ha bloqueado esta cuenta en otro equipo."},
    {kSlotNoteLock, " ha bloqueado esta nota en otro equipo."},
    {kSlotGeneralLock, " ha salido de Torvane de forma anormal en otro equipo."},
    {kSlotMailAddressMissing, "Falta la dirección de correo electrónico."},
    {kSlotMailCannotConnect, "No se puede conectar al servidor de correo."},
    {kSlotMailTimeOut, "No se puede enviar el correo: tiempo agotado."},
    {kSlotMailSentTo, "Correo enviado a: "},
};

}  // namespace

extern const LanguageTexts kSpanishTexts = {"Spanish", CodePage::k1252, kEntries, kSlots};

}  // namespace duri
