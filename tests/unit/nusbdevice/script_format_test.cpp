#include "script_format.h"

#include <gtest/gtest.h>

namespace tavimo::scripted {
namespace {

TEST(ScriptFormat_ParseScript, ReadsDevicesSkippingCommentsBlankLinesBomAndCarriageReturns) {
    const Script script =
        ParseScript("\xEF\xBB\xBF# removable\tletter\tdescription\tfriendly\thandle\ticon\r\n"
                    "\r\n"
                    "1\te\tUSB 大容量記憶装置\tUSB Flash Disk\t0x1A2b\t1\r\n"
                    "0\t\t\t\t4294967295\t-1\n"
                    "1\tF\tCard Reader\t\t77\t0");
    EXPECT_TRUE(script.badLines.empty());
    ASSERT_EQ(script.devices.size(), 3u);

    const ScriptDevice& stick = script.devices[0];
    EXPECT_TRUE(stick.removable);
    EXPECT_EQ(stick.letter, "E");
    EXPECT_EQ(stick.description, "USB 大容量記憶装置");
    EXPECT_EQ(stick.friendlyName, "USB Flash Disk");
    EXPECT_EQ(stick.handle, 0x1A2Bu);
    EXPECT_EQ(stick.imageIndex, 1);

    const ScriptDevice& bare = script.devices[1];
    EXPECT_FALSE(bare.removable);
    EXPECT_EQ(bare.letter, "");
    EXPECT_EQ(bare.description, "");
    EXPECT_EQ(bare.friendlyName, "");
    EXPECT_EQ(bare.handle, 4294967295u);
    EXPECT_EQ(bare.imageIndex, -1);

    EXPECT_EQ(script.devices[2].friendlyName, "");
    EXPECT_EQ(script.devices[2].handle, 77u);
}

TEST(ScriptFormat_ParseScript, MalformedLinesAreReportedByNumberAndSkipped) {
    const char* const malformed[] = {
        "1\tE\tdesc\tname\t5",             // five fields
        "1\tE\tdesc\tname\t5\t0\textra",   // seven fields
        "yes\tE\tdesc\tname\t5\t0",        // removable not 0/1
        "1\tEF\tdesc\tname\t5\t0",         // two letters
        "1\tE:\tdesc\tname\t5\t0",         // letter with colon
        "1\t1\tdesc\tname\t5\t0",          // not a letter
        "1\tE\tdesc\tname\t-5\t0",         // negative handle
        "1\tE\tdesc\tname\t4294967296\t0", // handle beyond 32 bits
        "1\tE\tdesc\tname\t0xZZ\t0",       // bad hex
        "1\tE\tdesc\tname\t5\t",           // empty icon index
        "1 E desc name 5 0",               // spaces instead of tabs
    };
    for (const char* line : malformed) {
        const Script script = ParseScript(std::string("# header\n") + line + "\n1\tG\tok\tok\t9\t0\n");
        EXPECT_EQ(script.badLines, std::vector<int>{2}) << line;
        ASSERT_EQ(script.devices.size(), 1u) << line;
        EXPECT_EQ(script.devices[0].letter, "G") << line;
    }
}

} // namespace
} // namespace tavimo::scripted
