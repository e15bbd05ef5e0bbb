#include "bar/ProgramEntries.h"

#include <algorithm>

namespace {

bool IsControlCharacter(wchar_t c)
{
    return c < L' ' || (c >= 0x7F && c < 0xA0);
}

} // namespace

std::vector<SProgramEntry> ProgramEntries(const std::vector<SProgramLine>& programs, DWORD dwChosen,
                                          const std::wstring& wstrChosenName, SProgramRoom room)
{
    // 1. What the card lists, silent programs after the playing ones, and the chosen one.
    std::vector<SProgramEntry> entries;
    std::vector<SProgramEntry> silent;
    bool bChosenListed = false;
    for (const SProgramLine& program : programs) {
        const bool bChosen = dwChosen != 0 && program.dwIdentity == dwChosen;
        if (program.bGone && !bChosen)
            continue;
        (program.bPlaying ? entries : silent)
            .push_back({program.dwIdentity, PlainName(program.strName), program.bGone, bChosen});
        bChosenListed |= bChosen;
    }
    entries.insert(entries.end(), silent.begin(), silent.end());
    if (dwChosen != 0 && !bChosenListed)
        entries.push_back({dwChosen, PlainName(wstrChosenName), true, true});
    if (entries.size() <= room.nMenu)
        return entries;

    // 2. Too many for the menu: the first fill it but for the entry that opens the rest, the
    //    chosen one among them, and the rest go into the submenu as far as it has room.
    const size_t nShown = room.nMenu - 1;
    const auto chosen =
        std::find_if(entries.begin(), entries.end(), [](const SProgramEntry& e) { return e.bChosen; });
    if (chosen != entries.end() && static_cast<size_t>(chosen - entries.begin()) >= nShown)
        std::rotate(entries.begin() + static_cast<std::ptrdiff_t>(nShown - 1), chosen, chosen + 1);
    entries.resize(std::min(entries.size(), nShown + room.nSubmenu));
    for (size_t i = nShown; i < entries.size(); ++i)
        entries[i].bMore = true;
    return entries;
}

std::wstring ProgramName(const std::vector<SProgramLine>& programs, DWORD dwIdentity,
                         const std::wstring& wstrKnown)
{
    const auto it = std::find_if(programs.begin(), programs.end(), [dwIdentity](const SProgramLine& program) {
        return program.dwIdentity == dwIdentity;
    });
    return it != programs.end() ? it->strName : wstrKnown;
}

SProgramRoom ProgramRoom(int nHeight, int nEntryHeight, int cOtherItems)
{
    // Themed menus draw an entry a little taller than the menu bar's metric says, and separators
    // less tall: a fifth of the height spare, and the menu's frame counted as an entry, keep a
    // menu on the screen. The menu has the group's separator besides.
    const int cColumn = nHeight * 4 / 5 / std::max(nEntryHeight, 1) - 1;
    return {static_cast<size_t>(std::max(cColumn - cOtherItems - 1, 2)),
            static_cast<size_t>(std::max(cColumn, 1))};
}

std::wstring PlainName(std::wstring_view name)
{
    std::wstring wstrPlain;
    bool bBlankDue = false;
    for (const wchar_t c : name) {
        if (IsControlCharacter(c)) {
            bBlankDue = !wstrPlain.empty();
            continue;
        }
        if (bBlankDue && c != L' ' && wstrPlain.back() != L' ')
            wstrPlain += L' ';
        bBlankDue = false;
        wstrPlain += c;
    }
    return wstrPlain;
}

std::wstring MenuEntryText(std::wstring_view name)
{
    std::wstring wstrText;
    for (const wchar_t c : PlainName(name)) {
        wstrText += c;
        if (c == L'&')
            wstrText += L'&';
    }
    return wstrText;
}
