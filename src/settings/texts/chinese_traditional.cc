// Language table: Chinese, traditional characters. Texts in UTF-8, stored in code page 950 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "延遲撤防"},
    {kEntryLateClosing, "延遲設防"},
    {kEntryClosedForTheDay, "全天關閉"},
    {kEntryAutoTestNotReceived, "未收到自動測試"},
    {kEntryGuardRoundNotReceived, "未收到巡邏信號"},
    {kEntryActiveAccount, "啟用帳戶"},
    {kEntryActiveCodes, "啟用代碼 "},
    {kEntryOperatorNumber, "操作員編號"},
    {kEntryTorvaneReport, "Torvane 報告"},
    {kEntryDayNames + 0 * kDayNameStride, "星期日"},
    {kEntryDayNames + 1 * kDayNameStride, "星期一"},
    {kEntryDayNames + 2 * kDayNameStride, "星期二"},
    {kEntryDayNames + 3 * kDayNameStride, "星期三"},
    {kEntryDayNames + 4 * kDayNameStride, "星期四"},
    {kEntryDayNames + 5 * kDayNameStride, "星期五"},
    {kEntryDayNames + 6 * kDayNameStride, "星期六"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "週日"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "週一"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "週二"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "週三"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "週四"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "週五"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "週六"},
    {kEntryMonthName, "一月"},
    {kEntryLongMonthName, "一月"},
    {kEntryInvalid, " 無效"},
    {kEntrySetupLocked, "設定已鎖定"},
    {kEntryUnlockSetup, "解鎖設定"},
    {kEntrySetupUnlocked, "設定已解鎖 "},
    {kEntryLockSetup, "鎖定設定"},
    {kEntryWorkingOnPort, "工作連接埠"},
    {kEntryPassword, "密碼 (僅限 Orba/Torvane 'A' 級)"},
    {kEntryReceiverOption, "接收器選項 "},
    {kEntryPortSettings, "連接埠設定"},
    {kEntrySaveInfo, "儲存"},
    {kEntryMiscBox, "其他 "},
    {kEntryCompressCid, "壓縮 Contact ID"},
    {kEntryShowHeartbeat, "顯示心跳訊號"},
    {kEntryAccountPrefix, "帳號前置碼 "},
    {kEntryPrefix, "前置碼"},
    {kEntryReceiverNumber, "接收器編號"},
    {kEntryLineNumber, "線路編號"},
    {kEntryTraffic, "通訊 "},
    {kEntryPanelMessage, "面板訊息"},
    {kEntryMisc, "其他"},
    {kEntryMinimize, "最小化"},
    {kEntryPrinterNone, "印表機(無)"},
    {kEntryNone, "(無)"},
    {kEntryVocalModeFor, "語音模式 "},
    {kEntryReset, "復歸"},
    {kEntryCodeUnknown, "此警報代碼不明"},
    {kEntryInactiveAccountCode, "帳戶/代碼未啟用"},
    {kEntryTest, "測試"},
    {kEntryBy, "使用者"},
    {kEntryHotUser, "(重點使用者)"},
    {kEntryUnauthorized, "(未授權)"},
    {kEntryUnscheduled, "(排程外)"},
    {kEntryUnreadableMessage, "無法識別的接收機訊息"},
    {kEntryComputerNameIs, "電腦名稱: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " 已在另一台電腦上登入。"},
    {kSlotClientLock, " 已在另一台電腦上鎖定此帳戶。"},
    {kSlotNoteLock, " 已在另一台電腦上鎖定此備註。"},
    {kSlotGeneralLock, " 在另一台電腦上異常結束 Torvane。"},
    {kSlotMailAddressMissing, "缺少電子郵件地址。"},
    {kSlotMailCannotConnect, "無法連線到電子郵件伺服器。"},
    {kSlotMailTimeOut, "無法傳送電子郵件: 逾時。"},
    {kSlotMailSentTo, "電子郵件已傳送至: "},
};

}  // namespace

extern const LanguageTexts kChineseTraditionalTexts = {"Chinese, traditional characters", CodePage::k950, kEntries, kSlots};

}  // namespace duri
