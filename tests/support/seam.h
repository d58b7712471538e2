#pragma once
// Replaces a seam (a function pointer, a table of them, any assignable value) for one scope; the
// destructor puts the previous value back on every way out, a failed ASSERT included.

#include <utility>

namespace tavimo::test_support {

template <typename T> class ScopedOverride {
  public:
    ScopedOverride(T& target, T replacement) : target_(target), saved_(std::move(target)) {
        target_ = std::move(replacement);
    }
    ~ScopedOverride() { target_ = std::move(saved_); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

  private:
    T& target_;
    T saved_;
};

} // namespace tavimo::test_support
