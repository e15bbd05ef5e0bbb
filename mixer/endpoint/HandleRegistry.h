// CHandleRegistry is the endpoint mixer's way from Core Audio's notification threads to the
// front end's open handles (mixer/frontend/HandleTable.h): the volume callbacks
// report a control of one handle's card, the device notifications a change of the cards. The
// callbacks hold it by weak_ptr, so a late callback after the mixer has gone reports nothing.
//
// It also carries the fact that the device-change notifications leave for the mixer: that the
// cards must be read again.
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/frontend/CardModel.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <memory>

class CHandleRegistry {
public:
    void Attach(std::weak_ptr<CHandleTable> pHandles);

    // A control of the card that hMixer was opened on changed elsewhere.
    void PostControlChange(HMIXER hMixer, DWORD dwControlID) const;
    // The set of endpoints changed.
    void PostDeviceChange() const;

    void MarkCardsStale() { m_bCardsStale = true; }
    // True once after each MarkCardsStale.
    bool TakeCardsStale() { return m_bCardsStale.exchange(false); }

private:
    std::shared_ptr<CHandleTable> Handles() const;

    mutable CCriticalSection m_mutex;
    std::weak_ptr<CHandleTable> m_pHandles;
    std::atomic<bool> m_bCardsStale{false};
};
