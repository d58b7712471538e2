#include "app/form_options.h"

namespace tavimo {

void LoadOptions(HMENU bar, const std::wstring& iniPath) {
    for (const OptionSetting& option : kOptionSettings) {
        SetOptionChecked(bar, option.index, ReadIniOption(option.key, option.checkedByDefault, iniPath));
    }
}

void SaveOptions(HMENU bar, const std::wstring& iniPath) {
    for (const OptionSetting& option : kOptionSettings) {
        WriteIniOption(option.key, IsOptionChecked(bar, option.index), iniPath);
    }
}

} // namespace tavimo
