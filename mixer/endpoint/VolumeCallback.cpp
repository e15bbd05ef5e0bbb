#include "mixer/endpoint/VolumeCallback.h"

#include "mixer/endpoint/ChangeHandover.h"
#include "mixer/endpoint/EndpointDevices.h"

CVolumeCallback::CVolumeCallback(HWND hWndHandover, std::weak_ptr<ICardEvents> pEvents,
                                 const CModelCard* pCard, DWORD dwDestination, BOOL bMuted)
    : m_hWndHandover(hWndHandover), m_pEvents(std::move(pEvents)), m_pCard(pCard),
      m_dwDestination(dwDestination), m_bMuted(bMuted)
{
}

HRESULT STDMETHODCALLTYPE CVolumeCallback::OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA pNotify)
{
    if (pNotify == nullptr)
        return E_POINTER;
    // Every change updates the mute state seen last, the mixer's own included, so that the next
    // change is compared with the truth.
    const BOOL bMuted = pNotify->bMuted ? TRUE : FALSE;
    const bool bMuteChanged = m_bMuted.exchange(bMuted) != bMuted;
    const DWORD dwControlID =
        bMuteChanged ? MuteControlOf(m_dwDestination) : VolumeControlOf(m_dwDestination);
    CChangeHandover::HandOver(m_hWndHandover, [pEvents = m_pEvents, pCard = m_pCard, dwControlID,
                                               guidContext = pNotify->guidEventContext] {
        if (const auto pLocked = pEvents.lock())
            pLocked->ControlChanged(pCard, dwControlID, guidContext);
    });
    return S_OK;
}

CVolumeRegistration::CVolumeRegistration(CComPtr<IAudioEndpointVolume> pVolume,
                                         CComPtr<IAudioEndpointVolumeCallback> pCallback,
                                         std::weak_ptr<CChangeHandover> pHandover)
    : m_pHandover(std::move(pHandover))
{
    if (pVolume && pCallback && SUCCEEDED(pVolume->RegisterControlChangeNotify(pCallback.Get()))) {
        m_pVolume = std::move(pVolume);
        m_pCallback = std::move(pCallback);
    }
}

CVolumeRegistration::~CVolumeRegistration()
{
    if (m_pVolume && m_pCallback) {
        m_pVolume->UnregisterControlChangeNotify(m_pCallback.Get());
        if (const auto pHandover = m_pHandover.lock())
            pHandover->Keep(std::move(m_pCallback));
    }
}
