#pragma once
// Sets (or, with null, removes) one environment variable of this process for one scope, and puts the
// previous state back on every way out. Programs started meanwhile inherit the value.

#include <windows.h>

#include <optional>
#include <string>

namespace tavimo::test_support {

class ScopedEnvironment {
  public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
        const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
        if (length > 0) {
            std::wstring previous(length, L'\0');
            previous.resize(::GetEnvironmentVariableW(name, previous.data(), length));
            previous_ = previous;
        }
        ::SetEnvironmentVariableW(name, value);
    }
    ~ScopedEnvironment() {
        ::SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::wstring name_;
    std::optional<std::wstring> previous_;
};

} // namespace tavimo::test_support
