#include "platform/registry.h"

#include "platform/unique_handle.h"
#include "platform/text.h"

#include <array>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <iterator>

namespace tavimo {

namespace {

struct EncodedValue {
    DWORD type = REG_SZ;
    std::vector<BYTE> bytes;
};

EncodedValue EncodeText(const std::wstring& text) {
    // Stored with its terminating NUL, as REG_SZ expects.
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t))};
}

EncodedValue EncodeDword(std::int32_t number) {
    EncodedValue encoded{REG_DWORD, std::vector<BYTE>(sizeof(number))};
    std::memcpy(encoded.bytes.data(), &number, sizeof(number));
    return encoded;
}

// "%.15g" as C99 writes it. The system C runtime's formatter is used rather than the bundled one, which
// would add ~100 KB to the program for this one value type; it writes three exponent digits and its own
// names for infinities, which are put the C99 way here.
std::wstring DoubleText(double number) {
    if (std::isnan(number)) {
        return std::signbit(number) ? L"-nan" : L"nan";
    }
    if (std::isinf(number)) {
        return number < 0 ? L"-inf" : L"inf";
    }
    wchar_t text[32] = {};
    ::_snwprintf(text, std::size(text) - 1, L"%.15g", number);
    std::wstring result(text);
    // "e+020" -> "e+20": at least two exponent digits, no more than needed.
    const std::size_t exponent = result.find(L'e');
    if (exponent != std::wstring::npos && result.size() - exponent == 5 && result[exponent + 2] == L'0') {
        result.erase(exponent + 2, 1);
    }
    return result;
}

struct Encoder {
    EncodedValue operator()(const std::wstring& text) const { return EncodeText(text); }
    EncodedValue operator()(std::int16_t number) const { return EncodeDword(number); }
    EncodedValue operator()(std::int32_t number) const { return EncodeDword(number); }
    EncodedValue operator()(bool flag) const { return EncodeDword(flag ? -1 : 0); }
    EncodedValue operator()(const std::vector<std::uint8_t>& bytes) const {
        return {REG_BINARY, std::vector<BYTE>(bytes.begin(), bytes.end())};
    }
    EncodedValue operator()(double number) const { return EncodeText(DoubleText(number)); }
};

} // namespace

bool WriteRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                   const RegValue& value) {
    // Wide entry points throughout: the registry holds UTF-16, and a detour through the ANSI code page
    // would turn characters it lacks into '?' in paths and names while still reporting success.
    unique_hkey key;
    if (::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const EncodedValue encoded = std::visit(Encoder{}, value);
    const bool written = ::RegSetValueExW(key.get(), valueName.c_str(), 0, encoded.type, encoded.bytes.data(),
                                          static_cast<DWORD>(encoded.bytes.size())) == ERROR_SUCCESS;
    const bool closed = ::RegCloseKey(key.release()) == ERROR_SUCCESS;
    return written && closed;
}

RegReadResult ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                           const RegData& defaultValue) {
    unique_hkey key;
    if (::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) {
        return RegReadError::KeyOpen;
    }
    // One byte more than offered, so the data always ends in zeros.
    std::array<BYTE, kRegReadBytes + 1> buffer{};
    DWORD type = REG_NONE;
    DWORD size = kRegReadBytes;
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, buffer.data(), &size) !=
        ERROR_SUCCESS) {
        return std::visit([](const auto& data) { return RegReadResult(data); }, defaultValue);
    }
    switch (type) {
    case REG_SZ: {
        std::wstring text(size / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), buffer.data(), text.size() * sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        return text;
    }
    case REG_DWORD:
        return static_cast<std::uint32_t>(buffer[0] | buffer[1] << 8 | buffer[2] << 16 |
                                          static_cast<std::uint32_t>(buffer[3]) << 24);
    default:
        return RegReadError::UndefinedType;
    }
}

LSTATUS DeleteRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName) {
    unique_hkey key;
    if (const LSTATUS opened = ::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_SET_VALUE, key.put());
        opened != ERROR_SUCCESS) {
        return opened;
    }
    return ::RegDeleteValueW(key.get(), valueName.c_str());
}

std::optional<DWORD> RegValueSize(HKEY root, const std::wstring& keyPath, const std::wstring& valueName) {
    DWORD size = 0;
    if (::RegGetValueW(root, keyPath.c_str(), valueName.c_str(), RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr,
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return size;
}

std::wstring_view RegReadErrorText(RegReadError error) {
    switch (error) {
    case RegReadError::KeyOpen:
        return L"キーオープンエラー";
    case RegReadError::UndefinedType:
        return L"未定義データタイプ";
    }
    return {};
}

std::wstring RegResultText(const RegReadResult& result) {
    struct Text {
        std::wstring operator()(const std::wstring& text) const { return text; }
        std::wstring operator()(std::uint32_t number) const { return DecimalText(number); }
        std::wstring operator()(RegReadError error) const { return std::wstring(RegReadErrorText(error)); }
    };
    return std::visit(Text{}, result);
}

} // namespace tavimo
