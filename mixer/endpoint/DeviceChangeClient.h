// CDeviceChangeClient hears Core Audio's device notifications for the endpoint mixer and reports
// those that change its cards: an active endpoint appearing (added active, or becoming active),
// one of the cards' endpoints going, changing state or changing its format, and a new console
// default. Endpoints that are added inactive (software that installs virtual devices adds many),
// the defaults of the other roles and the endpoints' other properties change no card.
//
// One report stands for a whole burst (unplugging a headset changes two endpoints and six
// defaults): after a report, nothing more is reported until the mixer reads its cards again
// (ReadingCards). The mixer tells it which endpoints the cards are made of (CardsRead), and the
// cards tell it when an endpoint they hold has failed (DeviceFailed).
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/endpoint/ComPtr.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class CDeviceChangeClient final : public CComObject<IMMNotificationClient> {
public:
    // cardsChanged is called on Core Audio's threads; it may only take a short lock and post.
    // The enumerator answers the state of an endpoint that is added.
    CDeviceChangeClient(CComPtr<IMMDeviceEnumerator> pEnumerator, std::function<void()> cardsChanged);

    // On the mixer's thread, before it reads its cards: a change from now on is reported.
    void ReadingCards();
    // On the mixer's thread, once it has read them: the endpoints its cards are made of.
    void CardsRead(std::set<std::wstring> endpointIds);
    // One of the cards' endpoints answered AUDCLNT_E_DEVICE_INVALIDATED or
    // AUDCLNT_E_SERVICE_NOT_RUNNING: the cards changed, though no notification may say so (a
    // restarted audio service sends none). Reported as the notifications are, once per burst.
    void DeviceFailed();

    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR pwstrDeviceId, DWORD dwNewState) override;
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR pwstrDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR pwstrDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                     LPCWSTR pwstrDefaultDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR pwstrDeviceId, const PROPERTYKEY key) override;

private:
    bool IsCardEndpoint(LPCWSTR pwstrDeviceId) const;
    bool IsActive(LPCWSTR pwstrDeviceId);
    void CardsChanged();

    const CComPtr<IMMDeviceEnumerator> m_pEnumerator;
    const std::function<void()> m_cardsChanged;
    mutable CCriticalSection m_mutex;
    std::set<std::wstring> m_cardEndpoints;
    bool m_bReported = false;
    // Devices looked up inside a notification. A notification must not release the last
    // reference to a Core Audio object, so they go on the mixer's thread, at the next reading.
    std::vector<CComPtr<IMMDevice>> m_lookedUp;
};
