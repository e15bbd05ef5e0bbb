// A popup menu's entries as a test reads them, one per position: shared by the tests of the bar
// in their own process, on the simulated cards and on the endpoints.
#pragma once

#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

struct SMenuEntry {
    UINT nID; // 0 for a separator
    std::string strText;
    bool bChecked;
    bool bGrayed;

    bool operator==(const SMenuEntry&) const = default;
};

inline const SMenuEntry kMenuSeparator{0, "", false, false};

inline void PrintTo(const SMenuEntry& entry, std::ostream* pOut)
{
    *pOut << "{" << entry.nID << ", \"" << entry.strText << "\", " << entry.bChecked << ", " << entry.bGrayed
          << "}";
}

inline std::vector<SMenuEntry> MenuEntries(HMENU hMenu)
{
    std::vector<SMenuEntry> vecEntries;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        char szText[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = szText;
        info.cch = sizeof szText;
        ::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            vecEntries.push_back(kMenuSeparator);
        else
            vecEntries.push_back(
                {info.wID, szText, (info.fState & MFS_CHECKED) != 0, (info.fState & MFS_GRAYED) != 0});
    }
    return vecEntries;
}

// The entries from the one with this id to the end.
inline std::vector<SMenuEntry> MenuEntriesFrom(HMENU hMenu, UINT nFirstID)
{
    std::vector<SMenuEntry> vecEntries = MenuEntries(hMenu);
    const auto it = std::find_if(vecEntries.begin(), vecEntries.end(),
                                 [nFirstID](const SMenuEntry& entry) { return entry.nID == nFirstID; });
    return std::vector<SMenuEntry>(it, vecEntries.end());
}
