#pragma once
// Small move-only owners for Win32 handles: one alias per handle kind, each closed by its own function.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace tavimo {

template <typename T> struct null_invalid {
    static constexpr T value() noexcept { return T{}; }
};
// CreateFile and FindFirstFile report failure with INVALID_HANDLE_VALUE, not null.
struct invalid_handle_value {
    static HANDLE value() noexcept { return INVALID_HANDLE_VALUE; }
};

template <typename T, auto Close, typename Invalid = null_invalid<T>> class unique_any {
  public:
    unique_any() noexcept = default;
    explicit unique_any(T value) noexcept : value_(value) {}
    ~unique_any() { reset(); }

    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Invalid::value(); }

    // For APIs that fill an out-parameter; drops whatever was held first.
    T* put() noexcept {
        reset();
        return &value_;
    }

    // When the system takes ownership (a submenu after insertion, for example).
    [[nodiscard]] T release() noexcept { return std::exchange(value_, Invalid::value()); }

    void reset(T value = Invalid::value()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Invalid::value()) {
            Close(old);
        }
    }

  private:
    T value_ = Invalid::value();
};

namespace detail {
inline void CloseHandleFn(HANDLE h) noexcept {
    ::CloseHandle(h);
}
inline void FindCloseFn(HANDLE h) noexcept {
    ::FindClose(h);
}
inline void RegCloseKeyFn(HKEY k) noexcept {
    ::RegCloseKey(k);
}
inline void DestroyMenuFn(HMENU m) noexcept {
    ::DestroyMenu(m);
}
inline void DeleteObjectFn(HGDIOBJ o) noexcept {
    ::DeleteObject(o);
}
inline void FreeLibraryFn(HMODULE m) noexcept {
    ::FreeLibrary(m);
}
inline void DestroyIconFn(HICON i) noexcept {
    ::DestroyIcon(i);
}
inline void ImageListDestroyFn(HIMAGELIST l) noexcept {
    ::ImageList_Destroy(l);
}
inline void DestroyWindowFn(HWND w) noexcept {
    ::DestroyWindow(w);
}
inline void LocalFreeFn(HLOCAL h) noexcept {
    ::LocalFree(h);
}
inline void DestroyAccelFn(HACCEL a) noexcept {
    ::DestroyAcceleratorTable(a);
}
} // namespace detail

using unique_handle = unique_any<HANDLE, detail::CloseHandleFn>;
using unique_file = unique_any<HANDLE, detail::CloseHandleFn, invalid_handle_value>;
using unique_find = unique_any<HANDLE, detail::FindCloseFn, invalid_handle_value>;
using unique_hkey = unique_any<HKEY, detail::RegCloseKeyFn>;
using unique_hmenu = unique_any<HMENU, detail::DestroyMenuFn>;
using unique_gdi = unique_any<HGDIOBJ, detail::DeleteObjectFn>;
using unique_hfont = unique_any<HFONT, detail::DeleteObjectFn>;
using unique_hmodule = unique_any<HMODULE, detail::FreeLibraryFn>;
using unique_hicon = unique_any<HICON, detail::DestroyIconFn>;
using unique_imagelist = unique_any<HIMAGELIST, detail::ImageListDestroyFn>;
using unique_hwnd = unique_any<HWND, detail::DestroyWindowFn>;
using unique_hlocal = unique_any<HLOCAL, detail::LocalFreeFn>;
using unique_haccel = unique_any<HACCEL, detail::DestroyAccelFn>;

// Runs a callable when the scope ends, on every path out.
template <typename F> class scope_exit {
  public:
    explicit scope_exit(F f) noexcept : f_(std::move(f)) {}
    ~scope_exit() {
        if (active_) {
            f_();
        }
    }
    scope_exit(const scope_exit&) = delete;
    scope_exit& operator=(const scope_exit&) = delete;
    void dismiss() noexcept { active_ = false; }

  private:
    F f_;
    bool active_ = true;
};

} // namespace tavimo
