#pragma once
// Stands in for the power calls for one scope: records each call with its arguments, one line each,
// and answers as scripted. Nothing is suspended, logged off or shut down.

#include "chores/power.h"
#include "seam.h"

#include <string>
#include <vector>

namespace tavimo::test_support {

class FakePower {
  public:
    enum class Step { None, OpenToken, LookUp, Adjust, Exit, Suspend };

    // `failing` answers 0 (FALSE); every other step succeeds.
    explicit FakePower(Step failing = Step::None) : failing_(failing), seam_(g_power, Api()) {
        current_ = this;
    }
    ~FakePower() { current_ = nullptr; }
    FakePower(const FakePower&) = delete;
    FakePower& operator=(const FakePower&) = delete;

    const std::vector<std::string>& Calls() const { return calls_; }

    // Only the calls that would change the machine: ExitWindowsEx and SetSuspendState.
    std::vector<std::string> Actions() const {
        std::vector<std::string> actions;
        for (const std::string& call : calls_) {
            if (call.starts_with("ExitWindowsEx") || call.starts_with("SetSuspendState")) {
                actions.push_back(call);
            }
        }
        return actions;
    }

    // The token handed out is a real handle of the test process, so closing it can be seen.
    bool TokenHandedOut() const { return token_ != nullptr; }
    bool TokenClosed() const {
        DWORD flags = 0;
        return !::GetHandleInformation(token_, &flags);
    }

    static constexpr DWORD kShutdownLuid = 19;

  private:
    static PowerApi Api() { return {&OpenToken, &LookUp, &Adjust, &Exit, &Suspend}; }
    static std::string Number(unsigned long long value) { return std::to_string(value); }

    static BOOL WINAPI OpenToken(HANDLE process, DWORD access, PHANDLE token) {
        FakePower& self = *current_;
        self.calls_.push_back("OpenProcessToken " +
                              std::string(process == ::GetCurrentProcess() ? "self " : "other ") +
                              Number(access));
        if (self.failing_ == Step::OpenToken) {
            return FALSE;
        }
        self.token_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        *token = self.token_;
        return TRUE;
    }

    static BOOL WINAPI LookUp(LPCSTR systemName, LPCSTR name, PLUID luid) {
        FakePower& self = *current_;
        self.calls_.push_back("LookupPrivilegeValueA " + std::string(systemName ? systemName : "local") +
                              " " + std::string(name ? name : "null"));
        if (self.failing_ == Step::LookUp) {
            return FALSE;
        }
        *luid = LUID{kShutdownLuid, 0};
        return TRUE;
    }

    static BOOL WINAPI Adjust(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                              PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
        FakePower& self = *current_;
        std::string call = "AdjustTokenPrivileges " + std::string(token == self.token_ ? "token" : "other") +
                           " disableAll " + Number(static_cast<unsigned>(disableAll));
        if (newState) {
            call += " count " + Number(newState->PrivilegeCount);
            for (DWORD i = 0; i < newState->PrivilegeCount && i < ANYSIZE_ARRAY; ++i) {
                const LUID_AND_ATTRIBUTES& entry = newState->Privileges[i];
                call += " luid " + Number(entry.Luid.LowPart) + "/" +
                        Number(static_cast<unsigned>(entry.Luid.HighPart)) + " attributes " +
                        Number(entry.Attributes);
            }
        }
        call += " length " + Number(bufferLength) +
                (previousState && returnLength ? " previous" : " no-previous");
        self.calls_.push_back(call);
        return self.failing_ == Step::Adjust ? FALSE : TRUE;
    }

    static BOOL WINAPI Exit(UINT flags, DWORD reason) {
        current_->calls_.push_back("ExitWindowsEx " + Number(flags) + " " + Number(reason));
        return current_->failing_ == Step::Exit ? FALSE : TRUE;
    }

    static BOOLEAN WINAPI Suspend(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
        current_->calls_.push_back("SetSuspendState " + Number(hibernate) + " " + Number(force) + " " +
                                   Number(wakeEventsDisabled));
        return current_->failing_ == Step::Suspend ? FALSE : TRUE;
    }

    static inline FakePower* current_ = nullptr;
    Step failing_;
    std::vector<std::string> calls_;
    HANDLE token_ = nullptr;
    ScopedOverride<PowerApi> seam_;
};

} // namespace tavimo::test_support
