// CChangeHandover takes Core Audio's notifications from its threads over to the mixer's thread,
// where the card model's events tell the front end (mixer/frontend/CardModel.h).
// Core Audio's callbacks must not block: "the client should never wait on a synchronization
// object during an event callback". So a callback only posts a message to a message-only window
// of the mixer's thread, which never waits, and the window hands the message to the mixer's
// handler when that thread's message loop runs (a modal loop's included).
//
// It also keeps each callback that was unregistered a while: Windows may still be inside one when
// the call that unregisters it returns, holding no reference for that call. A kept callback is
// released once the messages posted before it was kept have been handled, and the rest go with
// the handover, which the endpoint mixer ends before its COM apartment ends.
//
// Usage: CChangeHandover handover(handler); a callback: CChangeHandover::HandOver(
// handover.Window(), CChangeHandover::kControlChanged, std::make_unique<SControlChange>(...));
// later handover.Keep(pCallback).
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>

class CModelCard;

// A control of a card changed: the card (only compared), the control and the context of the
// write that made it.
struct SControlChange {
    const CModelCard* pCard = nullptr;
    DWORD dwControlID = 0;
    GUID guidContext{};
};

class CChangeHandover {
public:
    // The messages that callbacks post: a control of a card changed (lParam an SControlChange),
    // or the endpoints may have changed.
    static constexpr UINT kControlChanged = WM_APP;
    static constexpr UINT kDevicesChanged = WM_APP + 1;
    // A program's session came, changed or ended: lParam carries the event (SessionCallbacks.h).
    static constexpr UINT kSessionEvent = WM_APP + 2;

    using CHandler = std::function<void(UINT uMsg, LPARAM lParam)>;

    // On the mixer's thread.
    explicit CChangeHandover(CHandler handler);
    ~CChangeHandover();
    CChangeHandover(const CChangeHandover&) = delete;
    CChangeHandover& operator=(const CChangeHandover&) = delete;

    // Where the callbacks post. A message posted after the handover has gone reaches nobody.
    HWND Window() const { return m_hWnd; }
    // From any thread: posts uMsg with the event as its lParam, which the handler then owns. A
    // window that has gone, or never came to be, takes nothing, and the event goes here: without
    // a window the message would go to the calling thread, which never takes it in.
    template <typename TEvent>
    static void HandOver(HWND hWnd, UINT uMsg, std::unique_ptr<TEvent> pEvent)
    {
        if (hWnd != nullptr && ::PostMessageA(hWnd, uMsg, 0, reinterpret_cast<LPARAM>(pEvent.get())))
            pEvent.release();
    }
    // A callback that no longer hears anything, released one round of messages later.
    void Keep(CComPtr<IUnknown> pCallback);

private:
    // Posted by Keep: the oldest kept callback goes.
    static constexpr UINT kReleaseKept = WM_APP + 3;

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    const CHandler m_handler;
    HWND m_hWnd = nullptr;
    std::deque<CComPtr<IUnknown>> m_kept;
};
