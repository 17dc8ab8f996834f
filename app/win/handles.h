#pragma once
// Owners of the handles the program gets from Windows: each releases its handle on every path
// out, can be moved but not copied, and hands the raw handle to the calls that need it.
#include <windows.h>

#include <objbase.h>
#include <ole2.h>

#include <utility>

namespace tilvane::win {

// One owned handle; Traits says what "none" is and how a handle is released.
template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) noexcept : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~Owned() { Reset(); }

    [[nodiscard]] Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::Valid(handle_); }
    // Gives the handle up without releasing it.
    [[nodiscard]] Handle Release() noexcept { return std::exchange(handle_, Traits::None()); }
    void Reset(Handle handle = Traits::None()) noexcept {
        if (Traits::Valid(handle_)) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::None();
};

namespace traits {

template <class H, auto Close_Function>
struct Null_Is_None {
    using Handle = H;
    static constexpr Handle None() noexcept { return nullptr; }
    static bool Valid(Handle handle) noexcept { return handle != nullptr; }
    static void Close(Handle handle) noexcept { Close_Function(handle); }
};

// Kernel calls answer "none" with null or with INVALID_HANDLE_VALUE, by call.
struct Kernel {
    using Handle = HANDLE;
    static Handle None() noexcept { return nullptr; }
    static bool Valid(Handle handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};
}  // namespace traits

// A file, process or thread handle.
using Kernel_Handle = Owned<traits::Kernel>;
// A bitmap, brush, pen or font of one's own (not a stock object).
template <class Object>
using Gdi_Object = Owned<traits::Null_Is_None<Object, DeleteObject>>;
// A device context of one's own: CreateCompatibleDC.
using Memory_Dc = Owned<traits::Null_Is_None<HDC, DeleteDC>>;
using Icon = Owned<traits::Null_Is_None<HICON, DestroyIcon>>;
using Enhanced_Metafile = Owned<traits::Null_Is_None<HENHMETAFILE, DeleteEnhMetaFile>>;
using Registry_Key = Owned<traits::Null_Is_None<HKEY, RegCloseKey>>;
// Memory the shell hands out, such as an item identifier list.
template <class Pointer>
using Co_Task_Memory = Owned<traits::Null_Is_None<Pointer, CoTaskMemFree>>;

// A COM interface pointer, released once.
template <class Interface>
class Com_Pointer {
public:
    Com_Pointer() = default;
    Com_Pointer(const Com_Pointer&) = delete;
    Com_Pointer& operator=(const Com_Pointer&) = delete;
    ~Com_Pointer() {
        if (pointer_) pointer_->Release();
    }
    Interface* operator->() const noexcept { return pointer_; }
    [[nodiscard]] Interface* Get() const noexcept { return pointer_; }
    // For CoCreateInstance and QueryInterface.
    [[nodiscard]] void** Out() noexcept {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
        return reinterpret_cast<void**>(&pointer_);
    }

private:
    Interface* pointer_ = nullptr;
};

// OLE started on this thread for the length of a scope, and stopped if this scope started it.
class Ole_Session {
public:
    Ole_Session() noexcept : started_(SUCCEEDED(OleInitialize(nullptr))) {}
    Ole_Session(const Ole_Session&) = delete;
    Ole_Session& operator=(const Ole_Session&) = delete;
    ~Ole_Session() {
        if (started_) OleUninitialize();
    }

private:
    bool started_;
};

// A window's device context from GetDC (null: the screen's), given back with ReleaseDC.
class Window_Dc {
public:
    explicit Window_Dc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    Window_Dc(const Window_Dc&) = delete;
    Window_Dc& operator=(const Window_Dc&) = delete;
    ~Window_Dc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    [[nodiscard]] HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of one WM_PAINT: BeginPaint, and EndPaint on the way out.
class Paint_Dc {
public:
    explicit Paint_Dc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    Paint_Dc(const Paint_Dc&) = delete;
    Paint_Dc& operator=(const Paint_Dc&) = delete;
    ~Paint_Dc() { EndPaint(window_, &paint_); }
    [[nodiscard]] HDC Get() const noexcept { return dc_; }
    [[nodiscard]] const RECT& Area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context until the end of the scope, when the one it replaced
// goes back. Declared after the owner of the object, so the object is out of the context before
// its owner deletes it.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tilvane::win
