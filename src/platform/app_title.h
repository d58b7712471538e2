#pragma once
// The program's title: the main window's caption, and the caption of its confirmations unless a chore
// names another.

namespace tavimo {

inline constexpr wchar_t kAppTitle[] = L"Tavimo";

} // namespace tavimo
