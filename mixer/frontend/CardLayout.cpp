#include "mixer/frontend/CardLayout.h"

#include <algorithm>

CLinePlace FindLine(const CCardLayout& card, DWORD dwLineID)
{
    CLinePlace found;
    ForEachLine(card, [&](const CLinePlace& place) {
        if (place.pLine->dwLineID != dwLineID)
            return false;
        found = place;
        return true;
    });
    return found;
}

CControlPlace FindControl(const CCardLayout& card, DWORD dwControlID)
{
    CControlPlace found;
    ForEachLine(card, [&](const CLinePlace& place) {
        for (const CControlLayout& control : place.pLine->controls)
            if (control.dwControlID == dwControlID) {
                found = {&control, place.pLine};
                return true;
            }
        return false;
    });
    return found;
}

bool IsUniform(const CControlLayout& control)
{
    return (control.dwControlType & MIXERCONTROL_CT_CLASS_MASK) != MIXERCONTROL_CT_CLASS_FADER;
}

DWORD ControlChannels(const CControlPlace& control)
{
    return IsUniform(*control.pControl) ? 1 : control.pLine->cChannels;
}

size_t ValueCount(const CControlPlace& control)
{
    return size_t{ControlChannels(control)} * std::max<DWORD>(control.pControl->cMultipleItems, 1);
}

MMRESULT CheckValues(const CCardLayout& card, DWORD dwControlID, const std::vector<DWORD>& values)
{
    const CControlPlace place = FindControl(card, dwControlID);
    return place.pControl != nullptr ? CheckValues(place, values) : MIXERR_INVALCONTROL;
}

MMRESULT CheckValues(const CControlPlace& place, const std::vector<DWORD>& values)
{
    const CControlLayout& control = *place.pControl;
    if (values.size() != ValueCount(place))
        return MMSYSERR_INVALPARAM;
    bool bAnySet = false;
    for (const DWORD dwValue : values) {
        if (dwValue > control.dwMaximum)
            return MIXERR_INVALVALUE;
        bAnySet |= dwValue != 0;
    }
    // A MUX always has one item selected.
    if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX && !bAnySet)
        return MIXERR_INVALVALUE;
    return MMSYSERR_NOERROR;
}
