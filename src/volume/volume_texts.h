#pragma once
// The volume buttons' caption prefixes, the hidden volume menu's items and the mixer's error texts.

namespace tavimo::volume_texts {

// Items of the volume menu (mnuVol), by index: 0 .. 10 set index * 10 percent, 11 toggles the mute.
inline constexpr int kVolItemCount = 12;
inline constexpr int kMuteItem = 11;
inline constexpr const wchar_t* kVolItemCaptions[kVolItemCount] = {
    L"0 %",  L"10 %", L"20 %", L"30 %", L"40 %",  L"50 %",
    L"60 %", L"70 %", L"80 %", L"90 %", L"100 %", L"ミュート(&M)",
};

// Caption prefixes; the level follows in decimal. The MIDI access key is on M after a refresh.
inline constexpr wchar_t kMasterPrefix[] = L"&Master ";
inline constexpr wchar_t kMutedPrefix[] = L"消音 ";
inline constexpr wchar_t kWavePrefix[] = L"WA&VE ";
inline constexpr wchar_t kMidiPrefix[] = L"&MIDI ";
inline constexpr wchar_t kCdPrefix[] = L"&CD ";

// Mixer error box texts by error code 0 .. 11; null where the box shows only "[code] ".
// Code 7 ends in the half-width full stop, as it always has.
inline constexpr int kMixerErrorTextCount = 12;
inline constexpr const wchar_t* kMixerErrorTexts[kMixerErrorTextCount] = {
    nullptr,
    nullptr,
    L"指定されたデバイスIDは無効です。",
    nullptr,
    L"指定リソースはすでに割り当て済みです。",
    L"指定されたハンドルは無効です。",
    L"利用可能なミキサーデバイスがありません。",
    L"リソースを割り当てることはできません｡",
    nullptr,
    nullptr,
    L"1つ以上の無効なフラグがあります。",
    L"1つ以上の無効なパラメータがあります。",
};

} // namespace tavimo::volume_texts
