#include "devices/library_answers.h"

#include <algorithm>
#include <cstdint>

namespace tavimo {

std::string_view LibraryText(const char* buffer, std::size_t size) {
    if (!buffer || size == 0) {
        return {};
    }
    const std::string_view bytes(buffer, size - 1);
    return bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
}

int DeviceNumbersToAsk(int reportedCount) {
    return std::clamp(reportedCount, 0, static_cast<int>(INT16_MAX) + 1);
}

bool IsRemovableAnswer(int answer) {
    return (static_cast<unsigned>(answer) & 0xFFFFu) != 0;
}

std::wstring_view TrimNull(std::wstring_view text) {
    const size_t nul = text.find(L'\0');
    return nul == std::wstring_view::npos ? text : text.substr(0, nul);
}

std::wstring DeviceRowText(std::wstring_view friendlyName, std::wstring_view description,
                           std::wstring_view letter) {
    std::wstring text(friendlyName.empty() ? description : friendlyName);
    text += L" (";
    text += letter;
    text += L":)";
    return text;
}

} // namespace tavimo
