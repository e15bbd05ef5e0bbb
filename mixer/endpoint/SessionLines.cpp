#include "mixer/endpoint/SessionLines.h"

#include "mixer/endpoint/EndpointDevices.h"

namespace {

// Above every destination's controls, which a card has few of.
constexpr DWORD kSessionControlBase = 0x100;

DWORD VolumeOf(size_t nApplication)
{
    return kSessionControlBase + static_cast<DWORD>(nApplication) * kControlsPerLine;
}

} // namespace

std::vector<SLineLayout> SessionLines(const std::vector<SApplicationLine>& applications)
{
    std::vector<SLineLayout> lines;
    for (size_t n = 0; n < applications.size(); ++n)
        lines.push_back(
            {static_cast<DWORD>(n) << 16,
             MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
             1,
             applications[n].strName,
             {{VolumeOf(n), MIXERCONTROL_CONTROLTYPE_VOLUME, kVolumeMaximum, kDefaultVolumeSteps, 0},
              {VolumeOf(n) + 1, MIXERCONTROL_CONTROLTYPE_MUTE, 1, 0, 0}},
             LineFlags(applications[n].state),
             kApplicationLine,
             applications[n].dwIdentity});
    return lines;
}

bool SessionOfControl(DWORD dwControlID, size_t& nApplication)
{
    nApplication = (dwControlID - kSessionControlBase) / kControlsPerLine;
    return dwControlID >= kSessionControlBase;
}

void TellSessionChange(const std::weak_ptr<ICardEvents>& pEvents, const CModelCard* pCard,
                       size_t nApplication, SessionChange change, const GUID& guidContext)
{
    const auto pLocked = pEvents.lock();
    if (!pLocked)
        return;
    if (change == SessionChange::Line)
        pLocked->LineChanged(pCard, static_cast<DWORD>(nApplication) << 16, guidContext);
    else
        pLocked->ControlChanged(pCard, VolumeOf(nApplication) + (change == SessionChange::Mute ? 1 : 0),
                                guidContext);
}
