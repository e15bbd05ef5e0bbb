#include "bar/ProgramEntries.h"

#include "fw/AnsiText.h"

std::vector<SProgramEntry> ProgramEntries(const std::vector<SProgramLine>& programs, DWORD dwChosen,
                                          const std::string& strChosenName)
{
    std::vector<SProgramEntry> entries;
    bool bChosenListed = false;
    for (const SProgramLine& program : programs) {
        const bool bChosen = dwChosen != 0 && program.dwIdentity == dwChosen;
        if (program.bGone && !bChosen)
            continue;
        entries.push_back({program.dwIdentity, ToAnsi(program.strName), program.bGone, bChosen});
        bChosenListed |= bChosen;
    }
    if (dwChosen != 0 && !bChosenListed)
        entries.push_back({dwChosen, strChosenName, true, true});
    return entries;
}
