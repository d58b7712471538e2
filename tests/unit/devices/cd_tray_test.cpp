#include "devices/cd_tray.h"

#include "platform/app_title.h"
#include "platform/busy.h"
#include "devices/devices_texts.h"
#include "ask_recorder.h"
#include "seam.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimo {
namespace {

// A tray that takes `doorOpenTakes` ms to answer "door open" on a millisecond clock we drive.
struct FakeMci {
    DWORD clock = 0;
    DWORD doorOpenTakes = 1500;
    std::string failing;
    HWND window = nullptr;
    std::vector<std::string> commands;
    bool visibleAtFirstCommand = false;
};

FakeMci* g_fake = nullptr;

MCIERROR WINAPI FakeSend(LPCSTR command, LPSTR returnString, UINT returnLength, HWND callback) {
    if (g_fake->commands.empty()) {
        g_fake->visibleAtFirstCommand = ::IsWindowVisible(g_fake->window) != FALSE;
    }
    const std::string text = command;
    g_fake->commands.push_back(text + (returnString || returnLength || callback ? " +extras" : ""));
    if (text.find(" door open") != std::string::npos) {
        g_fake->clock += g_fake->doorOpenTakes;
    }
    return text == g_fake->failing ? MCIERR_DEVICE_NOT_READY : 0;
}

DWORD WINAPI FakeNow() {
    return g_fake->clock;
}

class MciBench {
  public:
    MciBench() { g_fake = &fake; }
    ~MciBench() { g_fake = nullptr; }
    MciBench(const MciBench&) = delete;
    MciBench& operator=(const MciBench&) = delete;

    FakeMci fake;

  private:
    test_support::ScopedOverride<MciApi> seam_{g_mci, {&FakeSend, &FakeNow}};
};

using Commands = std::vector<std::string>;

TEST(CdTray_CdDoor, CommandSequenceAndToggleByElapsedTime) {
    struct Case {
        const wchar_t* drive;
        DWORD clockAtStart;
        DWORD doorOpenTakes;
        Commands commands;
    };
    const Commands driveOpens = {"open D: type cdaudio alias CDD", "set CDD door open", "close CDD"};
    const Commands driveToggles = {"open D: type cdaudio alias CDD", "set CDD door open",
                                   "set CDD door closed", "close CDD"};
    const Case cases[] = {
        {L"cdaudio", 1000, 1500, {"set cdaudio door open"}},
        {L"cdaudio", 1000, 5, {"set cdaudio door open", "set cdaudio door closed"}},
        {L"D:", 1000, 1500, driveOpens},
        {L"D:", 1000, 5, driveToggles},
        {L"D:", 1000, 199, driveToggles},
        {L"D:", 1000, 200, driveOpens},
        // The millisecond clock wraps round during the command.
        {L"D:", 0xFFFFFFF0u, 50, driveToggles},
        {L"D:", 0xFFFFFFF0u, 1500, driveOpens},
        // Only the exact name means the default device; anything else is a drive.
        {L"CDAUDIO", 1000, 1500, {"open CDAUDIO type cdaudio alias CDD", "set CDD door open", "close CDD"}},
    };
    for (const Case& c : cases) {
        MciBench bench;
        bench.fake.clock = c.clockAtStart;
        bench.fake.doorOpenTakes = c.doorOpenTakes;
        sCdDoor(c.drive);
        EXPECT_EQ(bench.fake.commands, c.commands) << c.drive << " " << c.doorOpenTakes;
    }
}

TEST(CdTray_CdDoor, AcceptedOnlyWhenEveryCommandWas) {
    struct Case {
        const wchar_t* drive;
        DWORD doorOpenTakes;
        const char* failing;
        bool accepted;
    };
    const Case cases[] = {
        {L"cdaudio", 1500, "", true},
        {L"cdaudio", 1500, "set cdaudio door open", false},
        {L"D:", 5, "", true},
        {L"D:", 1500, "open D: type cdaudio alias CDD", false},
        {L"D:", 5, "set CDD door closed", false},
        {L"D:", 1500, "close CDD", false},
    };
    for (const Case& c : cases) {
        MciBench bench;
        bench.fake.doorOpenTakes = c.doorOpenTakes;
        bench.fake.failing = c.failing;
        EXPECT_EQ(fCdDoor(c.drive), c.accepted) << c.drive << " failing: " << c.failing;
    }
}

TEST(CdTray_EjectTray, AskThenHideThenDoor) {
    struct Case {
        const char* name;
        bool noConfirm;
        int answer;
        bool hideFirst;
        size_t asks;
        bool doorMoved;
        bool visibleAtDoor;
        bool visibleAfter;
        RemovalOutcome outcome;
    };
    const Case cases[] = {
        {"asked, yes, closing after", false, IDYES, true, 1, true, false, false, RemovalOutcome::Removed},
        {"asked, no", false, IDNO, true, 1, false, true, true, RemovalOutcome::Cancelled},
        {"no confirmation, staying open", true, IDNO, false, 0, true, true, true, RemovalOutcome::Removed},
    };
    for (const Case& c : cases) {
        MciBench bench;
        test_support::AskRecorder asks(c.answer);
        test_support::TestWindow ui;
        ::ShowWindow(ui.window, SW_SHOWNOACTIVATE);
        AddListRow(ui.list, L"CD-ROM ドライブ (D:)", 0, L'D');
        bench.fake.window = ui.window;

        EXPECT_EQ(sEjectTray(ui.window, ui.list, 0, c.noConfirm, c.hideFirst), c.outcome) << c.name;
        EXPECT_EQ(asks.Calls().size(), c.asks) << c.name;
        for (const auto& ask : asks.Calls()) {
            EXPECT_EQ(ask.text, devices_texts::kEjectTrayQuestion) << c.name;
            EXPECT_EQ(ask.caption, kAppTitle) << c.name;
            EXPECT_EQ(ask.type, static_cast<UINT>(MB_YESNO)) << c.name;
            EXPECT_TRUE(ask.busy) << c.name;
        }
        if (c.doorMoved) {
            EXPECT_EQ(bench.fake.commands,
                      Commands({"open D: type cdaudio alias CDD", "set CDD door open", "close CDD"}))
                << c.name;
            EXPECT_EQ(bench.fake.visibleAtFirstCommand, c.visibleAtDoor) << c.name;
        } else {
            EXPECT_TRUE(bench.fake.commands.empty()) << c.name;
        }
        EXPECT_EQ(::IsWindowVisible(ui.window) != FALSE, c.visibleAfter) << c.name;
        EXPECT_FALSE(IsBusy()) << c.name;
    }
}

} // namespace
} // namespace tavimo
