// Scope-bound owners for the Win32 handles the program creates. Each releases its handle the
// way the platform demands (DeleteDC for a created DC, ReleaseDC for a borrowed one, select
// back before delete), so a leak or a wrong release cannot be written by accident.
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle and releases it with Release::operator() on scope exit.
template <class Handle, class Release>
class CScopedHandle {
public:
    CScopedHandle() = default;
    explicit CScopedHandle(Handle h) : m_h(h) {}
    ~CScopedHandle() { Reset(); }
    CScopedHandle(CScopedHandle&& other) noexcept : m_h(std::exchange(other.m_h, Handle{})) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_h = std::exchange(other.m_h, Handle{});
        }
        return *this;
    }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    Handle Get() const { return m_h; }
    explicit operator bool() const { return m_h != Handle{}; }
    Handle Detach() { return std::exchange(m_h, Handle{}); }
    void Reset(Handle h = Handle{})
    {
        if (m_h != Handle{})
            Release{}(m_h);
        m_h = h;
    }

private:
    Handle m_h{};
};

// Releases a handle with the platform function that the handle's kind demands.
template <auto pfnRelease>
struct CReleaseWith {
    template <class Handle>
    void operator()(Handle h) const
    {
        pfnRelease(h);
    }
};
struct CReleaseMutex {
    void operator()(HANDLE h) const
    {
        ::ReleaseMutex(h);
        ::CloseHandle(h);
    }
};

using CScopedMemoryDC = CScopedHandle<HDC, CReleaseWith<&::DeleteDC>>;
using CScopedPen = CScopedHandle<HPEN, CReleaseWith<&::DeleteObject>>;
using CScopedBrush = CScopedHandle<HBRUSH, CReleaseWith<&::DeleteObject>>;
using CScopedBitmap = CScopedHandle<HBITMAP, CReleaseWith<&::DeleteObject>>;
using CScopedIcon = CScopedHandle<HICON, CReleaseWith<&::DestroyIcon>>;
using CScopedRegKey = CScopedHandle<HKEY, CReleaseWith<&::RegCloseKey>>;
// A kernel object (process, thread, mutex); not for the handles that signal failure with
// INVALID_HANDLE_VALUE.
using CScopedKernelHandle = CScopedHandle<HANDLE, CReleaseWith<&::CloseHandle>>;
// A menu loaded from a template; never a window's own menu, which goes with the window.
using CScopedMenu = CScopedHandle<HMENU, CReleaseWith<&::DestroyMenu>>;
// A library loaded with LoadLibrary, never one found with GetModuleHandle.
using CScopedLibrary = CScopedHandle<HMODULE, CReleaseWith<&::FreeLibrary>>;
// A mutex that this thread holds: given back, on this thread, then closed.
using CScopedHeldMutex = CScopedHandle<HANDLE, CReleaseMutex>;

// A device context borrowed from a window (GetDC), handed back with ReleaseDC.
class CWindowDC {
public:
    explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CWindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// Selects a GDI object into a DC and selects the previous one back on scope exit, so that the
// object is no longer selected when its own owner deletes it.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    ~CSelectObject() { ::SelectObject(m_hDC, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// BeginPaint/EndPaint as one scope.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
    PAINTSTRUCT m_ps{};
};
