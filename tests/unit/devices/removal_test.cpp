#include "devices/removal.h"

#include "platform/app_title.h"
#include "platform/busy.h"
#include "platform/wait_cursor.h"
#include "devices/cd_tray.h"
#include "devices/devices_texts.h"
#include "ask_recorder.h"
#include "seam.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavimo {
namespace {

// The state of the program as the removal calls found it while they ran.
struct Seen {
    bool busy;
    bool windowEnabled;
    bool hourglass;
};

// Devices that the fake configuration manager knows: each agrees once unless it refuses; a device that
// is gone already cannot be removed again.
struct FakeDevices {
    bool nt = true;
    std::set<DEVINST> refusing;
    std::set<DEVINST> gone;
    CONFIGRET removeSubTreeResult = CR_SUCCESS;
    bool throwOnEject = false;
    bool destroyWindowOnPause = false;

    HWND window = nullptr;
    HWND list = nullptr;
    std::vector<std::string> calls;
    std::vector<DEVINST> ejected;
    std::vector<int> rowsAtEject;
    std::vector<DWORD> pauses;
    std::vector<Seen> seen;
    bool ejectArgumentsPlain = true;
};

FakeDevices* g_fake = nullptr;

void Observe() {
    g_fake->seen.push_back({IsBusy(), ::IsWindowEnabled(g_fake->window) != FALSE,
                            ::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT)});
}

CONFIGRET Decide(DEVINST device) {
    if (g_fake->gone.count(device)) {
        return CR_NO_SUCH_DEVNODE;
    }
    if (g_fake->refusing.count(device)) {
        return CR_REMOVE_VETOED;
    }
    return CR_SUCCESS;
}

CONFIGRET WINAPI FakeRequestEject(DEVINST device, PPNP_VETO_TYPE vetoType, LPWSTR vetoName, ULONG nameLength,
                                  ULONG flags) {
    Observe();
    g_fake->calls.push_back("eject " + std::to_string(device));
    g_fake->ejected.push_back(device);
    g_fake->rowsAtEject.push_back(ListView_GetItemCount(g_fake->list));
    g_fake->ejectArgumentsPlain &= vetoType != nullptr && *vetoType == PNP_VetoTypeUnknown &&
                                   vetoName == nullptr && nameLength == 0 && flags == 0;
    if (g_fake->throwOnEject) {
        throw std::runtime_error("injected failure");
    }
    const CONFIGRET result = Decide(device);
    if (result == CR_SUCCESS) {
        g_fake->gone.insert(device);
    } else if (result == CR_REMOVE_VETOED) {
        *vetoType = PNP_VetoDevice;
    }
    return result;
}

CONFIGRET WINAPI FakeQueryRemoveSubTree(DEVINST device, ULONG flags) {
    g_fake->calls.push_back("query " + std::to_string(device) + (flags ? " flags" : ""));
    return Decide(device);
}

CONFIGRET WINAPI FakeRemoveSubTree(DEVINST device, ULONG flags) {
    g_fake->calls.push_back("remove " + std::to_string(device) + (flags ? " flags" : ""));
    return g_fake->removeSubTreeResult;
}

bool FakeIsWindowsNT() {
    return g_fake->nt;
}

void FakeWait(DWORD milliseconds) {
    Observe();
    g_fake->pauses.push_back(milliseconds);
    if (g_fake->destroyWindowOnPause) {
        ::DestroyWindow(g_fake->window);
    }
}

// One test window and the fake configuration manager in place of the real one, for one case.
class Bench {
  public:
    Bench() {
        fake.window = ui.window;
        fake.list = ui.list;
        g_fake = &fake;
        SetBusy(false);
        ::SetCursor(arrow);
    }
    ~Bench() {
        g_fake = nullptr;
        SetBusy(false);
    }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    // Window enabled, busy flag down, hourglass gone: what every way out must leave behind.
    void ExpectRestored(const char* name) const {
        EXPECT_TRUE(::IsWindowEnabled(ui.window)) << name;
        EXPECT_FALSE(IsBusy()) << name;
        EXPECT_FALSE(IsWaitCursorShown()) << name;
        EXPECT_EQ(::GetCursor(), arrow) << name;
    }

    test_support::TestWindow ui;
    FakeDevices fake;
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);

  private:
    test_support::ScopedOverride<RemovalApi> seam_{
        g_removal,
        {&FakeRequestEject, &FakeQueryRemoveSubTree, &FakeRemoveSubTree, &FakeIsWindowsNT, &FakeWait}};
};

std::vector<DEVINST> Devices(std::initializer_list<DEVINST> list) {
    return list;
}
std::vector<LPARAM> Rows(std::initializer_list<LPARAM> list) {
    return list;
}

TEST(Removal_EjectDevice, NtFamilyEjectsOlderFamilyQueriesThenRemoves) {
    struct Case {
        const char* name;
        bool nt;
        bool refuses;
        CONFIGRET removeSubTreeResult;
        std::vector<std::string> calls;
        CONFIGRET result;
    };
    const Case cases[] = {
        {"NT, agrees", true, false, CR_SUCCESS, {"eject 7"}, CR_SUCCESS},
        {"NT, refuses", true, true, CR_SUCCESS, {"eject 7"}, CR_REMOVE_VETOED},
        {"older, agrees", false, false, CR_SUCCESS, {"query 7", "remove 7"}, CR_SUCCESS},
        {"older, query refuses", false, true, CR_SUCCESS, {"query 7"}, CR_REMOVE_VETOED},
        // The query agreed but the removal failed: the device is still there.
        {"older, removal fails", false, false, CR_FAILURE, {"query 7", "remove 7"}, CR_FAILURE},
    };
    for (const Case& c : cases) {
        Bench bench;
        bench.fake.nt = c.nt;
        bench.fake.removeSubTreeResult = c.removeSubTreeResult;
        if (c.refuses) {
            bench.fake.refusing.insert(7);
        }
        PNP_VETO_TYPE vetoType = PNP_VetoTypeUnknown;
        EXPECT_EQ(fEjectDevice(7, vetoType), c.result) << c.name;
        EXPECT_EQ(bench.fake.calls, c.calls) << c.name;
        EXPECT_TRUE(bench.fake.ejectArgumentsPlain) << c.name;
    }
}

TEST(Removal_RemoveAllPasses, OnePassPerStartingRowOnTheFirstRow) {
    struct Case {
        const char* name;
        std::vector<LPARAM> rows;
        std::set<DEVINST> refusing;
        std::vector<DEVINST> ejected;
        std::vector<int> rowsAtEject;
        size_t pauses;
        std::vector<LPARAM> left;
        bool allRemoved;
    };
    // clang-format off
    const Case cases[] = {
        // A refusing first device is tried by every pass; the ones behind it never are.
        {"first of three refuses", Rows({11, 22, 33}), {11}, Devices({11, 11, 11}), {3, 3, 3}, 3, Rows({11, 22, 33}), false},
        {"three agree",            Rows({11, 22, 33}), {},   Devices({11, 22, 33}), {3, 2, 1}, 2, Rows({}),           true},
        {"second refuses",         Rows({11, 22, 33}), {22}, Devices({11, 22, 22}), {3, 2, 2}, 3, Rows({22, 33}),     false},
        // Two drive letters of one stick: both rows go with the device, so the next device is reached.
        {"two rows of one device", Rows({11, 11, 22}), {},   Devices({11, 22}),     {3, 1},    1, Rows({}),           true},
        {"empty list",             Rows({}),           {},   Devices({}),           {},        0, Rows({}),           true},
    };
    // clang-format on
    for (const Case& c : cases) {
        Bench bench;
        bench.ui.AddRows(c.rows);
        bench.fake.refusing = c.refusing;
        EXPECT_EQ(fRemoveAllPasses(bench.ui.list), c.allRemoved) << c.name;
        EXPECT_EQ(bench.fake.ejected, c.ejected) << c.name;
        EXPECT_EQ(bench.fake.rowsAtEject, c.rowsAtEject) << c.name;
        EXPECT_EQ(bench.fake.pauses, std::vector<DWORD>(c.pauses, kRemoveAllPauseMs)) << c.name;
        EXPECT_EQ(bench.ui.Tags(), c.left) << c.name;
    }
}

TEST(Removal_RemoveAllPasses, WindowClosedDuringAPauseEndsThePasses) {
    Bench bench;
    bench.ui.AddRows({11, 22, 33});
    bench.fake.refusing = {11};
    bench.fake.destroyWindowOnPause = true;
    EXPECT_FALSE(fRemoveAllPasses(bench.ui.list));
    // No further device is asked for, least of all one read from a list that is gone (handle 0).
    EXPECT_EQ(bench.fake.ejected, Devices({11}));
}

// The outcome says what the window does next; whether it then closes is the window's rule.
TEST(Removal_RemoveAllDevices, ConfirmationOutcomeAndRestoreOnEveryPath) {
    enum class Devices { Agree, Refuse, Throw };
    struct Case {
        const char* name;
        std::vector<LPARAM> rows;
        bool noConfirm;
        int answer;
        Devices devices;
        size_t asks;
        size_t ejects;
        std::optional<RemovalOutcome> outcome; // none: the exception comes through
        size_t rowsLeft;
    };
    using enum RemovalOutcome;
    // clang-format off
    const Case cases[] = {
        {"asked, yes, all go",      Rows({11, 22}), false, IDYES, Devices::Agree,  1, 2, Removed,      0},
        {"asked, no",               Rows({11, 22}), false, IDNO,  Devices::Agree,  1, 0, Cancelled,    2},
        {"no confirmation",         Rows({11, 22}), true,  IDNO,  Devices::Agree,  0, 2, Removed,      0},
        {"refused",                 Rows({11, 22}), true,  IDYES, Devices::Refuse, 0, 2, Refused,      2},
        {"refused after asking",    Rows({11, 22}), false, IDYES, Devices::Refuse, 1, 2, Refused,      2},
        {"eject throws",            Rows({11, 22}), true,  IDYES, Devices::Throw,  0, 1, std::nullopt, 2},
        {"empty list",              Rows({}),       false, IDYES, Devices::Agree,  0, 0, NothingToDo,  0},
    };
    // clang-format on
    for (const Case& c : cases) {
        Bench bench;
        test_support::AskRecorder asks(c.answer);
        bench.ui.AddRows(c.rows);
        if (c.devices == Devices::Refuse) {
            bench.fake.refusing = {11, 22};
        }
        bench.fake.throwOnEject = c.devices == Devices::Throw;

        if (c.outcome) {
            EXPECT_EQ(fRemoveAllDevices(bench.ui.window, bench.ui.list, c.noConfirm), *c.outcome) << c.name;
        } else {
            EXPECT_THROW(fRemoveAllDevices(bench.ui.window, bench.ui.list, c.noConfirm), std::runtime_error)
                << c.name;
        }
        EXPECT_EQ(asks.Calls().size(), c.asks) << c.name;
        for (const auto& ask : asks.Calls()) {
            EXPECT_EQ(ask.text, devices_texts::kRemoveAllQuestion) << c.name;
            EXPECT_EQ(ask.caption, kAppTitle) << c.name;
            EXPECT_EQ(ask.type, static_cast<UINT>(MB_YESNO)) << c.name;
        }
        EXPECT_EQ(bench.fake.ejected.size(), c.ejects) << c.name;
        EXPECT_EQ(bench.ui.Tags().size(), c.rowsLeft) << c.name;
        for (const Seen& seen : bench.fake.seen) {
            EXPECT_TRUE(seen.busy) << c.name;
            EXPECT_FALSE(seen.windowEnabled) << c.name;
            EXPECT_TRUE(seen.hourglass) << c.name;
        }
        bench.ExpectRestored(c.name);
    }
}

TEST(Removal_EjectSelected, RemovesTheSelectedDeviceOnlyWhenAgreed) {
    struct Case {
        const char* name;
        std::vector<LPARAM> rows;
        int selected;
        bool noConfirm;
        int answer;
        std::set<DEVINST> refusing;
        bool throws;
        size_t asks;
        std::vector<DEVINST> ejected;
        std::vector<LPARAM> left;
        std::optional<RemovalOutcome> outcome; // none: the exception comes through
    };
    using enum RemovalOutcome;
    // clang-format off
    const Case cases[] = {
        {"yes: the device's rows go",    Rows({11, 22, 33, 22}), 1,  false, IDYES, {},   false, 1, Devices({22}), Rows({11, 33}), Removed},
        {"refused: row stays",           Rows({11, 22}),         1,  false, IDYES, {22}, false, 1, Devices({22}), Rows({11, 22}), Refused},
        {"answer no",                    Rows({11, 22}),         0,  false, IDNO,  {},   false, 1, Devices({}),   Rows({11, 22}), Cancelled},
        {"no confirmation",              Rows({11, 22}),         0,  true,  IDNO,  {},   false, 0, Devices({11}), Rows({22}),     Removed},
        {"nothing selected",             Rows({11, 22}),         -1, false, IDYES, {},   false, 0, Devices({}),   Rows({11, 22}), NothingToDo},
        {"eject throws",                 Rows({11}),             0,  true,  IDYES, {},   true,  0, Devices({11}), Rows({11}),     std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        Bench bench;
        test_support::AskRecorder asks(c.answer);
        bench.ui.AddRows(c.rows);
        if (c.selected >= 0) {
            bench.ui.Select(c.selected);
        }
        bench.fake.refusing = c.refusing;
        bench.fake.throwOnEject = c.throws;

        if (c.outcome) {
            EXPECT_EQ(sEjectSelected(bench.ui.window, bench.ui.list, c.noConfirm), *c.outcome) << c.name;
        } else {
            EXPECT_THROW(sEjectSelected(bench.ui.window, bench.ui.list, c.noConfirm), std::runtime_error)
                << c.name;
        }
        EXPECT_EQ(asks.Calls().size(), c.asks) << c.name;
        for (const auto& ask : asks.Calls()) {
            EXPECT_EQ(ask.text, devices_texts::kRemoveSelectedQuestion) << c.name;
            EXPECT_EQ(ask.type, static_cast<UINT>(MB_YESNO)) << c.name;
        }
        EXPECT_EQ(bench.fake.ejected, c.ejected) << c.name;
        EXPECT_EQ(bench.ui.Tags(), c.left) << c.name;
        for (const Seen& seen : bench.fake.seen) {
            EXPECT_TRUE(seen.busy) << c.name;
        }
        EXPECT_FALSE(IsBusy()) << c.name;
    }
}

MCIERROR WINAPI AcceptMci(LPCSTR, LPSTR, UINT, HWND) {
    return 0;
}
DWORD WINAPI SlowDoorClock() {
    static DWORD now = 0;
    return now += 1000;
}

TEST(Removal_NoConfirmation, NoMessageBoxAnywhere) {
    Bench bench;
    test_support::AskRecorder asks(IDNO); // were anything asked, it would also be refused
    test_support::ScopedOverride<MciApi> mci(g_mci, {&AcceptMci, &SlowDoorClock});

    bench.ui.AddRows({11, 22, 33});
    bench.ui.Select(0);
    EXPECT_EQ(sEjectSelected(bench.ui.window, bench.ui.list, true), RemovalOutcome::Removed);
    EXPECT_EQ(fRemoveAllDevices(bench.ui.window, bench.ui.list, true), RemovalOutcome::Removed);

    test_support::TestWindow cd;
    AddListRow(cd.list, L"CD-ROM ドライブ (D:)", 0, L'D');
    EXPECT_EQ(sEjectTray(cd.window, cd.list, 0, true, false), RemovalOutcome::Removed);

    EXPECT_TRUE(asks.Calls().empty());
    EXPECT_EQ(bench.fake.ejected, Devices({11, 22, 33}));
}

TEST(Removal_WaitMilliseconds, KeepsMessagesRunningAndLeavesTheQuitForTheMainLoop) {
    test_support::TestWindow ui;
    test_support::g_appMessages = 0;
    ::PostMessageW(ui.window, WM_APP, 0, 0);
    const DWORD start = ::GetTickCount();
    WaitMilliseconds(40);
    EXPECT_EQ(test_support::g_appMessages, 1);
    EXPECT_GE(::GetTickCount() - start, 30u);

    // The program is ending: the wait gives up at once and the main loop still sees WM_QUIT.
    ::PostQuitMessage(3);
    const DWORD quitStart = ::GetTickCount();
    WaitMilliseconds(5000);
    EXPECT_LT(::GetTickCount() - quitStart, 2000u);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

} // namespace
} // namespace tavimo
