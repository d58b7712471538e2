#include "platform/key_chords.h"

#include "seam.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavimo {
namespace {

struct Event {
    WORD key;
    DWORD flags;
    bool operator==(const Event&) const = default;
};
using Events = std::vector<Event>;

constexpr DWORD kUp = KEYEVENTF_KEYUP;

struct Recorder {
    std::vector<Events> batches;
    int inserted = -1; // how many events SendInput reports inserted; -1: all of them
};
Recorder* g_recorder = nullptr;

// Records each batch; fails the test on anything but a plain virtual-key event of the platform's size.
UINT WINAPI RecordSendInput(UINT count, LPINPUT inputs, int size) {
    EXPECT_EQ(size, static_cast<int>(sizeof(INPUT)));
    Events batch;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& in = inputs[i];
        EXPECT_EQ(in.type, static_cast<DWORD>(INPUT_KEYBOARD));
        EXPECT_EQ(in.ki.wScan, 0);
        EXPECT_EQ(in.ki.time, 0u);
        EXPECT_EQ(in.ki.dwExtraInfo, 0u);
        batch.push_back({in.ki.wVk, in.ki.dwFlags});
    }
    g_recorder->batches.push_back(batch);
    return g_recorder->inserted < 0 ? count : static_cast<UINT>(g_recorder->inserted);
}

class KeyChordTest : public ::testing::Test {
  protected:
    void SetUp() override { g_recorder = &recorder; }
    void TearDown() override { g_recorder = nullptr; }
    Recorder recorder;

  private:
    test_support::ScopedOverride<SendInputFunction> seam_{g_sendInput, &RecordSendInput};
};

TEST_F(KeyChordTest, EachChordGoesOutAsOneBatchPressedInOrderReleasedInReverse) {
    struct Case {
        WORD key1, key2, key3;
        bool sent;
        Events events;
    };
    const Case cases[] = {
        {VK_SNAPSHOT, 0, 0, true, {{VK_SNAPSHOT, 0}, {VK_SNAPSHOT, kUp}}},
        {VK_MENU, VK_SNAPSHOT, 0, true, {{VK_MENU, 0}, {VK_SNAPSHOT, 0}, {VK_SNAPSHOT, kUp}, {VK_MENU, kUp}}},
        {VK_MENU, VK_F4, 0, true, {{VK_MENU, 0}, {VK_F4, 0}, {VK_F4, kUp}, {VK_MENU, kUp}}},
        {VK_CONTROL,
         VK_SHIFT,
         VK_ESCAPE,
         true,
         {{VK_CONTROL, 0},
          {VK_SHIFT, 0},
          {VK_ESCAPE, 0},
          {VK_ESCAPE, kUp},
          {VK_SHIFT, kUp},
          {VK_CONTROL, kUp}}},
        {VK_MENU, 0, VK_SNAPSHOT, true, {{VK_MENU, 0}, {VK_MENU, kUp}}}, // key3 only with key2
        {0, VK_SNAPSHOT, 0, false, {}},
        {0, 0, 0, false, {}},
    };
    for (const auto& c : cases) {
        recorder.batches.clear();
        EXPECT_EQ(SendKeyChord(c.key1, c.key2, c.key3), c.sent) << c.key1 << "," << c.key2 << "," << c.key3;
        if (c.sent) {
            ASSERT_EQ(recorder.batches.size(), 1u) << c.key1 << "," << c.key2;
            EXPECT_EQ(recorder.batches[0], c.events) << c.key1 << "," << c.key2 << "," << c.key3;
        } else {
            EXPECT_TRUE(recorder.batches.empty()) << c.key2;
        }
    }
}

TEST_F(KeyChordTest, BlockedInputReportsFalseAndLeavesNothingQueued) {
    recorder.inserted = 0;
    EXPECT_FALSE(SendKeyChord(VK_MENU, VK_F4));
    recorder.inserted = -1;
    EXPECT_TRUE(SendKeyChord(VK_SNAPSHOT));
    ASSERT_EQ(recorder.batches.size(), 2u);
    EXPECT_EQ(recorder.batches[1], (Events{{VK_SNAPSHOT, 0}, {VK_SNAPSHOT, kUp}}));
}

TEST_F(KeyChordTest, FlushSendsWhatWasQueuedOnceAndNothingWhenEmpty) {
    EXPECT_FALSE(FlushKeyEvents());
    EXPECT_TRUE(recorder.batches.empty());
    QueueKeyEvent(VK_LWIN, 0);
    QueueKeyEvent(VK_LWIN, kUp);
    EXPECT_TRUE(FlushKeyEvents());
    EXPECT_FALSE(FlushKeyEvents());
    ASSERT_EQ(recorder.batches.size(), 1u);
    EXPECT_EQ(recorder.batches[0], (Events{{VK_LWIN, 0}, {VK_LWIN, kUp}}));
}

} // namespace
} // namespace tavimo
