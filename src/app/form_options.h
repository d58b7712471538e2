#pragma once
// The Option menu's check marks are the options while the program runs; setting.ini keeps them in
// between. One table says which item is stored under which key, and what it is when the file has none.

#include <windows.h>

#include "app/menu_bar.h"
#include "app/settings.h"

#include <string>

namespace tavimo {

struct OptionSetting {
    int index;          // the Option menu item (mnuOptItem)
    const wchar_t* key; // its key in setting.ini
    bool checkedByDefault;
};

// In the order the keys are written.
inline constexpr OptionSetting kOptionSettings[] = {
    {kOptNoConfirm, ini_keys::kEject, false},
    {kOptExitAfterRemoval, ini_keys::kAutoC, true},
    {kOptCenter, ini_keys::kCenter, false},
    {kOptTop, ini_keys::kTop, false},
    {kOptExitWhenInactive, ini_keys::kActivate, false},
};

// Sets every option's check mark from the file (its default where the file has no key).
void LoadOptions(HMENU bar, const std::wstring& iniPath);
// Writes every option's check mark to the file, "-1" or "0".
void SaveOptions(HMENU bar, const std::wstring& iniPath);

} // namespace tavimo
