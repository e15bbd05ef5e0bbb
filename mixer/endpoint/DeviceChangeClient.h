// CDeviceChangeClient hears Core Audio's device notifications for the endpoint mixer and reports
// those that change its cards: an active endpoint appearing (added active, or becoming active),
// one of the cards' endpoints going, changing state or changing its format, and a new console
// default. Endpoints that are added inactive (software that installs virtual devices adds many),
// the defaults of the other roles and the endpoints' other properties change no card.
//
// A notification does no more than hand itself over to the mixer's thread (ChangeHandover.h):
// it must not wait, and must not release the last reference to a Core Audio object. There the
// client compares the active endpoints and the console defaults with those the cards were read
// from. One report stands for a whole burst (unplugging a headset changes two endpoints and six
// defaults): after a report, nothing more is reported until the mixer reads its cards again
// (ReadingCards). The cards tell it when an endpoint they hold has failed (DeviceFailed). Cards
// read while the audio service was stopped have it look again every few seconds, since its return
// is told to nobody.
#pragma once

#include "fw/ComPtr.h"
#include "mixer/endpoint/EndpointDevices.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <atomic>
#include <functional>

class CDeviceChangeClient final : public CComObject<IMMNotificationClient> {
public:
    // Notifications hand themselves over to hWndHandover (ChangeHandover.h); cardsChanged is
    // called on the mixer's thread.
    CDeviceChangeClient(CComPtr<IMMDeviceEnumerator> pEnumerator, HWND hWndHandover,
                        std::function<void()> cardsChanged);

    // On the mixer's thread, before it reads its cards: the endpoints as they are now are the
    // ones the cards are made of, and a change from now on is reported.
    void ReadingCards();
    // On the mixer's thread, when a notification has been handed over: reports a change of the
    // endpoints since the reading.
    void CheckEndpoints();
    // One of the cards' endpoints answered AUDCLNT_E_DEVICE_INVALIDATED or
    // AUDCLNT_E_SERVICE_NOT_RUNNING: the cards changed, though no notification may say so (a
    // restarted audio service sends none). Reported as the notifications are, once per burst.
    void DeviceFailed();

    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return HandOver(); }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return HandOver(); }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return HandOver(); }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                     LPCWSTR pwstrDefaultDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR pwstrDeviceId, const PROPERTYKEY key) override;

private:
    // From Core Audio's threads: one message until the mixer's thread has taken it. Answers the
    // callbacks' S_OK.
    HRESULT HandOver();
    void CardsChanged();
    // Sets or ends the timer that looks at the endpoints while the audio service is stopped.
    void WaitForService(bool bWait);
    static void CALLBACK LookAgain(HWND hWnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);

    const CComPtr<IMMDeviceEnumerator> m_pEnumerator;
    const HWND m_hWndHandover;
    const std::function<void()> m_cardsChanged;
    std::atomic<bool> m_bHandedOver{false};
    // The mixer's thread's alone.
    SEndpointState m_stateRead;
    bool m_bReported = false;
};
