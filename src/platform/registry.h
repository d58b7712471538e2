#pragma once
// Typed registry values: each call opens its key, does one thing and closes it again.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavimo {

// What WriteRegValue accepts. Text becomes REG_SZ; the integers and Boolean become REG_DWORD (true is
// -1, stored as 0xFFFFFFFF); bytes become REG_BINARY; a floating-point number is written as its text.
using RegValue =
    std::variant<std::wstring, std::int16_t, std::int32_t, bool, std::vector<std::uint8_t>, double>;

// What a read can find: REG_SZ text or a REG_DWORD as an unsigned number.
using RegData = std::variant<std::wstring, std::uint32_t>;

enum class RegReadError {
    KeyOpen,       // the key could not be opened with full access
    UndefinedType, // the value exists but is neither REG_SZ nor REG_DWORD
};

// The most data ReadRegValue takes; a longer value reads as the default.
inline constexpr DWORD kRegReadBytes = 256;

// The data read, the caller's default (value missing or longer than kRegReadBytes), or why neither.
using RegReadResult = std::variant<std::wstring, std::uint32_t, RegReadError>;

// True when the value was written and the key closed without error. The key is created when missing.
bool WriteRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                   const RegValue& value);

RegReadResult ReadRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                           const RegData& defaultValue);

// The platform's error code: 0 when deleted, 2 when the value (or the key) does not exist.
LSTATUS DeleteRegValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName);

// The size of a value's data in bytes, whatever its type; nothing when the value is missing or its key
// can't be opened for reading. Tells a missing value from one too long for ReadRegValue.
std::optional<DWORD> RegValueSize(HKEY root, const std::wstring& keyPath, const std::wstring& valueName);

// "キーオープンエラー" and "未定義データタイプ".
std::wstring_view RegReadErrorText(RegReadError error);

// A read result as plain text, the way callers that compare with a path or "" see it: numbers in
// decimal digits, errors as their texts.
std::wstring RegResultText(const RegReadResult& result);

} // namespace tavimo
