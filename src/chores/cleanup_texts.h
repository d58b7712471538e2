#pragma once
// The Japanese texts of the file-deletion menu and its confirmation.

namespace tavimo::cleanup_texts {

inline constexpr wchar_t kMenu[] = L"ファイル削除(&D)";
// Items in the order of their indices (CleanupItem).
inline constexpr const wchar_t* kMenuItems[] = {
    L"ごみ箱を空にする(&E)",           L"一時ファイルの削除(&T)", L"最近使ったファイル一覧のクリア(&R)",
    L"IEキャッシュファイルの削除(&I)", L"Cookieの削除(&C)",       L"IEのURL履歴を削除(&R)",
};

// Follows the application title in the caption while a deletion runs; starts with U+3000.
inline constexpr wchar_t kBusyCaptionSuffix[] = L"　削除処理中";

inline constexpr wchar_t kRecycleQuestion[] = L"ごみ箱を空にしますか？";
inline constexpr wchar_t kRecycleCountPrefix[] = L"ファイル総数 ";
inline constexpr wchar_t kRecycleCountUnit[] = L"個 (";
inline constexpr wchar_t kRecycleCaption[] = L"ファイル削除の確認";

} // namespace tavimo::cleanup_texts
