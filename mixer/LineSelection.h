// The rules of a bar's choice of line: which card and line a bar starts with, and how the line
// of a menu entry is found on a CMixerDevice. The choice itself (card, side, menu index and
// component type) is the bar's; these take and give single values.
#pragma once

#include "mixer/MixerDevice.h"

#include <mmsystem.h>

// Menu index of the master line; 0 to 8 are catalogue entries.
constexpr UINT kMasterMenuIndex = 9;
// How many catalogue entries the menu can offer as lines of their own.
constexpr UINT kCatalogueMenuLines = 9;

// The speakers destination on the output side, the wave-in destination on the input side;
// also the default of a stored component type.
DWORD MasterComponentType(BOOL bInput);

// The card a bar starts on: a card from the settings that is not below the device count
// becomes 0 (the card may be gone); a card from a role word is taken as it is.
UINT StartCardIndex(UINT nCardIndex, BOOL bCardFromRole, UINT nDeviceCount);

// The component type a bar starts with: menu index 9 always means the master of the side,
// whatever type was stored with it.
DWORD StartComponentType(BOOL bInput, DWORD dwStoredType, UINT nMenuIndex);

// Selects the line of a menu entry on the mixer's open card: the side's master (menu index 9)
// by its component type, a catalogue entry as a line of that type on the bar's side. TRUE when
// the line exists.
BOOL SelectMenuLine(CMixerDevice& mixer, UINT nMenuIndex, DWORD dwComponentType, BOOL bInput);
