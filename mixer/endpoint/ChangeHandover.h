// CChangeHandover takes Core Audio's notifications from its threads over to the mixer's thread,
// where the card model's events tell the front end (mixer/frontend/CardModel.h).
// Core Audio's callbacks must not block: "the client should never wait on a synchronization
// object during an event callback". So a callback only posts one typed event to a message-only
// window of the mixer's thread, which never waits, and the window delivers it when that thread's
// message loop runs (a modal loop's included); the events still on their way when the handover
// ends are let go of unread.
//
// It also keeps each callback that was unregistered a while: Windows may still be inside one when
// the call that unregisters it returns, holding no reference for that call. A kept callback is
// released once the messages posted before it was kept have been handled, and the rest go with
// the handover, which the endpoint mixer ends before its COM apartment ends.
//
// Usage: CChangeHandover handover; a callback: CChangeHandover::HandOver(handover.Window(),
// [...] { what the mixer's thread does }); later handover.Keep(pCallback).
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>

#include <deque>
#include <memory>

// What a callback hands over: delivered once on the mixer's thread, or let go of unread when the
// handover ends first.
class CHandedEvent {
public:
    virtual ~CHandedEvent() = default;
    virtual void Deliver() = 0;
};

class CChangeHandover {
public:
    // The message that carries an event: lParam a CHandedEvent, which the message owns.
    static constexpr UINT kEvent = WM_APP;

    // On the mixer's thread.
    CChangeHandover();
    ~CChangeHandover();
    CChangeHandover(const CChangeHandover&) = delete;
    CChangeHandover& operator=(const CChangeHandover&) = delete;

    // Where the callbacks post. A message posted after the handover has gone reaches nobody.
    HWND Window() const { return m_hWnd; }
    // From any thread: call runs on the mixer's thread, once. A window that has gone, or never
    // came to be, takes nothing, and call goes here unrun: without a window the message would go
    // to the calling thread, which never takes it in.
    template <class TCall>
    static void HandOver(HWND hWnd, TCall call)
    {
        struct SCall final : CHandedEvent {
            explicit SCall(TCall c) : call(std::move(c)) {}
            void Deliver() override { call(); }
            TCall call;
        };
        Post(hWnd, std::make_unique<SCall>(std::move(call)));
    }
    // A callback that no longer hears anything, released one round of messages later.
    void Keep(CComPtr<IUnknown> pCallback);

private:
    // Posted by Keep: the oldest kept callback goes.
    static constexpr UINT kReleaseKept = WM_APP + 1;

    static void Post(HWND hWnd, std::unique_ptr<CHandedEvent> pEvent);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    std::deque<CComPtr<IUnknown>> m_kept;
};
