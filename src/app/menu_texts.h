#pragma once
// Captions of the menu bar and its items.

namespace tavimo::menu_texts {

inline constexpr wchar_t kFile[] = L"ファイル(&F)";
inline constexpr wchar_t kDelete[] = L"ファイル削除(&D)";
inline constexpr wchar_t kExtra[] = L"Extra(&E)";
inline constexpr wchar_t kWin[] = L"Windows終了(&W)";
inline constexpr wchar_t kOpt[] = L"オプション(&O)";
inline constexpr wchar_t kHelp[] = L"ヘルプ(&H)";

inline constexpr wchar_t kFileRemoveAll[] = L"全て取り外す(&A)";
inline constexpr wchar_t kFileRefresh[] = L"最新の情報に更新(&R)\tF5";
inline constexpr wchar_t kFileExit[] = L"終了(&X)";

inline constexpr wchar_t kOptCenterText[] = L"画面中央に表示(&N)";
inline constexpr wchar_t kOptTopText[] = L"常に手前に表示(&T)";
inline constexpr wchar_t kOptNoConfirmText[] = L"取り外し確認をしない(&E)";
inline constexpr wchar_t kOptExitAfterRemovalText[] = L"取り外し後は終了(&X)";
inline constexpr wchar_t kOptExitWhenInactiveText[] = L"非アクティブで終了(&A)";

inline constexpr wchar_t kHelpReadMe[] = L"ReadMeを開く(&R)...";
inline constexpr wchar_t kHelpHomePage[] = L"作者のHPへ(&H)";
inline constexpr wchar_t kHelpVersion[] = L"バージョン情報(&V)...";

inline constexpr wchar_t kDeleteRecycle[] = L"ごみ箱を空にする(&E)";
inline constexpr wchar_t kDeleteTemp[] = L"一時ファイルの削除(&T)";
inline constexpr wchar_t kDeleteRecent[] = L"最近使ったファイル一覧のクリア(&R)";
inline constexpr wchar_t kDeleteCache[] = L"IEキャッシュファイルの削除(&I)";
inline constexpr wchar_t kDeleteCookie[] = L"Cookieの削除(&C)";
inline constexpr wchar_t kDeleteHistory[] = L"IEのURL履歴を削除(&R)";

inline constexpr wchar_t kExtraTime[] = L"時間合わせ(&M)";
inline constexpr wchar_t kExtraDesktop[] = L"デスクトップの表示形式変更(&D)";
inline constexpr wchar_t kExtraSaverStart[] = L"スクリーンセーバー起動(&S)";
inline constexpr wchar_t kExtraSaverOff[] = L"スクリーンセーバー無効(&E)";
// Item 7 once the Extra menu has opened, after the registry's state (no access key).
inline constexpr wchar_t kExtraSaverSwitchOff[] = L"スクリーンセーバー無効";
inline constexpr wchar_t kExtraSaverSwitchOn[] = L"スクリーンセーバー有効";
inline constexpr wchar_t kExtraCloseAll[] = L"全終了(&A)...";
inline constexpr wchar_t kExtraCloseAllForced[] = L"全強制終了(&F)...";

inline constexpr wchar_t kWinStandby[] = L"スタンバイ(&S)...";
inline constexpr wchar_t kWinHibernate[] = L"休止(&H)...";
inline constexpr wchar_t kWinLogoff[] = L"ログオフ(&O)...";
inline constexpr wchar_t kWinRestart[] = L"再起動(&R)...";
inline constexpr wchar_t kWinShutdown[] = L"終了(&W)...";

} // namespace tavimo::menu_texts
