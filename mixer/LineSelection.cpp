#include "mixer/LineSelection.h"

DWORD MasterComponentType(BOOL bInput)
{
    return bInput ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
}

SLineSelection MakeStartSelection(BOOL bInput, UINT nCardIndex, BOOL bCardFromRole, DWORD dwStoredType,
                                  UINT nStoredMenuIndex, UINT nDeviceCount)
{
    SLineSelection selection;
    // 1. Side and card.
    selection.m_bInput = bInput;
    selection.m_nCardIndex = bCardFromRole || nCardIndex < nDeviceCount ? nCardIndex : 0;
    // 2./3. Line.
    selection.m_nMenuIndex = nStoredMenuIndex;
    selection.m_dwComponentType =
        nStoredMenuIndex == kMasterMenuIndex ? MasterComponentType(bInput) : dwStoredType;
    return selection;
}

void OpenSelection(CMixerDevice& mixer, SLineSelection& selection)
{
    // 4.
    mixer.Open(selection.m_nCardIndex);
    // 5. On the input side the master is the wave-in destination, reached by the output-side
    //    lookup by component type.
    if (!mixer.SelectLine(selection.m_dwComponentType, selection.m_bInput))
        SelectMaster(mixer, selection);
}

BOOL SelectMaster(CMixerDevice& mixer, SLineSelection& selection)
{
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
