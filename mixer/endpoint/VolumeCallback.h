// CVolumeCallback turns an endpoint's volume and mute changes into the WINMM notification of
// one open mixer handle: MM_MIXM_CONTROL_CHANGE with the handle and the id of the control that
// changed, posted to the handle's callback window. Core Audio calls it on its own threads; it
// posts through the handle registry, which posts nothing for a handle that has been closed.
// Changes that the mixer wrote itself carry its event context and are skipped: the write has
// already posted its notification.
//
// CVolumeRegistration keeps one callback registered with one endpoint for as long as it lives;
// the callback itself lives on past that (CallbackKeeper.h).
#pragma once

#include "mixer/endpoint/ComPtr.h"

#include <windows.h>
#include <mmsystem.h>
#include <endpointvolume.h>

#include <atomic>
#include <memory>

class CHandleRegistry;

class CVolumeCallback final : public CComObject<IAudioEndpointVolumeCallback> {
public:
    // bMuted: the endpoint's mute state now, so that the first change can tell which control
    // it concerns.
    CVolumeCallback(std::weak_ptr<const CHandleRegistry> pRegistry, HMIXER hMixer, DWORD dwDestination,
                    const GUID& guidOwnWrites, BOOL bMuted);

    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify) override;

private:
    const std::weak_ptr<const CHandleRegistry> m_pRegistry;
    const HMIXER m_hMixer;
    const DWORD m_dwDestination;
    const GUID m_guidOwnWrites;
    std::atomic<BOOL> m_bMuted;
};

class CVolumeRegistration {
public:
    // Registers the callback; when the endpoint refuses it the registration holds nothing.
    CVolumeRegistration(CComPtr<IAudioEndpointVolume> pVolume,
                        CComPtr<IAudioEndpointVolumeCallback> pCallback);
    ~CVolumeRegistration();
    CVolumeRegistration(CVolumeRegistration&&) noexcept = default;
    CVolumeRegistration& operator=(CVolumeRegistration&&) = delete;
    CVolumeRegistration(const CVolumeRegistration&) = delete;
    CVolumeRegistration& operator=(const CVolumeRegistration&) = delete;

private:
    CComPtr<IAudioEndpointVolume> m_pVolume;
    CComPtr<IAudioEndpointVolumeCallback> m_pCallback;
};
