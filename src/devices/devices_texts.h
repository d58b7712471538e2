#pragma once
// The Japanese texts of device removal, the CD trays and the drive menu.

namespace tavimo::devices_texts {

inline constexpr wchar_t kRemoveSelectedQuestion[] = L"選択したデバイスを取り外しますか？";
inline constexpr wchar_t kRemoveAllQuestion[] = L"全てのデバイスを取り外しますか？";
inline constexpr wchar_t kEjectTrayQuestion[] = L"選択したディスクトレイを取り出しますか？";

// The shell's own verbs that the drive menu leaves out, a separator standing in their place.
inline constexpr wchar_t kShellEjectVerb[] = L"取り出し(&J)";
inline constexpr wchar_t kShellRenameVerb[] = L"名前の変更(&M)";

} // namespace tavimo::devices_texts
