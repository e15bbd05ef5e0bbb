// CEndpointMixer is the card model of the product's mixer on Windows Vista and later, where
// WINMM's volume belongs to the calling program alone: its cards are made of Core Audio's
// endpoints (EndpointCards.h, EndpointDevices.h), each card a speakers destination, a wave-in
// destination or both, each on its endpoint's volume and mute (EndpointMixerCard.h). The WINMM front end
// (mixer/frontend/MixerFrontEnd.h) answers the program's calls over it.
//
// Changes made elsewhere arrive on Core Audio's threads (VolumeCallback.h, DeviceChangeClient.h)
// and are handed over to the mixer's thread (ChangeHandover.h), where they reach the front end's
// handle table; a change of the devices also makes the cards be read again at the next call.
// Every COM object it holds, the callbacks included, is released when it ends.
//
// Usage: CMixerFrontEnd mixer(std::make_unique<CEndpointMixer>(pEnumerator)). The calling
// thread is the mixer's thread: it may use the enumerator (COM initialised) and runs a message
// loop.
#pragma once

#include "fw/ComPtr.h"
#include "mixer/endpoint/DeviceChangeClient.h"
#include "mixer/frontend/CardModel.h"

#include <mmdeviceapi.h>

#include <memory>

class CChangeHandover;

class CEndpointMixer final : public CCardModel {
public:
    explicit CEndpointMixer(CComPtr<IMMDeviceEnumerator> pEnumerator);
    // Stops hearing device changes.
    ~CEndpointMixer() override;

    void Attach(std::weak_ptr<CHandleTable> pHandles) override;
    const CModelCards& Cards() override;

private:
    void HandedOver(UINT uMsg, WPARAM wParam, LPARAM lParam);

    CComPtr<IMMDeviceEnumerator> m_pEnumerator;
    std::weak_ptr<CHandleTable> m_pHandles;
    std::shared_ptr<CChangeHandover> m_pHandover;
    CComPtr<CDeviceChangeClient> m_pDeviceClient;
    bool m_bListening = false;
    // Marks the changes that this mixer writes, so that their echo from Core Audio is skipped.
    GUID m_guidOwnWrites{};
    CModelCards m_cards;
    bool m_bCardsRead = false;
    bool m_bCardsStale = false;
};
