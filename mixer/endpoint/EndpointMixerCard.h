// CEndpointMixerCard is one card of the endpoint mixer (EndpointMixer.h) as the front end sees
// it: destination d (the speakers, then the recording endpoint when the card has one) has the
// line id 0xFFFF0000 + d, a VOLUME control 2d on its endpoint's master volume (0..0xFFFF, every
// channel reads the master, a write sets the loudest channel asked for) and a MUTE control 2d + 1
// on its endpoint's mute. There are no sources.
//
// Writes carry the mixer's event context, so that Core Audio's echo of them is skipped
// (VolumeCallback.h); the front end announces them itself.
#pragma once

#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/frontend/CardModel.h"

#include <memory>

class CHandleRegistry;

class CEndpointMixerCard final : public CModelCard {
public:
    CEndpointMixerCard(std::shared_ptr<const CEndpointCard> pCard,
                       std::weak_ptr<const CHandleRegistry> pRegistry, const GUID& guidOwnWrites);

    const CCardLayout& Layout() const override { return m_layout; }
    MMRESULT Read(const CControlPlace& control, std::vector<DWORD>& values) const override;
    MMRESULT Write(const CControlPlace& control, const std::vector<DWORD>& values) override;
    // One volume callback per destination, registered while the result lives.
    std::unique_ptr<CListening> Listen(HMIXER hMixer) override;

private:
    const CEndpointLine& LineOf(const CControlPlace& control) const;

    const std::shared_ptr<const CEndpointCard> m_pCard;
    const std::weak_ptr<const CHandleRegistry> m_pRegistry;
    const GUID m_guidOwnWrites;
    const CCardLayout m_layout;
};
