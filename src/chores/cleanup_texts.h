#pragma once
// The Japanese texts of the file-deletion chores and their confirmation.

namespace tavimo::cleanup_texts {

// Follows the application title in the caption while a deletion runs; starts with U+3000.
inline constexpr wchar_t kBusyCaptionSuffix[] = L"　削除処理中";

inline constexpr wchar_t kRecycleQuestion[] = L"ごみ箱を空にしますか？";
inline constexpr wchar_t kRecycleCountPrefix[] = L"ファイル総数 ";
inline constexpr wchar_t kRecycleCountUnit[] = L"個 (";
inline constexpr wchar_t kRecycleCaption[] = L"ファイル削除の確認";

} // namespace tavimo::cleanup_texts
