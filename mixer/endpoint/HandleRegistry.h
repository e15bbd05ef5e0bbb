// CHandleRegistry holds the endpoint mixer's open handles. The mixer's callers and Core Audio's
// notification threads share it, so one lock guards it, and every notification is posted while
// that lock is held: once Remove has taken a handle out, nothing more is posted for it.
// No Core Audio call is made under the lock, since Core Audio may call back on the thread that
// calls it, or wait for a callback that waits for the lock.
//
// It also carries the two facts that the device-change notifications leave for the mixer: that
// the cards must be read again, and which endpoints the cards were made of.
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/endpoint/VolumeCallback.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct COpenHandle {
    UINT nCard = 0;
    std::shared_ptr<const CEndpointCard> pCard;
    // Null when the handle was opened without a callback window.
    HWND hWndCallback = nullptr;
    // One per destination; they unregister when the handle record goes.
    std::vector<CVolumeRegistration> registrations;
};

class CHandleRegistry {
public:
    // A handle value not given out before: far above any device index, so that a mixer object
    // without a type flag is never both, and never reused, as on Windows.
    HMIXER NewHandle();
    void Insert(HMIXER hMixer, COpenHandle handle);
    // Takes the handle out; nothing is posted for it from now on. The caller lets the record go
    // outside the lock, which ends its registrations.
    std::optional<COpenHandle> Remove(HMIXER hMixer);
    std::vector<HMIXER> OpenHandles() const;
    // The card of an open handle; false when the handle is not open.
    bool Find(HMIXER hMixer, UINT& nCard, std::shared_ptr<const CEndpointCard>& pCard) const;

    // MM_MIXM_CONTROL_CHANGE for one handle, if it is still open.
    void PostControlChange(HMIXER hMixer, DWORD dwControlID) const;
    // MM_MIXM_CONTROL_CHANGE to every open handle whose card has this endpoint, with the id of
    // its volume or mute control on that card.
    void PostEndpointChange(const std::wstring& strEndpointId, bool bMute) const;
    // WM_DEVICECHANGE with DBT_DEVNODES_CHANGED, once to each callback window of an open handle.
    void PostDeviceChange() const;

    void SetKnownEndpoints(std::set<std::wstring> endpointIds);
    bool IsKnownEndpoint(const std::wstring& strEndpointId) const;
    void MarkCardsStale() { m_bCardsStale = true; }
    // True once after each MarkCardsStale.
    bool TakeCardsStale() { return m_bCardsStale.exchange(false); }

private:
    mutable CCriticalSection m_mutex;
    std::map<HMIXER, COpenHandle> m_handles;
    std::set<std::wstring> m_knownEndpoints;
    UINT_PTR m_nNextHandle = 0x6E000;
    std::atomic<bool> m_bCardsStale{false};
};
