#pragma once
// The main window's own texts, as the user sees them.

namespace tavimo::texts {

inline constexpr const wchar_t* kListHeaders[2] = {L"USB取り外し(U)", L"CDトレイ取り出し(C)"};

inline constexpr const wchar_t* kCmdMenuCaptions[6] = {
    L"情報の更新(&R)", L"全て取り外す(&A)", L"&Master 100", L"WA&VE 100", L"M&IDI 100", L"&CD 100",
};

inline constexpr const wchar_t* kCmdMenuTooltips[6] = {
    L"USB、CDの情報を更新",
    L"全てのUSB接続を取り外す",
    L"マスタ音量。マウスホイールでも設定可",
    L"WAVE音量。マウスホイールでも設定可",
    L"MIDI音量。マウスホイールでも設定可",
    L"CDプレーヤ音量。マウスホイールでも設定可",
};

// The Extra menu's close-all confirmations.
inline constexpr wchar_t kCloseAllQuestion[] = L"全ウィンドウを閉じますか？";
inline constexpr wchar_t kCloseAllForcedQuestion[] = L"全ウィンドウを強制終了しますか？";

} // namespace tavimo::texts
