// Owning wrappers for the handles the runtime creates.
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

template <typename H, typename Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(H handle) : handle_(handle) {}
    ~Unique() { Reset(); }
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, H{});
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != H{}; }
    void Reset(H handle = H{}) {
        if (handle_ != H{}) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    H handle_{};
};

struct FontTraits {
    static void Close(HFONT font) { DeleteObject(font); }
};
using UniqueFont = Unique<HFONT, FontTraits>;

struct BitmapTraits {
    static void Close(HBITMAP bitmap) { DeleteObject(bitmap); }
};
using UniqueBitmap = Unique<HBITMAP, BitmapTraits>;

struct MemoryDCTraits {
    static void Close(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDC = Unique<HDC, MemoryDCTraits>;

struct WindowTraits {
    static void Close(HWND window) { DestroyWindow(window); }
};
using UniqueWindow = Unique<HWND, WindowTraits>;

// A window's device context for drawing outside WM_PAINT.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for the lifetime of the scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selected() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint/EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

} // namespace win32
