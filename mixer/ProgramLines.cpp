#include "mixer/ProgramLines.h"

#include "mixer/MixerHandle.h"

std::vector<SProgramLine> ReadProgramLines(HMIXEROBJ hObject, DWORD fdwObject)
{
    std::vector<SProgramLine> programs;
    MIXERLINEA speakers = EmptyMixerLine();
    speakers.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoA(hObject, &speakers, fdwObject | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return programs;
    for (DWORD dwSource = 0; dwSource < speakers.cConnections; ++dwSource) {
        MIXERLINEA source = EmptyMixerLine();
        source.dwDestination = speakers.dwDestination;
        source.dwSource = dwSource;
        if (mixerGetLineInfoA(hObject, &source, fdwObject | MIXER_GETLINEINFOF_SOURCE) == MMSYSERR_NOERROR &&
            IsProgramLine(source))
            programs.push_back({source.dwLineID, source.Target.dwDeviceID, source.szName,
                                (source.fdwLine & MIXERLINE_LINEF_DISCONNECTED) != 0,
                                (source.fdwLine & MIXERLINE_LINEF_ACTIVE) != 0});
    }
    return programs;
}
