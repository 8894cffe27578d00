// Language table: Chinese, simplified characters. Texts in UTF-8, stored in code page 936 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "延迟撤防"},
    {kEntryLateClosing, "延迟布防"},
    {kEntryClosedForTheDay, "全天关闭"},
    {kEntryAutoTestNotReceived, "未收到自动测试"},
    {kEntryGuardRoundNotReceived, "未收到巡更信号"},
    {kEntryActiveAccount, "活动账户"},
    {kEntryActiveCodes, "活动代码 "},
    {kEntryOperatorNumber, "操作员编号"},
    {kEntryTorvaneReport, "Torvane 报告"},
    {kEntryDayNames + 0 * kDayNameStride, "星期日"},
    {kEntryDayNames + 1 * kDayNameStride, "星期一"},
    {kEntryDayNames + 2 * kDayNameStride, "星期二"},
    {kEntryDayNames + 3 * kDayNameStride, "星期三"},
    {kEntryDayNames + 4 * kDayNameStride, "星期四"},
    {kEntryDayNames + 5 * kDayNameStride, "星期五"},
    {kEntryDayNames + 6 * kDayNameStride, "星期六"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "周日"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "周一"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "周二"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "周三"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "周四"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "周五"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "周六"},
    {kEntryMonthName, "一月"},
    {kEntryLongMonthName, "一月"},
    {kEntryInvalid, " 无效"},
    {kEntrySetupLocked, "设置已锁定"},
    {kEntryUnlockSetup, "解锁设置"},
    {kEntrySetupUnlocked, "设置已解锁 "},
    {kEntryLockSetup, "锁定设置"},
    {kEntryWorkingOnPort, "工作端口"},
    {kEntryPassword, "密码 (仅限 Orba/Torvane 'A' 级)"},
    {kEntryReceiverOption, "接收机选项 "},
    {kEntryPortSettings, "端口设置"},
    {kEntrySaveInfo, "保存"},
    {kEntryMiscBox, "其他 "},
    {kEntryCompressCid, "压缩 Contact ID"},
    {kEntryShowHeartbeat, "显示心跳信号"},
    {kEntryAccountPrefix, "账号前缀 "},
    {kEntryPrefix, "前缀"},
    {kEntryReceiverNumber, "接收机编号"},
    {kEntryLineNumber, "线路编号"},
    {kEntryTraffic, "通信 "},
    {kEntryPanelMessage, "面板消息"},
    {kEntryMisc, "其他"},
    {kEntryMinimize, "最小化"},
    {kEntryPrinterNone, "打印机(无)"},
    {kEntryNone, "(无)"},
    {kEntryVocalModeFor, "语音模式 "},
    {kEntryReset, "复位"},
    {kEntryCodeUnknown, "此报警代码未知"},
    {kEntryInactiveAccountCode, "账户/代码未激活"},
    {kEntryTest, "测试"},
    {kEntryBy, "用户"},
    {kEntryHotUser, "(重点用户)"},
    {kEntryUnauthorized, "(未授权)"},
    {kEntryUnscheduled, "(计划外)"},
    {kEntryUnreadableMessage, "无法识别的接收机消息"},
    {kEntryComputerNameIs, "计算机名称: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " 已在另一台计算机上登录。"},
    {kSlotClientLock, " 已在另一台计算机上锁定此账户。"},
    {kSlotNoteLock, " 已在另一台计算机上锁定此备注。"},
    {kSlotGeneralLock, " 在另一台计算机上异常退出了 Torvane。"},
    {kSlotMailAddressMissing, "缺少电子邮件地址。"},
    {kSlotMailCannotConnect, "无法连接到电子邮件服务器。"},
    {kSlotMailTimeOut, "无法发送电子邮件: 超时。"},
    {kSlotMailSentTo, "电子邮件已发送至: "},
};

}  // namespace

extern const LanguageTexts kChineseSimplifiedTexts = {"Chinese, simplified characters", CodePage::k936, kEntries, kSlots};

}  // namespace duri
