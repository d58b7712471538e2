// Small replacements for parts of the static C++ runtime. Linked straight into the shipped exe and
// DLL (not through the platform library), so that they are in before libstdc++ is searched and its
// own objects are never pulled in.
#include <cstdlib>
#include <exception> // defines __GLIBCXX__ when the library is libstdc++
#include <new>

#if defined(__GLIBCXX__)

namespace {

// What the runtime's length and range checks throw here. Nothing catches them by type (every entry
// from the system catches everything at its edge), and the standard's classes would bring in both
// string implementations of the runtime (~50 KB) for their messages.
class LibraryFault final : public std::exception {
  public:
    explicit LibraryFault(const char* what) noexcept : what_(what) {}
    const char* what() const noexcept override { return what_; }

  private:
    const char* what_;
};

} // namespace

// libstdc++'s default terminate handler and failed-assertion report write to stderr, which a GUI
// program doesn't have, and bring the demangler and a printf engine (~100 KB) with them. A terminate or
// a failed bounds check means a fault: end at once, as MSVC's runtime does.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

namespace std {

void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept {
    std::abort();
}

void __throw_bad_alloc() {
    throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
    throw std::bad_array_new_length();
}
void __throw_bad_function_call() {
    throw LibraryFault("bad function call");
}
void __throw_length_error(const char* what) {
    throw LibraryFault(what);
}
void __throw_logic_error(const char* what) {
    throw LibraryFault(what);
}
void __throw_out_of_range_fmt(const char* format, ...) {
    throw LibraryFault(format);
}

} // namespace std

#endif
