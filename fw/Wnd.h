// CWnd: a C++ object attached to one window. A window the program did not register itself (a
// dialog, a template control) is subclassed, so that its messages reach the virtual WindowProc;
// WindowProc routes them through the class's static message map (MessageMap.h) and hands the
// rest to the window's original procedure.
//
// A parent hands the messages that a child control sends about itself (WM_DRAWITEM for an
// owner-drawn button) back to the child's object through OnChildNotify ("reflection"), so that a
// control's drawing lives with the control.
#pragma once

#include "fw/MessageMap.h"

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // Attaches this object to hWnd by replacing its window procedure. FALSE when hWnd is not a
    // window or already belongs to an object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, const CWnd& parent)
    {
        return SubclassWindow(::GetDlgItem(parent.m_hWnd, static_cast<int>(nID)));
    }

    // The object attached to hWnd, or null.
    static CWnd* FromHandle(HWND hWnd);

    virtual BOOL DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

    // Called by the parent for a message about this control; TRUE when handled.
    virtual BOOL OnChildNotify(UINT, WPARAM, LPARAM, LRESULT&) { return FALSE; }

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    virtual const CMessageMapBase* GetMessageMap() const { return nullptr; }

    // The original procedure's answer to the message being handled now.
    LRESULT Default()
    {
        return CallOriginalProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
    }
    LRESULT CallOriginalProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        return ::CallWindowProcA(m_pfnOriginalProc, m_hWnd, nMessage, wParam, lParam);
    }

    // Called after the window's last message; the object is detached by then.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    void Detach();

    WNDPROC m_pfnOriginalProc = nullptr;
    MSG m_currentMsg{};
};
