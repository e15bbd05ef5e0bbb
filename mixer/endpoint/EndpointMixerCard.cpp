#include "mixer/endpoint/EndpointMixerCard.h"

#include "fw/AnsiText.h"

#include "mixer/endpoint/ChangeHandover.h"
#include "mixer/endpoint/EndpointCards.h"
#include "mixer/endpoint/SessionLines.h"
#include "mixer/endpoint/VolumeCallback.h"

#include <audioclient.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <utility>

namespace {

DWORD ScalarToValue(float fScalar)
{
    return static_cast<DWORD>(std::lround(std::clamp(fScalar, 0.0f, 1.0f) * kVolumeMaximum));
}

float ValueToScalar(DWORD dwValue)
{
    return static_cast<float>(dwValue) / static_cast<float>(kVolumeMaximum);
}

SControlLayout ControlLayout(const SEndpointLine& line, DWORD dwDestination, bool bMute)
{
    if (bMute)
        return {MuteControlOf(dwDestination), MIXERCONTROL_CONTROLTYPE_MUTE, 1, 0, 0};
    return {VolumeControlOf(dwDestination), MIXERCONTROL_CONTROLTYPE_VOLUME, kVolumeMaximum, line.cSteps, 0};
}

SCardLayout CardLayout(const SEndpointCard& card)
{
    SCardLayout layout{ToWide(card.strName), std::vector<SDestinationLayout>(card.lines.size())};
    for (DWORD d = 0; d < card.lines.size(); ++d) {
        const SEndpointLine& line = card.lines[d];
        const bool bSpeakers = line.dwComponentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        layout.destinations[d].line = {LineIdOf(d),
                                       line.dwComponentType,
                                       line.cChannels,
                                       bSpeakers ? L"Master Volume" : L"Recording Control",
                                       {ControlLayout(line, d, false), ControlLayout(line, d, true)}};
    }
    return layout;
}

bool IsMute(const SControlPlace& control)
{
    return control.pControl->dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE;
}

BOOL CurrentMute(const SEndpointLine& line)
{
    BOOL bMuted = FALSE;
    return SUCCEEDED(line.pVolume->GetMute(&bMuted)) && bMuted;
}

} // namespace

// The volume callbacks, one per destination, and the sessions of the speakers.
struct CEndpointMixerCard::SHearing {
    std::vector<CVolumeRegistration> registrations;
    std::shared_ptr<CAudioSessions> pSessions;
};

// A handle's share of the card's hearing. Outside the anonymous namespace for a short type name:
// the shipped program's size counts it.
struct CEndpointListening final : CListening {
    std::shared_ptr<void> pHearing;
};

CEndpointMixerCard::CEndpointMixerCard(std::shared_ptr<const SEndpointCard> pCard,
                                       std::weak_ptr<CChangeHandover> pHandover,
                                       std::weak_ptr<ICardEvents> pEvents,
                                       CComPtr<CDeviceChangeClient> pDeviceClient, const GUID& guidOwnWrites,
                                       std::shared_ptr<CMultithreadedApartment> pApartment)
    : m_pCard(std::move(pCard)), m_pHandover(std::move(pHandover)), m_pEvents(std::move(pEvents)),
      m_pDeviceClient(std::move(pDeviceClient)), m_guidOwnWrites(guidOwnWrites),
      m_pApartment(std::move(pApartment)), m_layout(CardLayout(*m_pCard))
{
}

const SEndpointLine& CEndpointMixerCard::LineOf(const SControlPlace& control) const
{
    return m_pCard->lines[control.pControl->dwControlID / kControlsPerLine];
}

MMRESULT CEndpointMixerCard::Result(HRESULT hr) const
{
    if (SUCCEEDED(hr))
        return MMSYSERR_NOERROR;
    // The endpoint is gone, or the audio service has stopped: whatever this card held is dead,
    // and the bars restart on what there is now.
    if (hr == AUDCLNT_E_DEVICE_INVALIDATED || hr == AUDCLNT_E_SERVICE_NOT_RUNNING)
        m_pDeviceClient->DeviceFailed();
    return MMSYSERR_ERROR;
}

void CEndpointMixerCard::Refresh()
{
    if (const auto pSessions = m_pSessions.lock())
        TakeIn(*pSessions);
    else
        // Nobody listens: no program is heard, and none is shown.
        m_layout.destinations.front().sources.clear();
}

void CEndpointMixerCard::TakeIn(CAudioSessions& sessions)
{
    if (sessions.Update())
        m_layout.destinations.front().sources = SessionLines(sessions.Applications());
}

std::shared_ptr<CAudioSessions> CEndpointMixerCard::ListenToSessions()
{
    // Programs play on a render endpoint; a card of a microphone alone has none.
    const SEndpointLine& speakers = m_pCard->lines.front();
    const auto pHandover = m_pHandover.lock();
    if (speakers.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS || !speakers.pDevice || !pHandover)
        return nullptr;
    // A new hearing starts from no program.
    m_layout.destinations.front().sources.clear();
    auto pSessions = std::make_shared<CAudioSessions>(
        speakers.pDevice, m_pApartment, m_guidOwnWrites,
        std::bind_front(TellSessionChange, m_pEvents, static_cast<const CModelCard*>(this)),
        [this] { SessionEndpointFailed(); }, pHandover);
    m_pSessions = pSessions;
    // The sessions there are, so that their changes are heard from now on.
    TakeIn(*pSessions);
    return pSessions;
}

void CEndpointMixerCard::SessionEndpointFailed() const
{
    BOOL bMuted = FALSE;
    if (Result(m_pCard->lines.front().pVolume->GetMute(&bMuted)) == MMSYSERR_NOERROR)
        m_pDeviceClient->CheckEndpoints();
}

MMRESULT CEndpointMixerCard::ApplicationResult(HRESULT hr) const
{
    if (hr == AUDCLNT_E_SERVICE_NOT_RUNNING)
        return Result(hr);
    return SUCCEEDED(hr) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

MMRESULT CEndpointMixerCard::ReadApplication(size_t nApplication, bool bMute,
                                             std::vector<DWORD>& values) const
{
    const auto pSessions = m_pSessions.lock();
    if (!pSessions)
        return MMSYSERR_ERROR;
    BOOL bMuted = FALSE;
    float fLevel = 0.0f;
    const HRESULT hr =
        bMute ? pSessions->GetMute(nApplication, bMuted) : pSessions->GetVolume(nApplication, fLevel);
    values[0] = bMute ? (bMuted ? 1 : 0) : ScalarToValue(fLevel);
    return ApplicationResult(hr);
}

MMRESULT CEndpointMixerCard::WriteApplication(size_t nApplication, bool bMute,
                                              const std::vector<DWORD>& values)
{
    const auto pSessions = m_pSessions.lock();
    if (!pSessions)
        return MMSYSERR_ERROR;
    return ApplicationResult(bMute ? pSessions->SetMute(nApplication, values[0] != 0)
                                   : pSessions->SetVolume(nApplication, ValueToScalar(values[0])));
}

MMRESULT CEndpointMixerCard::Read(const SControlPlace& control, std::vector<DWORD>& values) const
{
    if (size_t nApplication = 0; SessionOfControl(control.pControl->dwControlID, nApplication))
        return ReadApplication(nApplication, IsMute(control), values);
    IAudioEndpointVolume* pVolume = LineOf(control).pVolume.Get();
    HRESULT hr = S_OK;
    if (IsMute(control)) {
        BOOL bMuted = FALSE;
        hr = pVolume->GetMute(&bMuted);
        values[0] = bMuted ? 1 : 0;
    }
    else if (values.size() == 1) {
        float fScalar = 0.0f;
        hr = pVolume->GetMasterVolumeLevelScalar(&fScalar);
        values[0] = ScalarToValue(fScalar);
    }
    else
        for (UINT nChannel = 0; nChannel < values.size() && SUCCEEDED(hr); ++nChannel) {
            float fScalar = 0.0f;
            hr = pVolume->GetChannelVolumeLevelScalar(nChannel, &fScalar);
            values[nChannel] = ScalarToValue(fScalar);
        }
    return Result(hr);
}

MMRESULT CEndpointMixerCard::Write(const SControlPlace& control, const std::vector<DWORD>& values)
{
    if (size_t nApplication = 0; SessionOfControl(control.pControl->dwControlID, nApplication))
        return WriteApplication(nApplication, IsMute(control), values);
    IAudioEndpointVolume* pVolume = LineOf(control).pVolume.Get();
    HRESULT hr = S_OK;
    if (IsMute(control))
        hr = pVolume->SetMute(values[0] != 0, &m_guidOwnWrites);
    else if (std::adjacent_find(values.begin(), values.end(), std::not_equal_to<>()) == values.end())
        // One level for every channel: the master, which keeps the balance set in Windows.
        hr = pVolume->SetMasterVolumeLevelScalar(ValueToScalar(values[0]), &m_guidOwnWrites);
    else
        for (UINT nChannel = 0; nChannel < values.size() && SUCCEEDED(hr); ++nChannel)
            hr = pVolume->SetChannelVolumeLevelScalar(nChannel, ValueToScalar(values[nChannel]),
                                                      &m_guidOwnWrites);
    return Result(hr);
}

std::unique_ptr<CListening> CEndpointMixerCard::Listen()
{
    auto pListening = std::make_unique<CEndpointListening>();
    if (auto pHearing = m_pHearing.lock()) {
        pListening->pHearing = std::move(pHearing);
        return pListening;
    }
    const auto pHandover = m_pHandover.lock();
    if (!pHandover)
        return pListening;
    auto pHearing = std::make_shared<SHearing>();
    for (DWORD d = 0; d < m_pCard->lines.size(); ++d) {
        const SEndpointLine& line = m_pCard->lines[d];
        pHearing->registrations.emplace_back(
            line.pVolume,
            MakeComObject<CVolumeCallback>(pHandover->Window(), m_pEvents, this, d, CurrentMute(line)),
            m_pHandover);
    }
    pHearing->pSessions = ListenToSessions();
    m_pHearing = pHearing;
    pListening->pHearing = std::move(pHearing);
    return pListening;
}
