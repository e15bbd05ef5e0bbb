// CEndpointMixer is the card model of the product's mixer on Windows Vista and later, where
// WINMM's volume belongs to the calling program alone: its cards are made of Core Audio's
// endpoints (EndpointCards.h, EndpointDevices.h), each card a speakers destination, a wave-in
// destination or both, each on its endpoint's volume and mute (EndpointMixerCard.h). The WINMM front end
// (mixer/frontend/MixerFrontEnd.h) answers the program's calls over it.
//
// Changes made elsewhere reach the front end from Core Audio's threads (VolumeCallback.h); a
// change of the devices makes the cards be read again at the next call and tells the front end
// (DeviceChangeClient.h). Both go through the handle registry (HandleRegistry.h).
//
// Usage: CMixerFrontEnd mixer(std::make_unique<CEndpointMixer>(pEnumerator)). The calling
// thread is the one that may use the enumerator (COM initialised).
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/endpoint/ComPtr.h"
#include "mixer/endpoint/DeviceChangeClient.h"
#include "mixer/frontend/CardModel.h"

#include <mmdeviceapi.h>

#include <memory>

class CHandleRegistry;

class CEndpointMixer final : public CCardModel {
public:
    explicit CEndpointMixer(CComPtr<IMMDeviceEnumerator> pEnumerator);
    // Stops hearing device changes.
    ~CEndpointMixer() override;

    void Attach(std::weak_ptr<CHandleTable> pHandles) override;
    const CModelCards& Cards() override;

private:
    CComPtr<IMMDeviceEnumerator> m_pEnumerator;
    std::shared_ptr<CHandleRegistry> m_pRegistry;
    CComPtr<CDeviceChangeClient> m_pDeviceClient;
    bool m_bListening = false;
    // Marks the changes that this mixer writes, so that their echo from Core Audio is skipped.
    GUID m_guidOwnWrites{};
    CCriticalSection m_cardsMutex;
    CModelCards m_cards;
    bool m_bCardsRead = false;
};
