// Static message maps: each window class lists, in one table read top to bottom, which member
// function handles which window message, command or command state step; the first entry that
// covers a message or command takes it.
//
//   const CMessageMapBase* CBarDlg::GetMessageMap() const
//   {
//       static const CMessageMap<CBarDlg> map{{
//           OnMessage(WM_PAINT, &CBarDlg::OnPaint),
//           OnPointMessage(WM_CONTEXTMENU, &CBarDlg::OnContextMenu),
//           OnCommand(ID_ABOUT, &CBarDlg::OnAbout),
//           OnCommandRange(ID_FIRST, ID_LAST, &CBarDlg::OnChoose),
//           OnStateStep(ID_ABOUT, &CBarDlg::OnUpdateAbout),
//       }};
//       return &map;
//   }
//
// The entry decodes what its message carries and the handler takes it typed, as each entry below
// says; a message handler returns the message's result. A command handler takes nothing (its
// result, if any, is dropped), a range's handler the command id; a state step the command's state.
#pragma once

#include "fw/CmdUI.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

class CWnd;

// The command of a WM_SYSCOMMAND. The platform's own commands (from SC_SIZE, 0xF000, on) carry
// the platform's flags in their four low bits; an entry a window adds to its window menu has an
// id below them, which arrives as it is.
inline UINT SystemCommandId(WPARAM wParam)
{
    return static_cast<UINT>(wParam >= SC_SIZE ? wParam & 0xFFF0 : wParam);
}

template <class T>
struct SMessageMapEntry {
    enum class Kind { Message, Command, StateStep };
    using Handler = std::function<LRESULT(T&, WPARAM, LPARAM)>;

    Kind kind;
    // The message, or the command ids.
    UINT nFirstID;
    UINT nLastID;
    // A message's handler gets its parameters, a command's its id as wParam.
    Handler handle;
    void (T::*pfnStateStep)(CCmdUI&);

    static SMessageMapEntry Message(UINT nMessage, Handler handle)
    {
        return {Kind::Message, nMessage, nMessage, std::move(handle), nullptr};
    }
};

// A message whose parameters the handler does not need.
template <class T>
SMessageMapEntry<T> OnMessage(UINT nMessage, LRESULT (T::*pfn)())
{
    return SMessageMapEntry<T>::Message(nMessage, [pfn](T& t, WPARAM, LPARAM) { return (t.*pfn)(); });
}

// A message whose two parameters are plain values, wParam's and lParam's of the handler's types
// (WM_ENDSESSION's flag, WM_DEVICECHANGE's event, a notification-area icon's id and event).
template <class T, class W, class L>
SMessageMapEntry<T> OnMessage(UINT nMessage, LRESULT (T::*pfn)(W, L))
{
    return SMessageMapEntry<T>::Message(
        nMessage, [pfn](T& t, WPARAM w, LPARAM l) { return (t.*pfn)(static_cast<W>(w), static_cast<L>(l)); });
}

// A window and a screen point (WM_CONTEXTMENU: (-1, -1) when the keyboard asks). The coordinates
// are signed words (windowsx.h's GET_X_LPARAM, whose header redefines names this framework uses):
// a monitor left of or above the main one has negative ones.
template <class T>
SMessageMapEntry<T> OnPointMessage(UINT nMessage, LRESULT (T::*pfn)(HWND hWnd, POINT pt))
{
    return SMessageMapEntry<T>::Message(nMessage, [pfn](T& t, WPARAM w, LPARAM l) {
        return (t.*pfn)(reinterpret_cast<HWND>(w),
                        POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))});
    });
}

// WM_HSCROLL and WM_VSCROLL: the scroll code and the position that the thumb's codes carry.
template <class T>
SMessageMapEntry<T> OnScrollMessage(UINT nMessage, LRESULT (T::*pfn)(UINT nCode, int nPos))
{
    return SMessageMapEntry<T>::Message(nMessage, [pfn](T& t, WPARAM w, LPARAM) {
        return (t.*pfn)(LOWORD(w), static_cast<short>(HIWORD(w)));
    });
}

// WM_SYSCOMMAND that no command entry took (see CDialog): the command (SystemCommandId) and its
// parameter, the pointer's screen position or, for SC_KEYMENU, the key.
template <class T>
SMessageMapEntry<T> OnSysCommandMessage(LRESULT (T::*pfn)(UINT nID, LPARAM lParam))
{
    return SMessageMapEntry<T>::Message(
        WM_SYSCOMMAND, [pfn](T& t, WPARAM w, LPARAM l) { return (t.*pfn)(SystemCommandId(w), l); });
}

// WM_DPICHANGED: the window's new DPI and the rectangle that the system suggests for it.
template <class T>
SMessageMapEntry<T> OnDpiMessage(LRESULT (T::*pfn)(UINT nDpi, const RECT& rcSuggested))
{
    return SMessageMapEntry<T>::Message(WM_DPICHANGED, [pfn](T& t, WPARAM w, LPARAM l) {
        return (t.*pfn)(LOWORD(w), *reinterpret_cast<const RECT*>(l));
    });
}

template <class T>
SMessageMapEntry<T> OnCommandRange(UINT nFirstID, UINT nLastID, void (T::*pfn)(UINT))
{
    return {SMessageMapEntry<T>::Kind::Command, nFirstID, nLastID,
            [pfn](T& t, WPARAM w, LPARAM) {
                (t.*pfn)(static_cast<UINT>(w));
                return LRESULT{0};
            },
            nullptr};
}

template <class T, class R>
SMessageMapEntry<T> OnCommand(UINT nID, R (T::*pfn)())
{
    return {SMessageMapEntry<T>::Kind::Command, nID, nID,
            [pfn](T& t, WPARAM, LPARAM) {
                (t.*pfn)();
                return LRESULT{0};
            },
            nullptr};
}

template <class T>
SMessageMapEntry<T> OnStateStepRange(UINT nFirstID, UINT nLastID, void (T::*pfn)(CCmdUI&))
{
    return {SMessageMapEntry<T>::Kind::StateStep, nFirstID, nLastID, nullptr, pfn};
}

template <class T>
SMessageMapEntry<T> OnStateStep(UINT nID, void (T::*pfn)(CCmdUI&))
{
    return OnStateStepRange(nID, nID, pfn);
}

// What the window layer needs of a map, whatever class it belongs to.
class CMessageMapBase {
public:
    virtual ~CMessageMapBase() = default;
    virtual bool RouteMessage(CWnd& target, UINT nMessage, WPARAM wParam, LPARAM lParam,
                              LRESULT& lResult) const = 0;
    virtual bool RouteCommand(CWnd& target, UINT nID) const = 0;
    virtual bool RouteStateStep(CWnd& target, CCmdUI& state) const = 0;
};

template <class T>
class CMessageMap final : public CMessageMapBase {
    using Entry = SMessageMapEntry<T>;

public:
    CMessageMap(std::initializer_list<Entry> entries) : m_entries(entries) {}

    bool RouteMessage(CWnd& target, UINT nMessage, WPARAM wParam, LPARAM lParam,
                      LRESULT& lResult) const override
    {
        const Entry* pEntry = Find(Entry::Kind::Message, nMessage);
        if (pEntry)
            lResult = pEntry->handle(static_cast<T&>(target), wParam, lParam);
        return pEntry != nullptr;
    }

    bool RouteCommand(CWnd& target, UINT nID) const override
    {
        const Entry* pEntry = Find(Entry::Kind::Command, nID);
        if (pEntry)
            pEntry->handle(static_cast<T&>(target), nID, 0);
        return pEntry != nullptr;
    }

    bool RouteStateStep(CWnd& target, CCmdUI& state) const override
    {
        const Entry* pEntry = Find(Entry::Kind::StateStep, state.m_nID);
        if (pEntry)
            (static_cast<T&>(target).*pEntry->pfnStateStep)(state);
        return pEntry != nullptr;
    }

private:
    const Entry* Find(typename Entry::Kind kind, UINT nID) const
    {
        for (const Entry& entry : m_entries) {
            if (entry.kind == kind && entry.nFirstID <= nID && nID <= entry.nLastID)
                return &entry;
        }
        return nullptr;
    }

    std::vector<Entry> m_entries;
};
