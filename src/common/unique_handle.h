#pragma once
// One owning wrapper for every kind of system handle: copy deleted, move allowed. A raw handle is
// always borrowed; only Unique owns.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <oleauto.h>
#include <shtypes.h>

#include <utility>

namespace ferryl {

template <typename Traits>
class Unique {
  public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle handle) noexcept : m_handle(handle) {}
    ~Unique() { reset(); }

    Unique(Unique&& other) noexcept : m_handle(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Handle get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

    Handle release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) noexcept {
        Handle old = std::exchange(m_handle, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    // For out-parameters: releases what is held and hands out the slot.
    Handle* put() noexcept {
        reset();
        return &m_handle;
    }

  private:
    Handle m_handle = Traits::Invalid();
};

template <typename H, auto CloseFn>
struct NullInvalidTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { CloseFn(handle); }
};

template <typename H, auto CloseFn>
struct MinusOneInvalidTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { CloseFn(handle); }
};

using UniqueHandle = Unique<NullInvalidTraits<HANDLE, &::CloseHandle>>;
using UniqueMutex = UniqueHandle;
using UniqueFile = Unique<MinusOneInvalidTraits<HANDLE, &::CloseHandle>>;
using UniqueFind = Unique<MinusOneInvalidTraits<HANDLE, &::FindClose>>;
using UniqueRegKey = Unique<NullInvalidTraits<HKEY, &::RegCloseKey>>;
using UniqueGlobal = Unique<NullInvalidTraits<HGLOBAL, &::GlobalFree>>;
using UniqueFont = Unique<NullInvalidTraits<HFONT, &::DeleteObject>>;
using UniqueBrush = Unique<NullInvalidTraits<HBRUSH, &::DeleteObject>>;
using UniquePen = Unique<NullInvalidTraits<HPEN, &::DeleteObject>>;
using UniqueBitmap = Unique<NullInvalidTraits<HBITMAP, &::DeleteObject>>;
// A DC of CreateCompatibleDC or CreateDC (a printer's): not one of GetDC or BeginPaint.
using UniqueMemoryDC = Unique<NullInvalidTraits<HDC, &::DeleteDC>>;
using UniqueIcon = Unique<NullInvalidTraits<HICON, &::DestroyIcon>>;
using UniqueMenu = Unique<NullInvalidTraits<HMENU, &::DestroyMenu>>;
using UniqueImageList = Unique<NullInvalidTraits<HIMAGELIST, &::ImageList_Destroy>>;
using UniqueBstr = Unique<NullInvalidTraits<BSTR, &::SysFreeString>>;
// A shell item identifier list, such as SHBrowseForFolderW returns (task allocator).
using UniqueIdList = Unique<NullInvalidTraits<PIDLIST_ABSOLUTE, &::CoTaskMemFree>>;
// A string the shell allocated with the task allocator, such as SHGetKnownFolderPath's.
using UniqueTaskString = Unique<NullInvalidTraits<PWSTR, &::CoTaskMemFree>>;

// A COM interface reference: Release instead of a close function.
template <typename Interface>
struct ComReleaseTraits {
    using Handle = Interface*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle object) noexcept { object->Release(); }
};
template <typename Interface>
using UniqueCom = Unique<ComReleaseTraits<Interface>>;

// The three guards that do not fit Unique: they need a second value to give the resource back.

class PaintDC {
  public:
    explicit PaintDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_dc(::BeginPaint(hwnd, &m_paint)) {}
    ~PaintDC() { ::EndPaint(m_hwnd, &m_paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const noexcept { return m_dc; }
    const PAINTSTRUCT& paint() const noexcept { return m_paint; }

  private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~WindowDC() {
        if (m_dc)
            ::ReleaseDC(m_hwnd, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

  private:
    HWND m_hwnd;
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back on destruction.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (m_previous)
            ::SelectObject(m_dc, m_previous);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace ferryl
