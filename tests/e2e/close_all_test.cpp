// Closing all windows as a user gets it: the switches "/allclose" and "/allclosef" and the Extra menu's
// two items, run against windows of a fixture process that logs what reached each of them.
#include "tavimo_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace e2e {
namespace {

// Windows of close_target.exe, one thread each, stacked in the order given (the last on top, so the
// pass meets it first). Each is described as NAME:CLASS[:FLAGS], FLAGS h = hung, s = refuses
// WM_CLOSE, f = takes the foreground back.
class CloseTargets {
  public:
    CloseTargets(std::wstring logPath, const std::vector<std::wstring>& descriptions)
        : log_(std::move(logPath)) {
        std::wstring arguments = L"\"" + log_ + L"\"";
        for (const auto& description : descriptions) {
            arguments += L" " + description;
            names_.push_back(description.substr(0, description.find(L':')));
        }
        process_ = Launch(BinDir() + L"\\close_target.exe", arguments);
    }
    ~CloseTargets() { process_.Kill(); }
    CloseTargets(const CloseTargets&) = delete;
    CloseTargets& operator=(const CloseTargets&) = delete;

    bool Ready() const {
        return WaitFor([&] {
            for (const auto& name : names_) {
                if (!Has(name, L"ready")) {
                    return false;
                }
            }
            return true;
        });
    }

    // What reached the window, in order: "ready", "close", "altf4", "quit".
    std::vector<std::wstring> Events(const std::wstring& name) const {
        std::vector<std::wstring> events;
        std::wistringstream lines(ReadFileUtf8(log_));
        std::wstring who, what;
        while (lines >> who >> what) {
            if (who == name) {
                events.push_back(what);
            }
        }
        return events;
    }
    bool Has(const std::wstring& name, const std::wstring& event) const {
        const auto events = Events(name);
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    bool WaitForEvent(const std::wstring& name, const std::wstring& event) const {
        return WaitFor([&] { return Has(name, event); }, 10s);
    }

    HWND Window(const wchar_t* className, const wchar_t* title) const {
        return WaitForWindow(process_.Id(), className, title, 5s);
    }

  private:
    std::wstring log_;
    std::vector<std::wstring> names_;
    Process process_;
};

bool KeeperAlive() {
    return ::FindWindowW(L"TavimoTestKeeper", nullptr) != nullptr;
}

TEST(CloseAll_Switch, EachWindowGetsWhatItsRuleSaysAndThePassRunsToTheEnd) {
    using Events = std::vector<std::pair<std::wstring, std::wstring>>; // window, event
    struct Case {
        const char* name;
        const wchar_t* arguments;
        std::vector<std::wstring> windows; // bottom to top: the pass meets the last one first
        Events arrive;
        Events never; // looked for once everything that must arrive has, and a moment more
    };
    const Case cases[] = {
        {"normal: a comes after the shell and the hung windows",
         L"/allclose",
         {L"a:TavimoTarget", L"hungShell:CabinetWClass:h", L"hung:TavimoTarget:h", L"shell:CabinetWClass",
          L"b:TavimoTarget"},
         {{L"b", L"close"}, {L"shell", L"altf4"}, {L"a", L"close"}},
         {}},
        {"forced: loops end without WM_CLOSE, Alt+F4 still closes the shell window",
         L"/allclosef",
         {L"shell:CabinetWClass", L"plain:TavimoTarget"},
         {{L"plain", L"quit"}, {L"shell", L"altf4"}, {L"shell", L"close"}},
         {{L"plain", L"close"}, {L"shell", L"quit"}}},
        {"the chord never lands in a window that took the foreground back",
         L"/allclose",
         {L"shell:CabinetWClass", L"grab:TavimoTarget:sf"},
         {{L"grab", L"close"}},
         {{L"grab", L"altf4"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TavimoFolder folder;
        CloseTargets targets(folder.File(L"close.log"), c.windows);
        ASSERT_TRUE(targets.Ready());
        for (const auto& description : c.windows) {
            if (description.ends_with(L":h")) {
                // The system calls a thread hung once it has taken no message for 5 s.
                const std::wstring name = description.substr(0, description.find(L':'));
                const std::wstring className =
                    description.substr(name.size() + 1, description.size() - name.size() - 3);
                const HWND hung = targets.Window(className.c_str(), name.c_str());
                ASSERT_TRUE(WaitFor([&] { return ::IsHungAppWindow(hung) != FALSE; }, 15s));
            }
        }

        Process tavimo = Launch(folder.Exe(), c.arguments);
        const auto code = tavimo.Wait(15s);
        if (!code) {
            tavimo.Kill();
        }
        EXPECT_EQ(code, std::optional<DWORD>(0)) << "no window may hold the pass";
        for (const auto& [window, event] : c.arrive) {
            EXPECT_TRUE(targets.WaitForEvent(window, event)) << window << L" " << event;
        }
        ::Sleep(500);
        for (const auto& [window, event] : c.never) {
            EXPECT_FALSE(targets.Has(window, event)) << window << L" " << event;
        }
        EXPECT_TRUE(KeeperAlive()) << "hidden windows are left alone";
    }
}

TEST(CloseAll_Switch, ForcedFromAnotherCopyEndsATavimoWindowThroughItsUnload) {
    TavimoFolder folder;
    auto [tavimo, window] = StartWindow(folder);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(FileExists(folder.File(L"setting.ini")));

    Process other = Launch(folder.Exe(), L"/allclosef");
    EXPECT_EQ(other.Wait(15s), std::optional<DWORD>(0));
    EXPECT_EQ(tavimo.Wait(10s), std::optional<DWORD>(0));
    EXPECT_TRUE(FileExists(folder.File(L"setting.ini"))) << "the WM_QUIT must not skip the unload";
}

TEST(CloseAll_Menu, YesClosesTheOthersThenTavimoSavingItsSettingsNoClosesNothing) {
    struct Case {
        const char* name;
        int index;
        const wchar_t* question;
        int answer;
        const wchar_t* targetEvent; // what the other window gets; null: nothing
    };
    const Case cases[] = {
        {"close all, yes", 11, L"全ウィンドウを閉じますか？", IDYES, L"close"},
        {"force, yes", 12, L"全ウィンドウを強制終了しますか？", IDYES, L"quit"},
        {"close all, no", 11, L"全ウィンドウを閉じますか？", IDNO, nullptr},
        {"force, no", 12, L"全ウィンドウを強制終了しますか？", IDNO, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TavimoFolder folder;
        CloseTargets targets(folder.File(L"close.log"), {L"other:TavimoTarget"});
        ASSERT_TRUE(targets.Ready());
        auto [process, window] = StartWindow(folder);
        ASSERT_NE(window, nullptr);

        ::PostMessageW(window, WM_COMMAND, tavimo::MenuCommand(tavimo::MenuId::Extra, c.index), 0);
        const HWND box = WaitForMessageBox(process, L"Tavimo");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), c.question);
        EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
        EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
        ClickBoxButton(box, c.answer);

        if (c.targetEvent) {
            EXPECT_EQ(process.Wait(15s), std::optional<DWORD>(0));
            EXPECT_TRUE(targets.WaitForEvent(L"other", c.targetEvent));
            EXPECT_TRUE(FileExists(folder.File(L"setting.ini")));
        } else {
            EXPECT_FALSE(process.Wait(700ms).has_value());
            EXPECT_EQ(targets.Events(L"other"), std::vector<std::wstring>{L"ready"});
            EXPECT_FALSE(FileExists(folder.File(L"setting.ini")));
            EXPECT_EQ(CloseAndWait(process, window), std::optional<DWORD>(0));
        }
    }
}

} // namespace
} // namespace e2e
