// Tens of thousands of generated and mutated inputs through the wide-string parsers, from a fixed
// seed so that a failure repeats: the command line as Main takes it apart, and setting.ini as the
// profile functions read it. The build checks every index (_GLIBCXX_ASSERTIONS), so a read out of
// range stops this test.

#include "app/app_main.h"
#include "app/command_line.h"
#include "app/form_layout.h"
#include "app/settings.h"
#include "chores/screen_saver.h"
#include "devices/cd_device.h"
#include "platform/ini_file.h"

#include "sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tavimo {
namespace {

// mt19937's sequence is fixed by the standard and its distributions are not: values are taken by
// modulo, so every build generates the same inputs.
class Generator {
  public:
    explicit Generator(std::uint32_t seed) : engine_(seed) {}
    std::size_t Below(std::size_t n) { return n ? engine_() % n : 0; }
    bool OneIn(std::size_t n) { return Below(n) == 0; }
    std::int32_t AnyInt() { return static_cast<std::int32_t>(engine_()); }
    template <typename T, std::size_t N> const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

    // One to four edits of a text: insert, delete, replace, repeat a slice, or swap neighbours.
    template <typename Text, typename NewUnit> Text Mutate(Text text, NewUnit newUnit) {
        for (std::size_t edits = 1 + Below(4); edits > 0; --edits) {
            const std::size_t at = Below(text.size() + 1);
            switch (Below(5)) {
            case 0:
                text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), newUnit());
                break;
            case 1:
                if (at < text.size()) {
                    text.erase(at, 1);
                }
                break;
            case 2:
                if (at < text.size()) {
                    text[at] = newUnit();
                }
                break;
            case 3:
                text.insert(at, text.substr(Below(text.size() + 1), Below(16)));
                break;
            default:
                if (at + 1 < text.size()) {
                    std::swap(text[at], text[at + 1]);
                }
                break;
            }
        }
        return text;
    }

  private:
    std::mt19937 engine_;
};

// Printable ASCII as it is, anything else as its code, so that a failing input can be rebuilt.
template <typename Unit> std::string Shown(std::basic_string_view<Unit> text) {
    std::string shown;
    for (const Unit unit : text) {
        const auto code = static_cast<unsigned>(static_cast<std::make_unsigned_t<Unit>>(unit));
        if (code >= 0x20 && code < 0x7F) {
            shown += static_cast<char>(code);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, sizeof(Unit) == 1 ? "\\x%02X" : "\\u%04X", code);
            shown += escaped;
        }
    }
    return shown;
}

// ---- The command line

std::wstring CommandLine(Generator& g) {
    static const wchar_t* const kPrograms[] = {L"Tavimo.exe",
                                               L"\"C:\\Program Files\\Tavimo\\Tavimo.exe\"",
                                               L"C:\\t\\Tavimo.exe",
                                               L"\"C:\\unclosed",
                                               L"\"\"",
                                               L""};
    static const wchar_t* const kBlanks[] = {L"", L" ", L"   ", L"\t", L" \t "};
    static const wchar_t* const kSeparators[] = {L" /", L" /", L"  /", L" ", L"/"};
    static const wchar_t* const kArguments[] = {
        L"\"C:\\shots\"",          L"E:",  L"Default", L"default", L"", L"\"C:\\a /b\"", L"x",
        L"\"C:\\ユーザー\\画像\"", L"／ｅ"};
    static const wchar_t* const kOtherKeys[] = {L"/eject", L"/hot", L"/cache",
                                                L"/",      L"",     L"／ｖｅｒｓｉｏｎ"};

    std::wstring line = std::wstring(g.Pick(kPrograms)) + g.Pick(kBlanks);
    std::wstring key(g.OneIn(4) ? g.Pick(kOtherKeys) : kSwitchTable[g.Below(std::size(kSwitchTable))].key);
    for (wchar_t& c : key) {
        if (c >= L'a' && c <= L'z' && g.OneIn(3)) {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    line += key;
    for (std::size_t n = g.Below(4); n > 0; --n) {
        line += std::wstring(g.Pick(kSeparators)) + g.Pick(kArguments);
    }
    if (g.OneIn(5)) {
        line += L' ';
    }
    return line;
}

wchar_t CommandLineUnit(Generator& g) {
    // Separators, quotes and blanks, letters whose lower case is not plain ASCII, full-width forms,
    // lone surrogates, NUL, and any 16-bit value.
    static const wchar_t kUnits[] = {L' ',   L'/',   L'"',   L'\t',  L'\\',  L':',   L'\0',  L'A', L'z',
                                     0x0130, 0x212A, 0xFF28, 0xD800, 0xDC00, 0xFFFF, 0x3000, L'ﾊ'};
    return g.OneIn(4) ? static_cast<wchar_t>(g.Below(0x10000)) : g.Pick(kUnits);
}

// What must hold for any line; empty when it does.
std::string CommandLineProblem(const std::wstring& line) {
    const std::wstring tail = CommandTail(line);
    if (!std::wstring_view(line).ends_with(tail) ||
        (!tail.empty() && (tail.front() == L' ' || tail.front() == L'\t'))) {
        return "the tail is not the line without the program and its blanks";
    }
    const std::vector<std::wstring> parts = SplitArguments(tail);
    std::wstring joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        joined += (i ? L" /" : L"") + parts[i];
    }
    if (parts.empty() || joined != tail) {
        return "the elements do not give back the tail";
    }

    const std::wstring key = SwitchKey(parts);
    const auto found = FindSwitch(key);
    const auto entry = std::find_if(std::begin(kSwitchTable), std::end(kSwitchTable),
                                    [&](const SwitchEntry& e) { return e.key == key; });
    if (found.has_value() != (entry != std::end(kSwitchTable)) || (found && *found != entry->id)) {
        return "a switch was found for a key not in the table, or missed for one in it";
    }
    if (found && parts.front().size() != entry->key.size()) {
        return "a switch was found for an element longer or shorter than its key";
    }

    const std::wstring exe = L"C:\\Tavimo";
    const std::wstring folder = CaptureFolder(parts, exe, [](const std::wstring& path) {
        return path == L"C:\\shots" || path == L"C:\\ユーザー\\画像";
    });
    const bool folderOk =
        parts.size() < 2
            ? folder.empty()
            : folder == exe || (parts[1].size() > 2 && folder == parts[1].substr(1, parts[1].size() - 2));
    if (!folderOk) {
        return "the capture folder is neither element 1's folder nor the executable's";
    }
    const std::wstring drive = CdOpenDrive(parts);
    if (drive != kDefaultCdDevice && (parts.size() < 2 || drive != parts[1])) {
        return "the drive is neither element 1 nor the default device";
    }
    return {};
}

TEST(InputMutation_CommandLine, EveryLineDecodesToOneConsistentDecision) {
    Generator g(0x7A51u);
    for (int i = 0; i < 40000; ++i) {
        std::wstring line = CommandLine(g);
        if (g.OneIn(2)) {
            line = g.Mutate(line, [&] { return CommandLineUnit(g); });
        }
        const std::string problem = CommandLineProblem(line);
        ASSERT_EQ(problem, "") << "input " << i << ": " << Shown(std::wstring_view(line));
    }
}

// ---- setting.ini

// The values the placement keys may hold: numbers in and out of range, and what is not quite a
// number, in Shift-JIS bytes.
std::string SettingsValue(Generator& g) {
    static const char* const kValues[] = {"",        "-",           "+5",          "0x1F",
                                          "1e9",     "99999999999", "-2147483649", "4294967295",
                                          " 12000 ", "12000abc",    "\"12000\"",   "\x82\x4f\x82\x50",
                                          "\x82",    "-1",          "2",           "1",
                                          "0"};
    switch (g.Below(4)) {
    case 0:
        return std::to_string(g.AnyInt());
    case 1:
        return std::to_string(static_cast<int>(g.Below(40000)) - 5000);
    case 2:
        return std::string(g.Below(2000), "a9\x82"[g.Below(3)]);
    default:
        return g.Pick(kValues);
    }
}

std::string SettingsFile(Generator& g) {
    static const char* const kSections[] = {"[Tavimo]", "[Tavimo]", "[tavimo]", "[ Tavimo ]",
                                            "[Tavimo",  "[Other]",  ""};
    static const char* const kKeys[] = {"WinState", "X", "Y", "W", "H", "Eject", "ScPath", "w", " W ", "W W"};
    static const char* const kAssign[] = {"=", "=", " = ", "=="};
    static const char* const kNewlines[] = {"\r\n", "\r\n", "\n", "\r"};
    std::string file;
    for (std::size_t sections = 1 + g.Below(2); sections > 0; --sections) {
        file += std::string(g.Pick(kSections)) + g.Pick(kNewlines);
        for (std::size_t keys = g.Below(8); keys > 0; --keys) {
            file += std::string(g.Pick(kKeys)) + g.Pick(kAssign) + SettingsValue(g) + g.Pick(kNewlines);
        }
    }
    return file;
}

char SettingsByte(Generator& g) {
    static const char kBytes[] = {'\0', '\r', '\n', '=',    '[',    ']',   ';',
                                  ' ',  '-',  '9',  '\x81', '\x82', '\xFF'};
    return g.OneIn(3) ? static_cast<char>(g.Below(256)) : g.Pick(kBytes);
}

class InputMutation_Settings : public ::testing::Test {
  protected:
    // Each file under a name of its own: the profile functions keep recent files by name and write
    // time, and two writes within one tick of the file system's clock would look like the same file.
    void Write(const std::string& bytes) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(path_), ignored);
        path_ = sandbox_.Path(L"setting-" + std::to_wstring(++written_) + L".ini");
        std::ofstream(std::filesystem::path(path_), std::ios::binary | std::ios::trunc) << bytes;
    }

    // Where the window's placement ends, for any file; empty when it is sound.
    std::string PlacementProblem(Generator& g) const {
        const std::wstring text = GetIniString(kIniSection, kScPathKey, path_);
        if (text.size() > 1023 || text.find(L'\0') != std::wstring::npos) {
            return "a text value longer than its buffer or holding a NUL";
        }
        const StoredPlacement p = ReadWindowPos(path_, limits_);
        if (p.state == kStateMaximized) {
            return p.hasPosition || p.width != kDefaultWidthTwips || p.height != kDefaultHeightTwips
                       ? "a maximised start keeps a position or a size of its own"
                       : "";
        }
        if (p.state != kStateNormal || !p.hasPosition) {
            return "a state no window can take";
        }
        const auto fits = [](int value, int low, int high, int fallback) {
            return value == fallback || (low <= value && value <= high);
        };
        if (!fits(p.width, limits_.minWidth, limits_.maxWidth, kDefaultWidthTwips) ||
            !fits(p.height, limits_.minHeight, limits_.maxHeight, kDefaultHeightTwips)) {
            return "a size the window can't take";
        }
        // The stored position is only a start: the load moves the window to the centre of the
        // primary screen or round the cursor, which must leave it all on the virtual screen.
        const POINT cursor{static_cast<LONG>(g.Below(static_cast<std::size_t>(screen_.x))),
                           static_cast<LONG>(g.Below(static_cast<std::size_t>(screen_.y)))};
        for (const POINT at :
             {CenterPlacement(p.width, p.height, screenTwips_.x, screenTwips_.y),
              CursorPlacement(cursor, p.width, p.height, screenTwips_.x, screenTwips_.y, 1440.0 / dpi_)}) {
            if (at.x < virtualTwips_.left || at.y < virtualTwips_.top ||
                at.x + p.width > virtualTwips_.right || at.y + p.height > virtualTwips_.bottom) {
                return "the window ends partly off the screen";
            }
        }
        return {};
    }

    test_support::Sandbox sandbox_;
    int written_ = 0;
    std::wstring path_ = sandbox_.Path(L"setting.ini");
    SizeLimits limits_ = WindowSizeLimits(nullptr);
    UINT dpi_ = ::GetDpiForSystem();
    POINT screen_{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    POINT screenTwips_{PixelsToTwips(screen_.x, dpi_), PixelsToTwips(screen_.y, dpi_)};
    RECT virtualTwips_{
        PixelsToTwips(::GetSystemMetrics(SM_XVIRTUALSCREEN), dpi_),
        PixelsToTwips(::GetSystemMetrics(SM_YVIRTUALSCREEN), dpi_),
        PixelsToTwips(::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), dpi_),
        PixelsToTwips(::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN), dpi_)};
};

TEST_F(InputMutation_Settings, EveryFilePlacesTheWindowOnTheScreenOrAtItsDefaults) {
    Generator g(0x5E77u);
    for (int i = 0; i < 10000; ++i) {
        // Every tenth file is a clean one whose size must come back as written: proof that each read
        // sees the file just written, not an earlier one.
        if (i % 10 == 0) {
            const auto range = static_cast<std::size_t>(std::max(0, limits_.maxWidth - limits_.minWidth));
            const int width = limits_.minWidth + static_cast<int>(g.Below(range));
            Write("[Tavimo]\r\nW=" + std::to_string(width) + "\r\n");
            ASSERT_EQ(ReadWindowPos(path_, limits_).width, width) << "input " << i;
            continue;
        }
        std::string file = SettingsFile(g);
        if (g.OneIn(2)) {
            file = g.Mutate(file, [&] { return SettingsByte(g); });
        }
        Write(file);
        const std::string problem = PlacementProblem(g);
        ASSERT_EQ(problem, "") << "input " << i << ": " << Shown(std::string_view(file));
    }
}

} // namespace
} // namespace tavimo
