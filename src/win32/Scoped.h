#pragma once
#include <windows.h>

#include <utility>

// Holders that free the handle they own when they go out of scope; reset() frees the
// old handle and takes a new one. Move-only: one owner per handle.
namespace tobla {

template <typename Traits>
class Scoped {
public:
    using Handle = typename Traits::Handle;

    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    ~Scoped() { reset(); }
    Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Traits::None())) {}
    Scoped& operator=(Scoped&& other) noexcept {
        reset(std::exchange(other.handle_, Traits::None()));
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    void reset(Handle handle = Traits::None()) {
        if (Traits::Valid(handle_)) Traits::Free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::None();
};

namespace scoped {

template <typename T>
struct GdiObject {
    using Handle = T;
    static T None() { return nullptr; }
    static bool Valid(T handle) { return handle != nullptr; }
    static void Free(T handle) { DeleteObject(handle); }
};

// Kernel handles: a failed CreateFile gives INVALID_HANDLE_VALUE, other calls null.
struct KernelObject {
    using Handle = HANDLE;
    static HANDLE None() { return nullptr; }
    static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};

struct FindSearch {
    using Handle = HANDLE;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { FindClose(handle); }
};

struct Menu {
    using Handle = HMENU;
    static HMENU None() { return nullptr; }
    static bool Valid(HMENU handle) { return handle != nullptr; }
    static void Free(HMENU handle) { DestroyMenu(handle); }
};

struct Icon {
    using Handle = HICON;
    static HICON None() { return nullptr; }
    static bool Valid(HICON handle) { return handle != nullptr; }
    static void Free(HICON handle) { DestroyIcon(handle); }
};

}  // namespace scoped

using ScopedFont = Scoped<scoped::GdiObject<HFONT>>;
using ScopedBrush = Scoped<scoped::GdiObject<HBRUSH>>;
using ScopedHandle = Scoped<scoped::KernelObject>;  // files, processes, threads
using ScopedFind = Scoped<scoped::FindSearch>;      // FindFirstFile's search
using ScopedMenu = Scoped<scoped::Menu>;
using ScopedIcon = Scoped<scoped::Icon>;  // one loaded without LR_SHARED

// A window's device context (the screen's for no window), released with the window.
class WindowDC {
public:
    explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { reset(); }
    WindowDC(WindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& other) noexcept {
        reset();
        window_ = other.window_;
        dc_ = std::exchange(other.dc_, nullptr);
        return *this;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    void reset() {
        if (dc_) ReleaseDC(window_, std::exchange(dc_, nullptr));
    }

private:
    HWND window_;
    HDC dc_;
};

// The device context of a WM_PAINT, clipped to what needs painting; the paint ends with it.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace tobla
