#include "chores/cleanup.h"

#include "app/ask.h"
#include "sandbox.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

namespace tavimo {
namespace {

using test_support::Sandbox;
using test_support::WriteFileOfSize;

struct AskCall {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// The scripted box: records what it was asked and answers as told.
struct ScriptedAsk {
    static inline std::vector<AskCall> calls;
    static inline int answer = IDCANCEL;
    static int WINAPI Answer(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
        calls.push_back({text, caption, type});
        return answer;
    }
};

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
        previousAsk_ = g_ask;
        g_ask = &ScriptedAsk::Answer;
        ScriptedAsk::calls.clear();
    }
    void TearDown() override {
        if (previousAsk_) {
            g_ask = previousAsk_;
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
    AskFunction previousAsk_ = nullptr;
};

TEST_F(RecycleBinTest, EmptyBinAsksNothingAndCountsAsDone) {
    EXPECT_TRUE(EmptyRecycleBin(true, nullptr, 0));
    EXPECT_TRUE(ScriptedAsk::calls.empty());
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
        ScriptedAsk::calls.clear();
        ScriptedAsk::answer = c.answer;
        if (QueryBin().i64NumItems == 0) {
            RecycleThreeFiles();
        }
        const SHQUERYRBINFO before = QueryBin();
        ASSERT_EQ(before.i64NumItems, 3);
        ASSERT_EQ(before.i64Size, 1536);

        EXPECT_EQ(EmptyRecycleBin(true, nullptr, 0), c.result);

        ASSERT_EQ(ScriptedAsk::calls.size(), 1u);
        EXPECT_EQ(ScriptedAsk::calls[0].text, L"ごみ箱を空にしますか？\r\n\r\nファイル総数 3個 (1.50 KB)");
        EXPECT_EQ(ScriptedAsk::calls[0].caption, L"ファイル削除の確認");
        EXPECT_EQ(ScriptedAsk::calls[0].type, 33u);
        EXPECT_EQ(QueryBin().i64NumItems, c.emptied ? 0 : 3);
    }
    ScriptedAsk::answer = IDOK;
    EmptyRecycleBin(true, nullptr, 0);
}

} // namespace
} // namespace tavimo
