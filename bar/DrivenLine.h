// SDrivenLine: what a bar drives, as one value: its card and side, and on them either a line of
// the catalogue (the master, menu index 9, or a numbered line) or one program that plays on the
// card. CBarDlg is one, so that its members keep the names that the settings and the menu know;
// the rules that read the value are the free functions below.
//
//   SDrivenLine line = ReadStoredLine(bInput);     // the choice a bar starts with
//   TakeProgram(line, dwIdentity, L"Browser");
//   SaveDrivenLine(line);                          // as the bar leaves
#pragma once

#include "mixer/LineSelection.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

class CLineCatalogue;

struct SDrivenLine {
    int m_nCardIndex = 0;
    // The card's name as the bar found it when it started: what a program is stored with, as
    // card numbers change when a device comes or goes.
    std::wstring m_wstrCardName;
    int m_bInput = 0;
    int m_nMenuIndex = kMasterMenuIndex;
    DWORD m_dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    // The program by its identity (mixer/ProgramLines.h), 0 while the bar drives a line; and its
    // name as the card gave it last.
    DWORD m_dwProgram = 0;
    std::wstring m_wstrProgramName;
};

// A line of the catalogue instead of any program.
void TakeLine(SDrivenLine& line, int nMenuIndex, DWORD dwComponentType);
// A program instead of any line. The line's values stay on the master, so that the stored line
// means what it did to a copy that knows no programs.
void TakeProgram(SDrivenLine& line, DWORD dwIdentity, const std::wstring& wstrName);

// The choice a bar starts with: the side as read before, the card from the role word or the
// settings, and the stored line or program. A program stored by a bar of another card is not
// this bar's: the bar then starts on its stored line.
SDrivenLine ReadStoredLine(int bInput);
// The values of the choice in the settings. A bar that drives no program leaves alone one that
// a bar of another card stored.
void SaveDrivenLine(const SDrivenLine& line);

// The menu entry of the line that carries the mark, whether the menu lists it or not; 0 while a
// program has it.
UINT MarkedLineEntry(const SDrivenLine& line);
// The tray icon's picture: struck through (IDI_MUTED) only while the speakers' master or a program
// that plays on them is muted, as the icon tells whether anything can be heard at all.
WORD TrayPicture(const SDrivenLine& line, BOOL bMuted);
// What the tooltips and the screen reader's descriptions put in front of their words: the
// program's or the numbered line's name and a blank; nothing for the master.
std::wstring LineLabel(const SDrivenLine& line, const CLineCatalogue& catalogue);
