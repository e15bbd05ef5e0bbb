// CVolumeCallback turns an endpoint's volume and mute changes into the WINMM notification of
// one open mixer handle: MM_MIXM_CONTROL_CHANGE with the handle and the id of the control that
// changed, posted to the handle's callback window. Core Audio calls it on its own threads, so it
// only hands the change over to the mixer's thread (ChangeHandover.h), whose handle table posts
// nothing for a handle that has been closed meanwhile. Changes that the mixer wrote itself carry
// its event context and are skipped: the write has already posted its notification.
//
// CVolumeRegistration keeps one callback registered with one endpoint for as long as it lives;
// the handover keeps the callback itself a while longer.
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>
#include <mmsystem.h>
#include <endpointvolume.h>

#include <atomic>
#include <memory>

class CChangeHandover;

class CVolumeCallback final : public CComObject<IAudioEndpointVolumeCallback> {
public:
    // bMuted: the endpoint's mute state now, so that the first change can tell which control
    // it concerns.
    CVolumeCallback(HWND hWndHandover, HMIXER hMixer, DWORD dwDestination, const GUID& guidOwnWrites,
                    BOOL bMuted);

    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify) override;

private:
    const HWND m_hWndHandover;
    const HMIXER m_hMixer;
    const DWORD m_dwDestination;
    const GUID m_guidOwnWrites;
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
