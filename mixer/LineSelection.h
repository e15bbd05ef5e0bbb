// The bar's choice of line (card, side, menu index, component type) and the rules that turn a
// stored choice or a menu command into a selection on a CMixerDevice.
//
// At start-up: MakeStartSelection from the stored values, then OpenSelection on the bar's
// device. From the menu: SelectMaster or SelectCatalogueLine.
#pragma once

#include "mixer/LineCatalogue.h"
#include "mixer/MixerDevice.h"

// Menu index of the master line; 0 to 8 are catalogue entries.
constexpr UINT kMasterMenuIndex = 9;
// How many catalogue entries the menu can offer as lines of their own.
constexpr UINT kCatalogueMenuLines = 9;

struct SLineSelection {
    UINT m_nCardIndex = 0;
    BOOL m_bInput = FALSE;
    UINT m_nMenuIndex = kMasterMenuIndex;
    DWORD m_dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
};

// The speakers destination on the output side, the wave-in destination on the input side;
// also the default of a stored component type.
DWORD MasterComponentType(BOOL bInput);

// The selection to open at start-up. A card from the settings that is not below the device
// count becomes 0; a card from a role word is taken as it is. Menu index 9 always means the
// master of the side, whatever type was stored.
SLineSelection MakeStartSelection(BOOL bInput, UINT nCardIndex, BOOL bCardFromRole, DWORD dwStoredType,
                                  UINT nStoredMenuIndex, UINT nDeviceCount);

// Opens the selection's card and selects its line; a line that no longer resolves falls back
// to the master of the side (menu index 9).
void OpenSelection(CMixerDevice& mixer, SLineSelection& selection);

// The menu's "Master" command: the side's master found by its component type.
BOOL SelectMaster(CMixerDevice& mixer, SLineSelection& selection);

// The menu's numbered command for catalogue entry nEntry.
BOOL SelectCatalogueLine(CMixerDevice& mixer, const CLineCatalogue& catalogue, int nEntry,
                         SLineSelection& selection);
