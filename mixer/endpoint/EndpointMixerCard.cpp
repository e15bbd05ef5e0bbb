#include "mixer/endpoint/EndpointMixerCard.h"

#include "mixer/endpoint/VolumeCallback.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr DWORD kVolumeMaximum = 0xFFFF;

DWORD ScalarToValue(float fScalar)
{
    return static_cast<DWORD>(std::lround(std::clamp(fScalar, 0.0f, 1.0f) * kVolumeMaximum));
}

float ValueToScalar(DWORD dwValue)
{
    return static_cast<float>(dwValue) / static_cast<float>(kVolumeMaximum);
}

CControlLayout ControlLayout(const CEndpointLine& line, DWORD dwDestination, bool bMute)
{
    if (bMute)
        return {MuteControlOf(dwDestination), MIXERCONTROL_CONTROLTYPE_MUTE, 1, 0, 0};
    return {VolumeControlOf(dwDestination), MIXERCONTROL_CONTROLTYPE_VOLUME, kVolumeMaximum, line.cSteps, 0};
}

CCardLayout CardLayout(const CEndpointCard& card)
{
    CCardLayout layout{card.strName, std::vector<CDestinationLayout>(card.lines.size())};
    for (DWORD d = 0; d < card.lines.size(); ++d) {
        const CEndpointLine& line = card.lines[d];
        const bool bSpeakers = line.dwComponentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        layout.destinations[d].line = {LineIdOf(d),
                                       line.dwComponentType,
                                       line.cChannels,
                                       bSpeakers ? "Master Volume" : "Recording Control",
                                       {ControlLayout(line, d, false), ControlLayout(line, d, true)}};
    }
    return layout;
}

bool IsMute(const CControlPlace& control)
{
    return control.pControl->dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE;
}

BOOL CurrentMute(const CEndpointLine& line)
{
    BOOL bMuted = FALSE;
    return SUCCEEDED(line.pVolume->GetMute(&bMuted)) && bMuted;
}

} // namespace

// A handle's volume callbacks, one per destination. Outside the anonymous namespace for a short
// type name: the shipped program's size counts it.
struct CEndpointListening final : CListening {
    std::vector<CVolumeRegistration> registrations;
};

CEndpointMixerCard::CEndpointMixerCard(std::shared_ptr<const CEndpointCard> pCard,
                                       std::weak_ptr<const CHandleRegistry> pRegistry,
                                       const GUID& guidOwnWrites)
    : m_pCard(std::move(pCard)), m_pRegistry(std::move(pRegistry)), m_guidOwnWrites(guidOwnWrites),
      m_layout(CardLayout(*m_pCard))
{
}

const CEndpointLine& CEndpointMixerCard::LineOf(const CControlPlace& control) const
{
    return m_pCard->lines[control.pControl->dwControlID / kControlsPerLine];
}

MMRESULT CEndpointMixerCard::Read(const CControlPlace& control, std::vector<DWORD>& values) const
{
    const CEndpointLine& line = LineOf(control);
    if (IsMute(control)) {
        BOOL bMuted = FALSE;
        if (FAILED(line.pVolume->GetMute(&bMuted)))
            return MMSYSERR_ERROR;
        values[0] = bMuted ? 1 : 0;
        return MMSYSERR_NOERROR;
    }
    float fScalar = 0.0f;
    if (FAILED(line.pVolume->GetMasterVolumeLevelScalar(&fScalar)))
        return MMSYSERR_ERROR;
    std::fill(values.begin(), values.end(), ScalarToValue(fScalar));
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixerCard::Write(const CControlPlace& control, const std::vector<DWORD>& values)
{
    const CEndpointLine& line = LineOf(control);
    // The endpoint keeps one value for all channels: the loudest channel asked for, which is
    // the one a bar shows.
    const DWORD dwValue = *std::max_element(values.begin(), values.end());
    const HRESULT hr =
        IsMute(control) ? line.pVolume->SetMute(dwValue != 0, &m_guidOwnWrites)
                        : line.pVolume->SetMasterVolumeLevelScalar(ValueToScalar(dwValue), &m_guidOwnWrites);
    return SUCCEEDED(hr) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

std::unique_ptr<CListening> CEndpointMixerCard::Listen(HMIXER hMixer)
{
    auto pListening = std::make_unique<CEndpointListening>();
    for (DWORD d = 0; d < m_pCard->lines.size(); ++d) {
        const CEndpointLine& line = m_pCard->lines[d];
        pListening->registrations.emplace_back(
            line.pVolume,
            MakeComObject<CVolumeCallback>(m_pRegistry, hMixer, d, m_guidOwnWrites, CurrentMute(line)));
    }
    return pListening;
}
