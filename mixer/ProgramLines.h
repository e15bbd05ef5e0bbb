// The programs' lines of a card (mixer/frontend/ApplicationLine.h): on Windows Vista and later,
// one source line of the speakers per program that plays or played on the card while this copy
// ran. The bar lists them in its menu and remembers its choice by the program's identity.
#pragma once

#include "mixer/frontend/ApplicationLine.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

// Whether a line of the mixer (MIXERLINEA or MIXERLINEW) is a program's own rather than an
// input of the card.
constexpr bool IsProgramLine(const auto& line)
{
    return line.dwUser == kApplicationLine;
}

struct SProgramLine {
    DWORD dwLineID = 0;
    DWORD dwIdentity = 0;
    // In Unicode, as the wide record holds it (FitName, mixer/frontend/CardLayout.h).
    std::wstring strName;
    // Every session of the program has ended (MIXERLINE_LINEF_DISCONNECTED).
    bool bGone = false;
    // A session of the program plays now (MIXERLINE_LINEF_ACTIVE).
    bool bPlaying = false;
};

// The programs' lines of the speakers of an open card (hObject with MIXER_OBJECTF_HMIXER) or
// of a device index (MIXER_OBJECTF_MIXER), in the order of their sources; none where the card
// has none.
std::vector<SProgramLine> ReadProgramLines(HMIXEROBJ hObject, DWORD fdwObject);
