// The sound cards that the mixer interface offers: how many there are and what each is called.
// The bar asks here rather than calling the mixer functions itself.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>

// Cards are numbered 0 to the count less one; with none, nothing can be driven.
UINT CountMixerCards();

// The product name of card nCard, as its driver reports it; empty, with the mixer's error code,
// when the card cannot be asked.
MMRESULT GetMixerCardName(UINT nCard, std::string& strName);

// Whether a WM_DEVICECHANGE tells of a change of the cards, on which the bars restart. Answered by
// the mixer the program links: on WINMM every DBT_DEVNODES_CHANGED may be one; the product's
// endpoint mixer tells the bars itself of each change of its cards, once for a burst, and
// Windows' broadcast of that code for any other device (a USB stick, a mouse) is none.
BOOL IsMixerCardChange(WPARAM wParam, LPARAM lParam);
