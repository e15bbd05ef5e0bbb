#include "mixer/LineSelection.h"

DWORD MasterComponentType(BOOL bInput)
{
    return bInput ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
}

UINT StartCardIndex(UINT nCardIndex, BOOL bCardFromRole, UINT nDeviceCount)
{
    return bCardFromRole || nCardIndex < nDeviceCount ? nCardIndex : 0;
}

DWORD StartComponentType(BOOL bInput, DWORD dwStoredType, UINT nMenuIndex)
{
    return nMenuIndex == kMasterMenuIndex ? MasterComponentType(bInput) : dwStoredType;
}

BOOL SelectMenuLine(CMixerDevice& mixer, UINT nMenuIndex, DWORD dwComponentType, BOOL bInput)
{
    // On the input side the master is the wave-in destination itself, which the output-side
    // lookup by component type finds.
    return mixer.SelectLine(dwComponentType, nMenuIndex == kMasterMenuIndex ? FALSE : bInput);
}
