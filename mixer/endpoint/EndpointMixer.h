// CEndpointMixer answers the mixer functions over Core Audio, so that the bar drives the volume
// the user hears on Windows Vista and later, where WINMM's volume belongs to the calling program
// alone. Its cards are made of endpoints (EndpointCards.h); each card has a speakers destination
// and, with a capture endpoint, a wave-in destination, each with a VOLUME control (0..0xFFFF)
// and a MUTE control on its endpoint's master volume and mute. There are no source lines.
//
// It answers with the codes and structure checks of WINMM. Changes made elsewhere arrive as
// MM_MIXM_CONTROL_CHANGE on every handle of the card, a change of the devices as WM_DEVICECHANGE
// (HandleRegistry.h, VolumeCallback.h, DeviceChangeClient.h).
//
// Usage: construct with the enumerator that all Core Audio objects come from, then call it as
// WINMM. The calling thread is the one that may use the enumerator (COM initialised).
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/endpoint/ComPtr.h"
#include "mixer/endpoint/DeviceChangeClient.h"
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/endpoint/MixerBackend.h"

#include <memory>

class CHandleRegistry;

class CEndpointMixer final : public CMixerBackend {
public:
    explicit CEndpointMixer(CComPtr<IMMDeviceEnumerator> pEnumerator);
    // Closes the handles left open and stops hearing device changes.
    ~CEndpointMixer() override;

    UINT GetNumDevs() override;
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) override;
    MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                  DWORD fdwOpen) override;
    MMRESULT Close(HMIXER hmx) override;
    MMRESULT GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) override;
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) override;
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) override;
    MMRESULT GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
    MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;

private:
    struct CResolved {
        UINT nCard = 0;
        std::shared_ptr<const CEndpointCard> pCard;
    };
    struct CControlRef {
        DWORD dwDestination = 0;
        bool bMute = false;
        const CEndpointLine* pLine = nullptr;
    };

    CEndpointCards Cards();
    MMRESULT Resolve(UINT_PTR nObject, DWORD fdwFlags, CResolved& resolved);
    static MMRESULT CheckDetails(const CEndpointCard& card, const MIXERCONTROLDETAILS* pmxcd,
                                 CControlRef& ref);

    CComPtr<IMMDeviceEnumerator> m_pEnumerator;
    std::shared_ptr<CHandleRegistry> m_pRegistry;
    CComPtr<CDeviceChangeClient> m_pDeviceClient;
    // Marks the changes that this mixer writes, so that their echo from Core Audio is skipped.
    GUID m_guidOwnWrites{};
    CCriticalSection m_cardsMutex;
    CEndpointCards m_cards;
    bool m_bCardsRead = false;
};
