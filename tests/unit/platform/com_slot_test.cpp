#include "platform/com_slot.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace tavimo {
namespace {

// An object with a ten-method table whose methods record their slot number: a call that lands in the
// wrong slot shows up as the wrong number (or never returns).
struct RecordingObject {
    const void* const* table;
    std::vector<unsigned> calls;
};

template <unsigned Slot> LONG STDMETHODCALLTYPE Method(void* self) {
    static_cast<RecordingObject*>(self)->calls.push_back(Slot);
    return static_cast<LONG>(100 + Slot);
}

template <unsigned... Slots> auto MakeTable(std::integer_sequence<unsigned, Slots...>) {
    return std::array<const void*, sizeof...(Slots)>{reinterpret_cast<const void*>(&Method<Slots>)...};
}

const auto kTable = MakeTable(std::make_integer_sequence<unsigned, 10>{});

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

struct Creation {
    HRESULT answer = S_OK;
    bool handsObject = true;
    CLSID clsid{};
    IID iid{};
    DWORD context = 0;
    RecordingObject object{kTable.data(), {}};
};
Creation* g_creation = nullptr;

HRESULT STDAPICALLTYPE RecordingCreate(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                       LPVOID* made) {
    EXPECT_EQ(outer, nullptr);
    g_creation->clsid = clsid;
    g_creation->iid = iid;
    g_creation->context = context;
    *made = g_creation->handsObject ? &g_creation->object : nullptr;
    return g_creation->answer;
}

class ClearUrlHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override {
        g_createUrlHistory = &::CoCreateInstance;
        ::CoUninitialize();
    }
};

TEST_F(ClearUrlHistoryTest, CallsClearHistoryThenReleaseOnlyWhenCreated) {
    struct Case {
        const char* name;
        HRESULT answer;
        bool handsObject;
        HRESULT result;
        std::vector<unsigned> calls;
    };
    const Case cases[] = {
        {"created", S_OK, true, S_OK, {9, 2}},
        {"class missing", REGDB_E_CLASSNOTREG, false, REGDB_E_CLASSNOTREG, {}},
        {"positive code is a failure too", S_FALSE, true, S_FALSE, {2}}, // released, never cleared
    };
    CLSID urlHistory{};
    IID urlHistoryStg2{};
    ASSERT_EQ(::CLSIDFromString(L"{3C374A40-BAE4-11CF-BF7D-00AA006946EE}", &urlHistory), S_OK);
    ASSERT_EQ(::IIDFromString(L"{AFA0DC11-C313-11D0-831A-00C04FD5AE38}", &urlHistoryStg2), S_OK);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Creation creation;
        creation.answer = c.answer;
        creation.handsObject = c.handsObject;
        g_creation = &creation;
        g_createUrlHistory = &RecordingCreate;

        EXPECT_EQ(ClearUrlHistory(), c.result);

        EXPECT_EQ(creation.object.calls, c.calls);
        EXPECT_TRUE(::IsEqualGUID(creation.clsid, urlHistory));
        EXPECT_TRUE(::IsEqualGUID(creation.iid, urlHistoryStg2));
        EXPECT_EQ(creation.context, 3u);
    }
}

// Wine creates the real object, and its ClearHistory answers E_NOTIMPL: not a failure here.
TEST_F(ClearUrlHistoryTest, RealHistoryObjectIsCreatedAndCleared) {
    EXPECT_EQ(ClearUrlHistory(), S_OK);
}

} // namespace
} // namespace tavimo
