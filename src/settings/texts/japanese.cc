// Language table: Japanese. Texts in UTF-8, stored in code page 932 when the table is filled.
#include "settings/language_entries.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableText kEntries[] = {
    {kEntryLateOpening, "警戒解除遅れ"},
    {kEntryLateClosing, "警戒セット遅れ"},
    {kEntryClosedForTheDay, "終日休業"},
    {kEntryAutoTestNotReceived, "自動テスト未受信"},
    {kEntryGuardRoundNotReceived, "巡回信号未受信"},
    {kEntryActiveAccount, "有効アカウント"},
    {kEntryActiveCodes, "有効コード "},
    {kEntryOperatorNumber, "オペレータ番号"},
    {kEntryTorvaneReport, "Torvane レポート"},
    {kEntryDayNames + 0 * kDayNameStride, "日曜日"},
    {kEntryDayNames + 1 * kDayNameStride, "月曜日"},
    {kEntryDayNames + 2 * kDayNameStride, "火曜日"},
    {kEntryDayNames + 3 * kDayNameStride, "水曜日"},
    {kEntryDayNames + 4 * kDayNameStride, "木曜日"},
    {kEntryDayNames + 5 * kDayNameStride, "金曜日"},
    {kEntryDayNames + 6 * kDayNameStride, "土曜日"},
    {kEntryShortDayNames + 0 * kShortDayNameStride, "日"},
    {kEntryShortDayNames + 1 * kShortDayNameStride, "月"},
    {kEntryShortDayNames + 2 * kShortDayNameStride, "火"},
    {kEntryShortDayNames + 3 * kShortDayNameStride, "水"},
    {kEntryShortDayNames + 4 * kShortDayNameStride, "木"},
    {kEntryShortDayNames + 5 * kShortDayNameStride, "金"},
    {kEntryShortDayNames + 6 * kShortDayNameStride, "土"},
    {kEntryMonthName, "1月"},
    {kEntryLongMonthName, "1月"},
    {kEntryInvalid, " 無効"},
    {kEntrySetupLocked, "設定ロック中"},
    {kEntryUnlockSetup, "設定のロック解除"},
    {kEntrySetupUnlocked, "設定ロック解除中 "},
    {kEntryLockSetup, "設定をロック"},
    {kEntryWorkingOnPort, "作業ポート"},
    {kEntryPassword, "パスワード (Orba/Torvane レベル 'A' のみ)"},
    {kEntryReceiverOption, "受信機オプション "},
    {kEntryPortSettings, "ポート設定"},
    {kEntrySaveInfo, "保存"},
    {kEntryMiscBox, "その他 "},
    {kEntryCompressCid, "Contact ID を圧縮"},
    {kEntryShowHeartbeat, "ハートビートを表示"},
    {kEntryAccountPrefix, "アカウント番号の接頭辞 "},
    {kEntryPrefix, "接頭辞"},
    {kEntryReceiverNumber, "受信機番号"},
    {kEntryLineNumber, "回線番号"},
    {kEntryTraffic, "通信 "},
    {kEntryPanelMessage, "パネルメッセージ"},
    {kEntryMisc, "その他"},
    {kEntryMinimize, "最小化"},
    {kEntryPrinterNone, "プリンタ(なし)"},
    {kEntryNone, "(なし)"},
    {kEntryVocalModeFor, "音声モード "},
    {kEntryReset, "復旧"},
    {kEntryCodeUnknown, "この警報コードは不明です"},
    {kEntryInactiveAccountCode, "無効なアカウント/コード"},
    {kEntryTest, "テスト"},
    {kEntryBy, "ユーザー"},
    {kEntryHotUser, "(要注意ユーザー)"},
    {kEntryUnauthorized, "(権限なし)"},
    {kEntryUnscheduled, "(予定外)"},
    {kEntryUnreadableMessage, "受信機の読み取れないメッセージ"},
    {kEntryComputerNameIs, "コンピュータ名: "},
};

constexpr TableText kSlots[] = {
    {kSlotUserLock, " は別のコンピュータでログインしています。"},
    {kSlotClientLock, " は別のコンピュータでこのアカウントをロックしています。"},
    {kSlotNoteLock, " は別のコンピュータでこのメモをロックしています。"},
    {kSlotGeneralLock, " は別のコンピュータで Torvane を異常終了しました。"},
    {kSlotMailAddressMissing, "電子メールアドレスがありません。"},
    {kSlotMailCannotConnect, "電子メールサーバーに接続できません。"},
    {kSlotMailTimeOut, "電子メールを送信できません: タイムアウト。"},
    {kSlotMailSentTo, "電子メールを送信しました: "},
};

}  // namespace

extern const LanguageTexts kJapaneseTexts = {"Japanese", CodePage::k932, kEntries, kSlots};

}  // namespace duri
