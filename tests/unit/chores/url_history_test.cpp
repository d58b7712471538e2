#include "chores/url_history.h"

#include "recording_com_object.h"
#include "seam.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <vector>

namespace tavimo {
namespace {

using test_support::kTable;
using test_support::RecordingObject;

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
    void TearDown() override { ::CoUninitialize(); }
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
        test_support::ScopedOverride<CreateInstanceFunction> seam(g_createUrlHistory, &RecordingCreate);

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
