// Language table: Turkish. Texts in UTF-8, stored in code page 1254 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "Geç açılış"},
    {kEntryLateClosing, "Geç kapanış"},
    {kEntryClosedForTheDay, "Bütün gün kapalı"},
    {kEntryAutoTestNotReceived, "Otomatik test alınmadı"},
    {kEntryGuardRoundNotReceived, "Bekçi turu alınmadı"},
    {kEntryActiveAccount, "Aktif hesap"},
    {kEntryActiveCodes, "Aktif kod(lar) "},
    {kEntryOperatorNumber, "Operatör numarası"},
    {kEntryTorvaneReport, "Torvane raporu"},
    {kEntryDayNames + 0 * kDayNameStride, "Pazar"},
    {kEntryDayNames + 1 * kDayNameStride, "Pazartesi"},
    {kEntryDayNames + 2 * kDayNameStride, "Salı"},
    {kEntryDayNames + 3 * kDayNameStride, "Çarşamba"},
    {kEntryDayNames + 4 * kDayNameStride, "Perşembe"},
    {kEntryDayNames + 5 * kDayNameStride, "Cuma"},
    {kEntryDayNames + 6 * kDayNameStride, "Cumartesi"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "Paz"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "Pzt"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "Sal"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "Çar"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "Per"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "Cum"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "Cmt"},
    {kEntryMonthName, "Ocak"},
    {kEntryLongMonthName, "Ocak"},
    {kEntryInvalid, " Geçersiz"},
    {kEntrySetupLocked, "Ayarlar kilitli"},
    {kEntryUnlockSetup, "Ayarların kilidini aç"},
    {kEntrySetupUnlocked, "Ayarların kilidi açık "},
    {kEntryLockSetup, "Ayarları kilitle"},
    {kEntryWorkingOnPort, "Çalışılan port"},
    {kEntryPassword, "Şifre (yalnızca Orba/Torvane 'A' seviyesi)"},
    {kEntryReceiverOption, "Alıcı seçenekleri "},
    {kEntryPortSettings, "Port ayarları"},
    {kEntrySaveInfo, "Kaydet"},
    {kEntryMiscBox, "Çeşitli "},
    {kEntryCompressCid, "Contact ID sıkıştır"},
    {kEntryShowHeartbeat, "Yaşam sinyalini göster"},
    {kEntryAccountPrefix, "Hesap numarası öneki "},
    {kEntryPrefix, "Önek"},
    {kEntryReceiverNumber, "Alıcı numarası"},
    {kEntryLineNumber, "Hat numarası"},
    {kEntryTraffic, "Trafik "},
    {kEntryPanelMessage, "Panel mesajı"},
    {kEntryMisc, "Çeşitli"},
    {kEntryMinimize, "Simge durumuna küçült"},
    {kEntryPrinterNone, "Yazıcı(Yok)"},
    {kEntryNone, "(Yok)"},
    {kEntryVocalModeFor, "Sesli mod süresi: "},
    {kEntryReset, "Sıfırlama"},
    {kEntryCodeUnknown, "Bu alarm kodu bilinmiyor"},
    {kEntryInactiveAccountCode, "Pasif hesap/kod"},
    {kEntryTest, "Test"},
    {kEntryBy, "Kullanıcı"},
    {kEntryHotUser, "(İzlenen kullanıcı)"},
    {kEntryUnauthorized, "(Yetkisiz)"},
    {kEntryUnscheduled, "(Program dışı)"},
    {kEntryUnreadableMessage, "Okunamayan alıcı mesajı"},
    {kEntryComputerNameIs, "Bilgisayar adı: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " başka bir bilgisayarda oturum açtı."},
    {kSlotClientLock, " bu hesabı başka bir bilgisayarda kilitledi."},
    {kSlotNoteLock, " bu notu başka bir bilgisayarda kilitledi."},
    {kSlotGeneralLock, " başka bir bilgisayarda Torvane'den anormal şekilde çıktı."},
    {kSlotMailAddressMissing, "E-posta adresi eksik."},
    {kSlotMailCannotConnect, "E-posta sunucusuna bağlanılamıyor."},
    {kSlotMailTimeOut, "E-posta gönderilemedi: zaman aşımı."},
    {kSlotMailSentTo, "E-posta gönderildi: "},
};

}  // namespace

extern const LanguageTexts kTurkishTexts = {"Turkish", CodePage::k1254, kEntries, kSlots};

}  // namespace duri
