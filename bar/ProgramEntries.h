// The programs' group of the bar's menu (mixer/ProgramLines.h): one radio entry per program
// that has a session on the bar's card, in the card's order, and the bar's chosen program
// always, greyed while none of its sessions is there (at its place when the card still lists it,
// else last), so that the user sees what the bar drives.
#pragma once

#include "mixer/ProgramLines.h"

#include <windows.h>

#include <string>
#include <vector>

struct SProgramEntry {
    DWORD dwIdentity = 0;
    std::string strName;
    bool bGreyed = false;
    bool bChosen = false;

    bool operator==(const SProgramEntry&) const = default;
};

// dwChosen 0: the bar drives a line, not a program; strChosenName names it where the card does not.
std::vector<SProgramEntry> ProgramEntries(const std::vector<SProgramLine>& programs, DWORD dwChosen,
                                          const std::string& strChosenName);
