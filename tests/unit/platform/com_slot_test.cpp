#include "platform/com_slot.h"

#include "recording_com_object.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace tavimo {
namespace {

using test_support::kTable;
using test_support::RecordingObject;

TEST(ComSlot_CallBySlot, ReachesEachSlotAndReturnsItsResult) {
    for (unsigned slot = 0; slot < kTable.size(); ++slot) {
        RecordingObject object{kTable.data(), {}};
        VARIANT result;
        ASSERT_EQ(CallBySlot(&object, slot, result), S_OK) << slot;
        EXPECT_EQ(object.calls, std::vector<unsigned>{slot});
        EXPECT_EQ(result.vt, VT_I4);
        EXPECT_EQ(result.lVal, static_cast<LONG>(100 + slot));
    }
}

} // namespace
} // namespace tavimo
