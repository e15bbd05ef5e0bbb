#include "mixer/LineSelection.h"

DWORD MasterComponentType(BOOL bInput)
{
    return bInput ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
}

SLineSelection MakeStartSelection(BOOL bInput, UINT nCardIndex, BOOL bCardFromRole, DWORD dwStoredType,
                                  UINT nStoredMenuIndex, UINT nDeviceCount)
{
    SLineSelection selection;
    selection.m_bInput = bInput;
    // A card from the settings may name a card that is gone; one from a role word is kept.
    selection.m_nCardIndex = bCardFromRole || nCardIndex < nDeviceCount ? nCardIndex : 0;
    // The master line is found by its side's type, whatever type was stored with it.
    selection.m_nMenuIndex = nStoredMenuIndex;
    selection.m_dwComponentType =
        nStoredMenuIndex == kMasterMenuIndex ? MasterComponentType(bInput) : dwStoredType;
    return selection;
}

void OpenSelection(CMixerDevice& mixer, SLineSelection& selection)
{
    mixer.Open(selection.m_nCardIndex);
    // A line that no longer resolves falls back to the master of the side.
    if (!mixer.SelectLine(selection.m_dwComponentType, selection.m_bInput))
        SelectMaster(mixer, selection);
}

BOOL SelectMaster(CMixerDevice& mixer, SLineSelection& selection)
{
    // On the input side the master is the wave-in destination itself, which the output-side
    // lookup by component type finds.
    selection.m_dwComponentType = MasterComponentType(selection.m_bInput);
    selection.m_nMenuIndex = kMasterMenuIndex;
    return mixer.SelectLine(selection.m_dwComponentType, FALSE);
}

BOOL SelectCatalogueLine(CMixerDevice& mixer, const CLineCatalogue& catalogue, int nEntry,
                         SLineSelection& selection)
{
    selection.m_dwComponentType = catalogue.GetComponentType(nEntry);
    selection.m_nMenuIndex = static_cast<UINT>(nEntry);
    return mixer.SelectLine(selection.m_dwComponentType, selection.m_bInput);
}
