// The programs' group of the bar's menu (mixer/ProgramLines.h): one radio entry per program
// that has a session on the bar's card, playing ones before silent ones, and the bar's chosen
// program always, greyed while none of its sessions is there (else last), so that the user sees
// what the bar drives. What does not fit the screen goes into a submenu; the chosen program
// never does.
#pragma once

#include "mixer/ProgramLines.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct SProgramEntry {
    DWORD dwIdentity = 0;
    // The name as PlainName makes it.
    std::wstring wstrName;
    bool bGreyed = false;
    bool bChosen = false;
    // Listed in the submenu of the programs that do not fit.
    bool bMore = false;

    bool operator==(const SProgramEntry&) const = default;
};

// How many programs' entries the menu has room for (at least 2), and its submenu of the rest.
struct SProgramRoom {
    size_t nMenu = 0;
    size_t nSubmenu = 0;
};

// dwChosen 0: the bar drives a line, not a program; wstrChosenName names it where the card does
// not.
std::vector<SProgramEntry> ProgramEntries(const std::vector<SProgramLine>& programs, DWORD dwChosen,
                                          const std::wstring& wstrChosenName, SProgramRoom room);

// The name that the card gives a program now, which it may have changed; wstrKnown where the
// card lists the program no more.
std::wstring ProgramName(const std::vector<SProgramLine>& programs, DWORD dwIdentity,
                         const std::wstring& wstrKnown);

// The room on a work area nHeight pixels tall, beside the cOtherItems entries the menu always has.
SProgramRoom ProgramRoom(int nHeight, int nEntryHeight, int cOtherItems);

// A program's name as a tooltip and a screen reader show it: a control character (a tab, a line
// break) becomes one blank, none at either end.
std::wstring PlainName(std::wstring_view name);
// The text of a menu entry that shows a name as it is: an ampersand doubled marks no access key.
std::wstring MenuEntryText(std::wstring_view name);
