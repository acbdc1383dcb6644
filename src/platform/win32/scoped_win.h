#pragma once

#include <windows.h>

#include <objbase.h>

// Scoped owners of Win32 resources: each gives back what it holds when its scope ends, so an early return
// can neither leak a GDI object or a COM reference nor leave an object selected or a device context held.
// Declare an object before the selection that selects it: scopes end in reverse order, so the selection is
// undone before the object is deleted.

// A GDI object (pen, brush, font, bitmap) deleted at the end of the scope.
template <typename Handle> class ScopedGdiObject {
  public:
    explicit ScopedGdiObject(Handle handle) : handle_(handle) {}
    ~ScopedGdiObject() {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    Handle handle_;
};

using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// An object selected into a device context; the one it replaced is selected again at the end of the scope.
// A null context or object selects nothing.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

    // False when nothing was selected.
    bool Ok() const { return previous_ != nullptr; }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context (GetDC, or GetDCEx with `flags`), released at the end of the scope. A null window
// gives no context rather than the whole screen's. A thread other than the window's asks for DCX_CACHE: a
// window with a context of its own would otherwise hand it the one its thread is drawing with.
class ScopedGetDC {
  public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(window != nullptr ? GetDC(window) : nullptr) {}
    ScopedGetDC(HWND window, DWORD flags)
        : window_(window), dc_(window != nullptr ? GetDCEx(window, nullptr, flags) : nullptr) {}
    ~ScopedGetDC() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// The screen's device context (GetDC of no window), released at the end of the scope.
class ScopedScreenDC {
  public:
    ScopedScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScopedScreenDC() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScopedScreenDC(const ScopedScreenDC&) = delete;
    ScopedScreenDC& operator=(const ScopedScreenDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HDC dc_;
};

// A memory device context compatible with another (CreateCompatibleDC), deleted at the end of the scope.
class ScopedMemoryDC {
  public:
    explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT; EndPaint runs even when BeginPaint gave no context.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// COM initialised for the calling thread for the scope; uninitialised only when this scope's call succeeded
// (S_FALSE, already initialised, still counts and must be balanced).
class ScopedCom {
  public:
    explicit ScopedCom(DWORD model = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, model)) {}
    ~ScopedCom() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

    bool Ok() const { return SUCCEEDED(result_); }
    // COM was up on this thread before the scope, and stays up after it.
    bool WasUp() const { return result_ == S_FALSE || result_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result_;
};

// A COM interface pointer released at the end of the scope.
template <typename Interface> class ScopedComPtr {
  public:
    ScopedComPtr() = default;
    ~ScopedComPtr() { Reset(); }
    ScopedComPtr(const ScopedComPtr&) = delete;
    ScopedComPtr& operator=(const ScopedComPtr&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // Releases what is held and gives the slot a creating call fills.
    Interface** Out() {
        Reset();
        return &pointer_;
    }
    // The same slot for the calls that take a void** (CoCreateInstance, Activate).
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

  private:
    void Reset() {
        if (pointer_ != nullptr) {
            pointer_->Release();
            pointer_ = nullptr;
        }
    }

    Interface* pointer_ = nullptr;
};
