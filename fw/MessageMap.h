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
// Each kind of entry decodes what its message carries, and the handler takes it typed; a message
// handler returns the message's result. A command handler takes nothing (a result it has is
// dropped), a range's handler the command id, a state step the command's state.
#pragma once

#include "fw/CmdUI.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

class CWnd;

// The command of a WM_SYSCOMMAND. The platform's own (SC_SIZE, 0xF000, and up) carry flags of
// the platform in their four low bits; the entries a window adds to its window menu have lower
// ids, which arrive as they are.
inline UINT SystemCommandId(WPARAM wParam)
{
    return static_cast<UINT>(wParam >= SC_SIZE ? wParam & 0xFFF0 : wParam);
}

enum class EEntryKind { Message, Command, StateStep };

// One entry: a message, or a range of command ids, and what runs for it. A command's handler is
// given the id as wParam, a state step's the command's CCmdUI as lParam.
template <class T>
struct SMessageMapEntry {
    EEntryKind kind;
    UINT nFirstID;
    UINT nLastID;
    std::function<LRESULT(T&, WPARAM, LPARAM)> handle;
};

// A message whose parameters the handler does not need.
template <class T>
SMessageMapEntry<T> OnMessage(UINT nMessage, LRESULT (T::*pfn)())
{
    return {EEntryKind::Message, nMessage, nMessage, [pfn](T& t, WPARAM, LPARAM) { return (t.*pfn)(); }};
}

// A message whose two parameters are plain numbers, of the types that the handler takes
// (WM_ENDSESSION's flag, WM_DEVICECHANGE's event, a notification-area icon's id and event).
template <class T, class W, class L>
SMessageMapEntry<T> OnMessage(UINT nMessage, LRESULT (T::*pfn)(W, L))
{
    return {EEntryKind::Message, nMessage, nMessage,
            [pfn](T& t, WPARAM w, LPARAM l) { return (t.*pfn)(static_cast<W>(w), static_cast<L>(l)); }};
}

// A window and a screen point (WM_CONTEXTMENU: (-1, -1) when the keyboard asks). The point's
// coordinates are signed words, as windowsx.h's GET_X_LPARAM reads them (that header redefines
// names that this framework uses): left of or above the main monitor they are negative.
template <class T>
SMessageMapEntry<T> OnPointMessage(UINT nMessage, LRESULT (T::*pfn)(HWND hWnd, POINT pt))
{
    return {EEntryKind::Message, nMessage, nMessage, [pfn](T& t, WPARAM w, LPARAM l) {
                const POINT pt{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
                return (t.*pfn)(reinterpret_cast<HWND>(w), pt);
            }};
}

// WM_HSCROLL and WM_VSCROLL: the scroll code, and the position that the thumb's codes carry.
template <class T>
SMessageMapEntry<T> OnScrollMessage(UINT nMessage, LRESULT (T::*pfn)(UINT nCode, int nPos))
{
    return {EEntryKind::Message, nMessage, nMessage,
            [pfn](T& t, WPARAM w, LPARAM) { return (t.*pfn)(LOWORD(w), static_cast<short>(HIWORD(w))); }};
}

// A WM_SYSCOMMAND that no command took (CDialog): the command, and its parameter (the pointer's
// screen position or, for SC_KEYMENU, the key).
template <class T>
SMessageMapEntry<T> OnSysCommandMessage(LRESULT (T::*pfn)(UINT nID, LPARAM lParam))
{
    return {EEntryKind::Message, WM_SYSCOMMAND, WM_SYSCOMMAND,
            [pfn](T& t, WPARAM w, LPARAM l) { return (t.*pfn)(SystemCommandId(w), l); }};
}

// WM_DPICHANGED: the window's new DPI and the rectangle that the system suggests for it.
template <class T>
SMessageMapEntry<T> OnDpiMessage(LRESULT (T::*pfn)(UINT nDpi, const RECT& rcSuggested))
{
    return {EEntryKind::Message, WM_DPICHANGED, WM_DPICHANGED, [pfn](T& t, WPARAM w, LPARAM l) {
                return (t.*pfn)(LOWORD(w), *reinterpret_cast<const RECT*>(l));
            }};
}

template <class T>
SMessageMapEntry<T> OnCommandRange(UINT nFirstID, UINT nLastID, void (T::*pfn)(UINT))
{
    return {EEntryKind::Command, nFirstID, nLastID,
            [pfn](T& t, WPARAM w, LPARAM) { return (t.*pfn)(static_cast<UINT>(w)), LRESULT{0}; }};
}

template <class T, class R>
SMessageMapEntry<T> OnCommand(UINT nID, R (T::*pfn)())
{
    return {EEntryKind::Command, nID, nID, [pfn](T& t, WPARAM, LPARAM) { return (t.*pfn)(), LRESULT{0}; }};
}

template <class T>
SMessageMapEntry<T> OnStateStep(UINT nID, void (T::*pfn)(CCmdUI&))
{
    return {EEntryKind::StateStep, nID, nID,
            [pfn](T& t, WPARAM, LPARAM l) { return (t.*pfn)(*reinterpret_cast<CCmdUI*>(l)), LRESULT{0}; }};
}

// What the window layer needs of a map, whatever class it belongs to: the first entry of a kind
// that covers a message or command id runs, and its result comes back; nothing when none does.
class CMessageMapBase {
public:
    virtual ~CMessageMapBase() = default;
    virtual std::optional<LRESULT> Route(CWnd& target, EEntryKind kind, UINT nID, WPARAM wParam,
                                         LPARAM lParam) const = 0;
};

template <class T>
class CMessageMap final : public CMessageMapBase {
public:
    CMessageMap(std::initializer_list<SMessageMapEntry<T>> entries) : m_entries(entries) {}

    std::optional<LRESULT> Route(CWnd& target, EEntryKind kind, UINT nID, WPARAM wParam,
                                 LPARAM lParam) const override
    {
        for (const auto& entry : m_entries) {
            if (entry.kind == kind && entry.nFirstID <= nID && nID <= entry.nLastID)
                return entry.handle(static_cast<T&>(target), wParam, lParam);
        }
        return std::nullopt;
    }

private:
    std::vector<SMessageMapEntry<T>> m_entries;
};
