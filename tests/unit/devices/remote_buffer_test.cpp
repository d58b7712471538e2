// Memory committed in another process (here the test's own, which the same calls reach): committed
// read-write while held, released and the process handle closed at the end.
#include "devices/remote_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tavimo {
namespace {

MEMORY_BASIC_INFORMATION RegionOf(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(address, &info, sizeof(info));
    return info;
}

TEST(RemoteBuffer, CommittedWhileHeldThenReleasedWithItsHandle) {
    void* address = nullptr;
    HANDLE process = nullptr;
    {
        const RemoteBuffer buffer(::GetCurrentProcessId(), 65536);
        ASSERT_TRUE(buffer);
        address = buffer.Address();
        process = buffer.Process();
        const MEMORY_BASIC_INFORMATION region = RegionOf(address);
        EXPECT_EQ(region.State, static_cast<DWORD>(MEM_COMMIT));
        EXPECT_EQ(region.Protect, static_cast<DWORD>(PAGE_READWRITE));
        EXPECT_GE(region.RegionSize, 65536u);

        // What the window writes there is read back, within the buffer and nowhere beyond it.
        std::memcpy(static_cast<char*>(address) + 65532, "abcd", 4);
        char read[4] = {};
        EXPECT_TRUE(buffer.Read(65532, read, 4));
        EXPECT_EQ(std::memcmp(read, "abcd", 4), 0);
        EXPECT_FALSE(buffer.Read(65533, read, 4));
        EXPECT_FALSE(buffer.Read(SIZE_MAX, read, 2));
    }
    EXPECT_EQ(RegionOf(address).State, static_cast<DWORD>(MEM_FREE));
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(process, &flags));
}

TEST(RemoteBuffer, AProcessThatCannotBeOpenedGivesNoBuffer) {
    // Process ids are multiples of four: this one never names a process.
    const RemoteBuffer buffer(0xFFFFFFF1, 65536);
    EXPECT_FALSE(buffer);
    EXPECT_EQ(buffer.Process(), nullptr);
    char read[4] = {};
    EXPECT_FALSE(buffer.Read(0, read, 4));
}

} // namespace
} // namespace tavimo
