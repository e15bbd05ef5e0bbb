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

struct CDeleteDC {
    void operator()(HDC h) const { ::DeleteDC(h); }
};
struct CDeleteGdiObject {
    void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
struct CDestroyIcon {
    void operator()(HICON h) const { ::DestroyIcon(h); }
};
struct CCloseRegKey {
    void operator()(HKEY h) const { ::RegCloseKey(h); }
};
struct CCloseHandle {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct CDestroyMenu {
    void operator()(HMENU h) const { ::DestroyMenu(h); }
};
struct CFreeLibrary {
    void operator()(HMODULE h) const { ::FreeLibrary(h); }
};

using CScopedMemoryDC = CScopedHandle<HDC, CDeleteDC>;
using CScopedPen = CScopedHandle<HPEN, CDeleteGdiObject>;
using CScopedBrush = CScopedHandle<HBRUSH, CDeleteGdiObject>;
using CScopedBitmap = CScopedHandle<HBITMAP, CDeleteGdiObject>;
using CScopedIcon = CScopedHandle<HICON, CDestroyIcon>;
using CScopedRegKey = CScopedHandle<HKEY, CCloseRegKey>;
// A kernel object (process, thread, mutex); not for the handles that signal failure with
// INVALID_HANDLE_VALUE.
using CScopedKernelHandle = CScopedHandle<HANDLE, CCloseHandle>;
// A menu loaded from a template; never a window's own menu, which goes with the window.
using CScopedMenu = CScopedHandle<HMENU, CDestroyMenu>;
// A library loaded with LoadLibrary, never one found with GetModuleHandle.
using CScopedLibrary = CScopedHandle<HMODULE, CFreeLibrary>;

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
