#pragma once
// Owners for every handle, GDI object and GDI+ object the code acquires: the
// one place each kind is released. An owner is move-only; get() lends the raw
// value, release() hands it on, put() receives it from an out-parameter.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

struct NullIsEmpty {
    template <typename T>
    static bool Holds(T value) { return value != T(); }
};
// CreateFileW and FindFirstFileW fail with INVALID_HANDLE_VALUE, not null.
struct InvalidHandleIsEmpty {
    static bool Holds(HANDLE value) { return value && value != INVALID_HANDLE_VALUE; }
};

template <typename T, auto Release, typename Emptiness = NullIsEmpty>
class Unique {
public:
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return Emptiness::Holds(value_); }
    T release()
    {
        T value = value_;
        value_ = T();
        return value;
    }
    void reset(T value = T())
    {
        if (Emptiness::Holds(value_))
            Release(value_);
        value_ = value;
    }
    // Frees what is held, then lends the slot to a function that fills it.
    T* put()
    {
        reset();
        return &value_;
    }

private:
    T value_ = T();
};

namespace owner_release {
inline void ProcessHeapFree(void* block) { HeapFree(GetProcessHeap(), 0, block); }
inline void VirtualRelease(void* pages) { VirtualFree(pages, 0, MEM_RELEASE); }
inline void DisposeGdipBitmap(Gdiplus::GpBitmap* bitmap) { Gdiplus::DllExports::GdipDisposeImage(bitmap); }
inline void DisposeGdipImage(Gdiplus::GpImage* image) { Gdiplus::DllExports::GdipDisposeImage(image); }
inline void DeleteGdipGraphics(Gdiplus::GpGraphics* graphics) { Gdiplus::DllExports::GdipDeleteGraphics(graphics); }
inline void DeleteGdipPen(Gdiplus::GpPen* pen) { Gdiplus::DllExports::GdipDeletePen(pen); }
inline void DeleteGdipBrush(Gdiplus::GpSolidFill* brush) { Gdiplus::DllExports::GdipDeleteBrush(brush); }
inline void DeleteGdipFont(Gdiplus::GpFont* font) { Gdiplus::DllExports::GdipDeleteFont(font); }
inline void DeleteGdipFontFamily(Gdiplus::GpFontFamily* family) { Gdiplus::DllExports::GdipDeleteFontFamily(family); }
inline void DeleteGdipStringFormat(Gdiplus::GpStringFormat* format)
{
    Gdiplus::DllExports::GdipDeleteStringFormat(format);
}
template <typename T>
void ComRelease(T* object) { object->Release(); }
}  // namespace owner_release

using UniqueHandle = Unique<HANDLE, CloseHandle, InvalidHandleIsEmpty>;
using UniqueFind = Unique<HANDLE, FindClose, InvalidHandleIsEmpty>;
using UniqueModule = Unique<HMODULE, FreeLibrary>;
using UniqueMenu = Unique<HMENU, DestroyMenu>;
using UniqueWindow = Unique<HWND, DestroyWindow>;
using UniqueMemoryDC = Unique<HDC, DeleteDC>;
using UniqueBitmap = Unique<HBITMAP, DeleteObject>;
using UniqueGdiObject = Unique<HGDIOBJ, DeleteObject>;
using UniqueHeapBlock = Unique<void*, owner_release::ProcessHeapFree>;
// A file this code created by name, deleted again unless release() hands it on.
using UniqueTemporaryFile = Unique<const wchar_t*, DeleteFileW>;
using UniqueVirtualMemory = Unique<void*, owner_release::VirtualRelease>;
using UniqueGdipBitmap = Unique<Gdiplus::GpBitmap*, owner_release::DisposeGdipBitmap>;
using UniqueGdipImage = Unique<Gdiplus::GpImage*, owner_release::DisposeGdipImage>;
using UniqueGdipGraphics = Unique<Gdiplus::GpGraphics*, owner_release::DeleteGdipGraphics>;
using UniqueGdipPen = Unique<Gdiplus::GpPen*, owner_release::DeleteGdipPen>;
using UniqueGdipBrush = Unique<Gdiplus::GpSolidFill*, owner_release::DeleteGdipBrush>;
using UniqueGdipFont = Unique<Gdiplus::GpFont*, owner_release::DeleteGdipFont>;
using UniqueGdipFontFamily = Unique<Gdiplus::GpFontFamily*, owner_release::DeleteGdipFontFamily>;
using UniqueGdipStringFormat = Unique<Gdiplus::GpStringFormat*, owner_release::DeleteGdipStringFormat>;
template <typename T>
using UniqueCom = Unique<T*, owner_release::ComRelease<T>>;

// GetDC's context, given back with ReleaseDC to the window it came from.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedGetDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A window class registered from `windowClass`, unregistered when the owner
// goes. A class with windows left cannot go: declare the windows' owners after it.
class ScopedWindowClass {
public:
    explicit ScopedWindowClass(const WNDCLASSW& windowClass)
        : name_(windowClass.lpszClassName), instance_(windowClass.hInstance),
          registered_(RegisterClassW(&windowClass) != 0)
    {
    }
    // An ANSI class, as some players register theirs.
    explicit ScopedWindowClass(const WNDCLASSA& windowClass)
        : ansiName_(windowClass.lpszClassName), instance_(windowClass.hInstance),
          registered_(RegisterClassA(&windowClass) != 0)
    {
    }
    ~ScopedWindowClass()
    {
        if (registered_ && ansiName_)
            UnregisterClassA(ansiName_, instance_);
        else if (registered_)
            UnregisterClassW(name_, instance_);
    }
    ScopedWindowClass(const ScopedWindowClass&) = delete;
    ScopedWindowClass& operator=(const ScopedWindowClass&) = delete;
    explicit operator bool() const { return registered_; }

private:
    const wchar_t* name_ = nullptr;
    const char* ansiName_ = nullptr;
    HINSTANCE instance_;
    bool registered_;
};

// Selects an object into a context and puts the previous one back, so the
// object can be deleted afterwards: declare it after the object's owner.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    bool selected() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
