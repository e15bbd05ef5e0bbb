// CEndpointMixerCard is one card of the endpoint mixer (EndpointMixer.h) as the front end sees
// it: destination d (the speakers when the card has a render endpoint, then the recording
// endpoint when it has one) has the line id 0xFFFF0000 + d, a VOLUME control 2d on its
// endpoint's volume (0..0xFFFF per channel; a write of one level for all channels sets the
// master, which keeps the balance set in Windows, one of different levels sets each channel) and
// a MUTE control 2d + 1 on its endpoint's mute.
// The speakers destination has one source line per application that plays on the endpoint
// (AudioSessions.h), laid out and told of by SessionLines.h, a VOLUME and a MUTE control on its
// sessions' volume and mute. Every handle of the card shares one hearing of its endpoints and
// sessions.
//
// An endpoint that answers AUDCLNT_E_DEVICE_INVALIDATED (unplugged) or
// AUDCLNT_E_SERVICE_NOT_RUNNING (the audio service stopped or restarted) makes the call fail and
// is reported as a change of the cards (DeviceChangeClient.h), on which the bars restart.
//
// Writes carry the front end's write context, which Core Audio's echo of them brings back to the
// front end (VolumeCallback.h, SessionCallbacks.h); the front end announces them itself.
#pragma once

#include "mixer/endpoint/AudioSessions.h"
#include "mixer/endpoint/DeviceChangeClient.h"
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/frontend/CardModel.h"

#include <memory>

class CChangeHandover;
class CMultithreadedApartment;

class CEndpointMixerCard final : public CModelCard {
public:
    CEndpointMixerCard(std::shared_ptr<const SEndpointCard> pCard, std::weak_ptr<CChangeHandover> pHandover,
                       std::weak_ptr<ICardEvents> pEvents, CComPtr<CDeviceChangeClient> pDeviceClient,
                       const GUID& guidOwnWrites, std::shared_ptr<CMultithreadedApartment> pApartment);

    const SCardLayout& Layout() const override { return m_layout; }
    // Takes in the changes of the speakers' sessions, while they are heard.
    void Refresh() override;
    MMRESULT Read(const SControlPlace& control, std::vector<DWORD>& values) const override;
    MMRESULT Write(const SControlPlace& control, const std::vector<DWORD>& values) override;
    // One volume callback per destination and the speakers' sessions, heard while any result
    // lives, whatever the number of handles, and let go of with the last.
    std::unique_ptr<CListening> Listen() override;
    // The card's first endpoint (the render endpoint where it has one), which it stands for.
    std::wstring Key() const override { return m_pCard->lines.front().strEndpointId; }

private:
    const SEndpointLine& LineOf(const SControlPlace& control) const;
    MMRESULT Result(HRESULT hr) const;
    // The sessions' changes, into the speakers' source lines.
    void TakeIn(CAudioSessions& sessions);
    // The speakers' sessions, heard from now on.
    std::shared_ptr<CAudioSessions> ListenToSessions();
    struct SHearing;
    // A session lost its endpoint, or the audio service stopped: the cards changed only when
    // the endpoint fails or the endpoints are others.
    void SessionEndpointFailed() const;
    MMRESULT ReadApplication(size_t nApplication, bool bMute, std::vector<DWORD>& values) const;
    MMRESULT WriteApplication(size_t nApplication, bool bMute, const std::vector<DWORD>& values);
    // A session's failure is the card's only when the audio service has stopped; otherwise the
    // session alone has ended.
    MMRESULT ApplicationResult(HRESULT hr) const;

    const std::shared_ptr<const SEndpointCard> m_pCard;
    const std::weak_ptr<CChangeHandover> m_pHandover;
    const std::weak_ptr<ICardEvents> m_pEvents;
    const CComPtr<CDeviceChangeClient> m_pDeviceClient;
    const GUID m_guidOwnWrites;
    const std::shared_ptr<CMultithreadedApartment> m_pApartment;
    SCardLayout m_layout;
    std::weak_ptr<CAudioSessions> m_pSessions;
    // What every open handle of the card shares.
    std::weak_ptr<SHearing> m_pHearing;
};
