#pragma once
// Stands in for every confirmation and message box for one scope: records each question and answers
// as scripted, without showing anything.

#include "platform/ask.h"
#include "platform/busy.h"
#include "seam.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tavimo::test_support {

struct AskCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
    bool busy; // the busy flag while the box was up
};

class AskRecorder {
  public:
    // Every question gets `answer` unless answers were queued with Then.
    explicit AskRecorder(int answer = IDYES) : answer_(answer), seam_(g_ask, &Record) { current_ = this; }
    ~AskRecorder() { current_ = nullptr; }
    AskRecorder(const AskRecorder&) = delete;
    AskRecorder& operator=(const AskRecorder&) = delete;

    // The next questions' answers, in order; once they are used up, the standing answer again.
    AskRecorder& Then(int answer) {
        queued_.push_back(answer);
        return *this;
    }
    void Answer(int answer) { answer_ = answer; }
    // Runs while each box would be up, to look at the program as it is then.
    void OnAsk(std::function<void()> look) { look_ = std::move(look); }

    const std::vector<AskCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }

  private:
    static int WINAPI Record(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
        AskRecorder& self = *current_;
        self.calls_.push_back({owner, text ? text : L"", caption ? caption : L"", type, IsBusy()});
        if (self.look_) {
            self.look_();
        }
        if (!self.queued_.empty()) {
            const int answer = self.queued_.front();
            self.queued_.pop_front();
            return answer;
        }
        return self.answer_;
    }

    static inline AskRecorder* current_ = nullptr;
    int answer_;
    std::deque<int> queued_;
    std::function<void()> look_;
    std::vector<AskCall> calls_;
    ScopedOverride<AskFunction> seam_;
};

} // namespace tavimo::test_support
