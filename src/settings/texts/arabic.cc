// Language table: Arabic. Texts in UTF-8, stored in code page 1256 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "فتح متأخر"},
    {kEntryLateClosing, "إغلاق متأخر"},
    {kEntryClosedForTheDay, "مغلق طوال اليوم"},
    {kEntryAutoTestNotReceived, "لم يتم استلام الاختبار الآلي"},
    {kEntryGuardRoundNotReceived, "لم يتم استلام جولة الحراسة"},
    {kEntryActiveAccount, "حساب نشط"},
    {kEntryActiveCodes, "رموز نشطة "},
    {kEntryOperatorNumber, "رقم المشغل"},
    {kEntryTorvaneReport, "تقرير Torvane"},
    {kEntryDayNames + 0 * kDayNameStride, "الأحد"},
    {kEntryDayNames + 1 * kDayNameStride, "الاثنين"},
    {kEntryDayNames + 2 * kDayNameStride, "الثلاثاء"},
    {kEntryDayNames + 3 * kDayNameStride, "الأربعاء"},
    {kEntryDayNames + 4 * kDayNameStride, "الخميس"},
    {kEntryDayNames + 5 * kDayNameStride, "الجمعة"},
    {kEntryDayNames + 6 * kDayNameStride, "السبت"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "أحد"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "اثن"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "ثلا"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "أرب"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "خمي"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "جمع"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "سبت"},
    {kEntryMonthName, "يناير"},
    {kEntryLongMonthName, "يناير"},
    {kEntryInvalid, " غير صالح"},
    {kEntrySetupLocked, "الإعداد مقفل"},
    {kEntryUnlockSetup, "فتح قفل الإعداد"},
    {kEntrySetupUnlocked, "الإعداد غير مقفل "},
    {kEntryLockSetup, "قفل الإعداد"},
    {kEntryWorkingOnPort, "المنفذ الحالي"},
    {kEntryPassword, "كلمة المرور (المستوى 'A' من Orba/Torvane فقط)"},
    {kEntryReceiverOption, "خيارات جهاز الاستقبال "},
    {kEntryPortSettings, "إعدادات المنفذ"},
    {kEntrySaveInfo, "حفظ"},
    {kEntryMiscBox, "متفرقات "},
    {kEntryCompressCid, "ضغط Contact ID"},
    {kEntryShowHeartbeat, "إظهار نبضة الاتصال"},
    {kEntryAccountPrefix, "بادئة رقم الحساب "},
    {kEntryPrefix, "البادئة"},
    {kEntryReceiverNumber, "رقم جهاز الاستقبال"},
    {kEntryLineNumber, "رقم الخط"},
    {kEntryTraffic, "حركة الاتصال "},
    {kEntryPanelMessage, "رسالة"},
    {kEntryMisc, "متفرقات"},
    {kEntryMinimize, "تصغير"},
    {kEntryPrinterNone, "طابعة(لا شيء)"},
    {kEntryNone, "(لا شيء)"},
    {kEntryVocalModeFor, "الوضع الصوتي لمدة "},
    {kEntryReset, "إعادة ضبط"},
    {kEntryCodeUnknown, "رمز الإنذار هذا غير معروف"},
    {kEntryInactiveAccountCode, "حساب/رمز غير نشط"},
    {kEntryTest, "اختبار"},
    {kEntryBy, "بواسطة"},
    {kEntryHotUser, "(مستخدم تحت المراقبة)"},
    {kEntryUnauthorized, "(غير مصرح)"},
    {kEntryUnscheduled, "(خارج الجدول)"},
    {kEntryUnreadableMessage, "رسالة مستقبل غير مقروءة"},
    {kEntryComputerNameIs, "اسم الكمبيوتر هو: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " سجل الدخول على كمبيوتر آخر."},
    {kSlotClientLock, " قام بقفل هذا الحساب على كمبيوتر آخر."},
    {kSlotNoteLock, " قام بقفل هذه الملاحظة على كمبيوتر آخر."},
    {kSlotGeneralLock, " خرج من Torvane بشكل غير طبيعي على كمبيوتر آخر."},
    {kSlotMailAddressMissing, "عنوان البريد الإلكتروني مفقود."},
    {kSlotMailCannotConnect, "تعذر الاتصال بخادم البريد الإلكتروني."},
    {kSlotMailTimeOut, "تعذر إرسال البريد الإلكتروني: انتهت المهلة."},
    {kSlotMailSentTo, "تم إرسال البريد الإلكتروني إلى: "},
};

}  // namespace

extern const LanguageTexts kArabicTexts = {"Arabic", CodePage::k1256, kEntries, kSlots};

}  // namespace duri
