#include "mixer/ProgramLines.h"

namespace {

// The wide record, whose names keep every character of the program's name.
MIXERLINEW EmptyWideLine()
{
    MIXERLINEW line{};
    line.cbStruct = sizeof line;
    return line;
}

} // namespace

std::vector<SProgramLine> ReadProgramLines(HMIXEROBJ hObject, DWORD fdwObject)
{
    std::vector<SProgramLine> programs;
    MIXERLINEW speakers = EmptyWideLine();
    speakers.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoW(hObject, &speakers, fdwObject | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return programs;
    for (DWORD dwSource = 0; dwSource < speakers.cConnections; ++dwSource) {
        MIXERLINEW source = EmptyWideLine();
        source.dwDestination = speakers.dwDestination;
        source.dwSource = dwSource;
        if (mixerGetLineInfoW(hObject, &source, fdwObject | MIXER_GETLINEINFOF_SOURCE) == MMSYSERR_NOERROR &&
            IsProgramLine(source))
            programs.push_back({source.dwLineID, source.Target.dwDeviceID, source.szName,
                                (source.fdwLine & MIXERLINE_LINEF_DISCONNECTED) != 0,
                                (source.fdwLine & MIXERLINE_LINEF_ACTIVE) != 0});
    }
    return programs;
}
