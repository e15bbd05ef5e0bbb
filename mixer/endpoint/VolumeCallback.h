// CVolumeCallback turns an endpoint's volume and mute changes into a change of the control of
// one card: the card and the id of the control that changed. Core Audio calls it on its own
// threads, so it only hands the change over to the mixer's thread (ChangeHandover.h), where the
// card's events tell the handles open on it then, with the context of the write that made the
// change (the front end skips its own writes' echo).
//
// CVolumeRegistration keeps one callback registered with one endpoint for as long as it lives;
// the handover keeps the callback itself a while longer.
#pragma once

#include "fw/ComPtr.h"
#include "mixer/frontend/CardModel.h"

#include <windows.h>
#include <endpointvolume.h>

#include <atomic>
#include <memory>

class CChangeHandover;

class CVolumeCallback final : public CComObject<IAudioEndpointVolumeCallback> {
public:
    // bMuted: the endpoint's mute state now, so that the first change can tell which control
    // it concerns.
    CVolumeCallback(HWND hWndHandover, std::weak_ptr<ICardEvents> pEvents, const CModelCard* pCard,
                    DWORD dwDestination, BOOL bMuted);

    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify) override;

private:
    const HWND m_hWndHandover;
    const std::weak_ptr<ICardEvents> m_pEvents;
    const CModelCard* const m_pCard;
    const DWORD m_dwDestination;
    std::atomic<BOOL> m_bMuted;
};

class CVolumeRegistration {
public:
    // Registers the callback; when the endpoint refuses it the registration holds nothing.
    CVolumeRegistration(CComPtr<IAudioEndpointVolume> pVolume,
                        CComPtr<IAudioEndpointVolumeCallback> pCallback,
                        std::weak_ptr<CChangeHandover> pHandover);
    ~CVolumeRegistration();
    CVolumeRegistration(CVolumeRegistration&&) noexcept = default;
    CVolumeRegistration& operator=(CVolumeRegistration&&) = delete;
    CVolumeRegistration(const CVolumeRegistration&) = delete;
    CVolumeRegistration& operator=(const CVolumeRegistration&) = delete;

private:
    CComPtr<IAudioEndpointVolume> m_pVolume;
    CComPtr<IAudioEndpointVolumeCallback> m_pCallback;
    std::weak_ptr<CChangeHandover> m_pHandover;
};
