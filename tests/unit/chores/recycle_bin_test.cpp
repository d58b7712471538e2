#include "chores/cleanup.h"

#include "ask_recorder.h"
#include "sandbox.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

namespace tavimo {
namespace {

using test_support::Sandbox;
using test_support::WriteFileOfSize;

SHQUERYRBINFO QueryBin() {
    SHQUERYRBINFO info;
    EXPECT_TRUE(test_support::QueryBin(info));
    return info;
}

class RecycleBinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test_support::StartWithEmptyBin(sandbox_.Root())) {
            GTEST_SKIP() << "the recycle bin is not empty: not a sandboxed HOME";
        }
    }

    void RecycleThreeFiles() {
        std::vector<std::wstring> paths;
        for (const wchar_t* name : {L"a.bin", L"b.bin", L"c.bin"}) {
            paths.push_back(sandbox_.Path(name));
            WriteFileOfSize(paths.back(), 512);
        }
        test_support::Recycle(paths);
    }

    Sandbox sandbox_;
    test_support::AskRecorder asks_{IDCANCEL};
};

TEST_F(RecycleBinTest, EmptyBinAsksNothingAndCountsAsDone) {
    EXPECT_TRUE(EmptyRecycleBin(true, nullptr, 0));
    EXPECT_TRUE(asks_.Calls().empty());
}

TEST_F(RecycleBinTest, AsksWithCountAndSizeAndOnlyOkEmpties) {
    struct Case {
        const char* name;
        int answer;
        bool result;
        bool emptied;
    };
    const Case cases[] = {
        {"OK", IDOK, true, true},
        {"Cancel", IDCANCEL, true, false}, // declined: nothing done, not a failure
        {"box could not be shown", 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        asks_.Clear();
        asks_.Answer(c.answer);
        if (QueryBin().i64NumItems == 0) {
            RecycleThreeFiles();
        }
        const SHQUERYRBINFO before = QueryBin();
        ASSERT_EQ(before.i64NumItems, 3);
        ASSERT_EQ(before.i64Size, 1536);

        EXPECT_EQ(EmptyRecycleBin(true, nullptr, 0), c.result);

        ASSERT_EQ(asks_.Calls().size(), 1u);
        EXPECT_EQ(asks_.Calls()[0].text, L"ごみ箱を空にしますか？\r\n\r\nファイル総数 3個 (1.50 KB)");
        EXPECT_EQ(asks_.Calls()[0].caption, L"ファイル削除の確認");
        EXPECT_EQ(asks_.Calls()[0].type, 33u);
        EXPECT_EQ(QueryBin().i64NumItems, c.emptied ? 0 : 3);
    }
    asks_.Answer(IDOK);
    EmptyRecycleBin(true, nullptr, 0);
}

} // namespace
} // namespace tavimo
