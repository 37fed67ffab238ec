#pragma once

#include <windows.h>

#include <utility>

// Owns a DC obtained with GetDC; the DC goes back to the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Owns a GDI object created on our behalf, such as the bitmaps GetIconInfo hands back.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object = nullptr) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GdiObject& operator=(GdiObject&&) = delete;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

// Owns a kernel handle such as a process handle.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() {
        if (handle_) CloseHandle(handle_);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// Joins our input queue to another thread's for as long as it lives.
class AttachedInput {
public:
    AttachedInput(DWORD ours, DWORD theirs)
        : ours_(ours), theirs_(theirs), attached_(ours != theirs && AttachThreadInput(ours, theirs, TRUE)) {}
    ~AttachedInput() {
        if (attached_) AttachThreadInput(ours_, theirs_, FALSE);
    }
    AttachedInput(const AttachedInput&) = delete;
    AttachedInput& operator=(const AttachedInput&) = delete;

private:
    DWORD ours_;
    DWORD theirs_;
    bool attached_;
};
