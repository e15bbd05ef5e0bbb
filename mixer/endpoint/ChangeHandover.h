// CChangeHandover takes Core Audio's notifications from its threads over to the mixer's thread,
// where the front end's handle table tells whoever opened a handle (mixer/frontend/HandleTable.h).
// Core Audio's callbacks must not block: "the client should never wait on a synchronization
// object during an event callback". So a callback only posts a message to a message-only window
// of the mixer's thread, which never waits, and the window hands the message to the mixer's
// handler when that thread's message loop runs (a modal loop's included).
//
// It also keeps the callbacks that were unregistered while it lives: Windows may still be inside
// one when the call that unregisters it returns, holding no reference for that call. They go with
// the handover, which the endpoint mixer ends before its COM apartment ends.
//
// Usage: CChangeHandover handover(handler); a callback: ::PostMessageA(handover.Window(),
// CChangeHandover::kControlChanged, ...); later handover.Keep(pCallback).
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>

#include <functional>
#include <vector>

class CChangeHandover {
public:
    // The messages that callbacks post: a control of an open handle changed elsewhere (wParam
    // the HMIXER, lParam the control id), or the endpoints may have changed.
    static constexpr UINT kControlChanged = WM_APP;
    static constexpr UINT kDevicesChanged = WM_APP + 1;
    // A line (lParam its id) or a control (lParam its id) of a card changed, for every handle
    // open on it: wParam the card (const CModelCard*), which is only compared. Programs' sessions
    // send these on the mixer's thread (AudioSessions.h).
    static constexpr UINT kCardLineChanged = WM_APP + 2;
    static constexpr UINT kCardControlChanged = WM_APP + 3;
    // A program's session came, changed or ended: lParam carries the event (SessionCallbacks.h).
    static constexpr UINT kSessionEvent = WM_APP + 4;

    using CHandler = std::function<void(UINT uMsg, WPARAM wParam, LPARAM lParam)>;

    // On the mixer's thread.
    explicit CChangeHandover(CHandler handler);
    ~CChangeHandover();
    CChangeHandover(const CChangeHandover&) = delete;
    CChangeHandover& operator=(const CChangeHandover&) = delete;

    // Where the callbacks post. A message posted after the handover has gone reaches nobody.
    HWND Window() const { return m_hWnd; }
    // A callback that no longer hears anything, released when the handover ends.
    void Keep(CComPtr<IUnknown> pCallback);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    const CHandler m_handler;
    HWND m_hWnd = nullptr;
    std::vector<CComPtr<IUnknown>> m_kept;
};
