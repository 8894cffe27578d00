// Language table: Russian. Texts in UTF-8, stored in code page 1251 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Позднее снятие с охраны"},
    {kEntryLateClosing, "Поздняя постановка на охрану"},
    {kEntryClosedForTheDay, "Объект закрыт весь день"},
    {kEntryAutoTestNotReceived, "Автотест не получен"},
    {kEntryGuardRoundNotReceived, "Отметка обхода не получена"},
    {kEntryActiveAccount, "Активный объект"},
    {kEntryActiveCodes, "Активные коды "},
    {kEntryOperatorNumber, "Номер оператора"},
    {kEntryTorvaneReport, "Отчёт Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "Воскресенье"},
    {kEntryDayNames + 1 * kDayNameStride, "Понедельник"},
    {kEntryDayNames + 2 * kDayNameStride, "Вторник"},
    {kEntryDayNames + 3 * kDayNameStride, "Среда"},
    {kEntryDayNames + 4 * kDayNameStride, "Четверг"},
    {kEntryDayNames + 5 * kDayNameStride, "Пятница"},
    {kEntryDayNames + 6 * kDayNameStride, "Суббота"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Вс"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Пн"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Вт"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Ср"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Чт"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Пт"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Сб"},
    {kEntryMonthName, "Январь"},
    {kEntryLongMonthName, "Январь"},
    {kEntryInvalid, " Недействительно"},
    {kEntrySetupLocked, "Настройка заблокирована"},
    {kEntryUnlockSetup, "Разблокировать настройку"},
    {kEntrySetupUnlocked, "Настройка разблокирована "},
    {kEntryLockSetup, "Заблокировать настройку"},
    {kEntryWorkingOnPort, "Рабочий порт"},
    {kEntryPassword, "Пароль (только уровень 'A' Orba/Torvane)"},
    {kEntryReceiverOption, "Параметры приёмника "},
    {kEntryPortSettings, "Настройки порта"},
    {kEntrySaveInfo, "Сохранить"},
    {kEntryMiscBox, "Разное "},
    {kEntryCompressCid, "Сжимать Contact ID"},
    {kEntryShowHeartbeat, "Показывать тестовые сигналы"},
    {kEntryAccountPrefix, "Префикс номера объекта "},
    {kEntryPrefix, "Префикс"},
    {kEntryReceiverNumber, "Номер приёмника"},
    {kEntryLineNumber, "Номер линии"},
    {kEntryTraffic, "Трафик "},
    {kEntryPanelMessage, "Сообщение"},
    {kEntryMisc, "Разное"},
    {kEntryMinimize, "Свернуть"},
    {kEntryPrinterNone, "Принтер(Нет)"},
    {kEntryNone, "(Нет)"},
    {kEntryVocalModeFor, "Голосовой режим на "},
    {kEntryReset, "Сброс"},
    {kEntryCodeUnknown, "Этот код тревоги неизвестен"},
    {kEntryInactiveAccountCode, "Неактивный объект/код"},
    {kEntryTest, "Тест"},
    {kEntryBy, "Пользователь"},
    {kEntryHotUser, "(Особый пользователь)"},
    {kEntryUnauthorized, "(Не разрешено)"},
    {kEntryUnscheduled, "(Вне расписания)"},
    {kEntryUnreadableMessage, "Нечитаемое сообщение приёмника"},
    {kEntryComputerNameIs, "Имя компьютера: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " вошёл в систему на другом компьютере."},
    {kSlotClientLock, " заблокировал этот объект на другом компьютере."},
    {kSlotNoteLock, " заблокировал эту заметку на другом компьютере."},
    {kSlotGeneralLock, " аварийно завершил Torvane на другом компьютере."},
    {kSlotMailAddressMissing, "Не указан адрес электронной почты."},
    {kSlotMailCannotConnect, "Не удаётся подключиться к почтовому серверу."},
    {kSlotMailTimeOut, "Не удаётся отправить письмо: истекло время ожидания."},
    {kSlotMailSentTo, "Письмо отправлено: "},
};

}  // namespace

extern const LanguageTexts kRussianTexts = {"Russian", CodePage::k1251, kEntries, kSlots};

}  // namespace duri
