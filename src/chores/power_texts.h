#pragma once
// The Japanese texts of the Windows-exit confirmation.

namespace tavimo::power_texts {

inline constexpr wchar_t kCaption[] = L"Windows の終了";
inline constexpr wchar_t kQuestionEnding[] = L"しますか？";

} // namespace tavimo::power_texts
