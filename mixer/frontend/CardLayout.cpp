#include "mixer/frontend/CardLayout.h"

#include <algorithm>

SLinePlace FindLine(const SCardLayout& card, DWORD dwLineID)
{
    return FirstLine(card, [&](const SLinePlace& place) { return place.pLine->dwLineID == dwLineID; });
}

SControlPlace FindControl(const SCardLayout& card, DWORD dwControlID)
{
    SControlPlace found;
    FirstLine(card, [&](const SLinePlace& place) {
        for (const SControlLayout& control : place.pLine->controls)
            if (control.dwControlID == dwControlID) {
                found = {&control, place.pLine};
                return true;
            }
        return false;
    });
    return found;
}

DWORD LineFlags(LineState state)
{
    switch (state) {
    case LineState::Active:
        return MIXERLINE_LINEF_ACTIVE;
    case LineState::Silent:
        return 0;
    default:
        return MIXERLINE_LINEF_DISCONNECTED;
    }
}

std::wstring FitName(const std::wstring& strName, size_t cchRecord)
{
    if (strName.size() < cchRecord)
        return strName;
    size_t cchKept = cchRecord - 2;
    if (cchKept > 0 && IS_HIGH_SURROGATE(strName[cchKept - 1]))
        --cchKept;
    return strName.substr(0, cchKept) + L'\u2026';
}

bool IsUniform(const SControlLayout& control)
{
    return (control.dwControlType & MIXERCONTROL_CT_CLASS_MASK) != MIXERCONTROL_CT_CLASS_FADER;
}

DWORD ControlChannels(const SControlPlace& control)
{
    return IsUniform(*control.pControl) ? 1 : control.pLine->cChannels;
}

size_t ValueCount(const SControlPlace& control)
{
    return size_t{ControlChannels(control)} * std::max<DWORD>(control.pControl->cMultipleItems, 1);
}

MMRESULT CheckValues(const SCardLayout& card, DWORD dwControlID, const std::vector<DWORD>& values)
{
    const SControlPlace place = FindControl(card, dwControlID);
    return place.pControl != nullptr ? CheckValues(place, values) : MIXERR_INVALCONTROL;
}

MMRESULT CheckValues(const SControlPlace& place, const std::vector<DWORD>& values)
{
    const SControlLayout& control = *place.pControl;
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
