#include "mixer/MixerDevice.h"

#include "mixer/MixerCards.h"
#include "mixer/ProgramLines.h"
#include "mixer/VolumeScale.h"

#include <algorithm>

namespace {

// Room for every channel of the line, and never fewer than the two that a packed steps value
// carries, so that a one-channel line reads its missing second channel as 0.
std::vector<MIXERCONTROLDETAILS_UNSIGNED> MakeChannelValues(DWORD cChannels)
{
    return std::vector<MIXERCONTROLDETAILS_UNSIGNED>(std::max<DWORD>(cChannels, 2), {0});
}

} // namespace

CMixerDevice::CMixerDevice(HWND hWndCallback) : m_hWndCallback(hWndCallback)
{
    Open(0);
}

BOOL CMixerDevice::Open(UINT nDeviceIndex)
{
    // The old handle goes first, so that a failed open leaves none rather than the old one.
    m_hMixer.Reset();
    HMIXER hMixer = nullptr;
    if (mixerOpen(&hMixer, nDeviceIndex, reinterpret_cast<DWORD_PTR>(m_hWndCallback), 0, CALLBACK_WINDOW) !=
        MMSYSERR_NOERROR)
        return FALSE;
    m_hMixer.Reset(hMixer);
    return TRUE;
}

MMRESULT CMixerDevice::GetDeviceName(UINT nDeviceIndex, std::string& strName)
{
    return GetMixerCardName(nDeviceIndex, strName);
}

BOOL CMixerDevice::SelectLine(DWORD dwComponentType, BOOL bInput)
{
    // 1. Kept even when the selection fails: the bar asks which type it last tried.
    m_dwComponentType = dwComponentType;

    // 2. Without a handle nothing else changes, not even the controls found before.
    UINT uMxId = 0;
    if (mixerGetID(MixerObject(), &uMxId, MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR)
        return FALSE;

    // 3. Both sides start without controls, so that a line of one side never reads through
    //    the selection control found on the other.
    m_bHasVolume = m_bHasMute = m_bMultiSelect = m_bSingleSelect = FALSE;

    // 4. The line and its mute or recording selection control.
    const BOOL bFound = bInput ? SelectInputSource(dwComponentType) : SelectOutputLine(dwComponentType);
    if (!bFound)
        return FALSE;

    // 5. The line's own volume (on the input side the source's recording level) and channels.
    TakeVolume();
    return TRUE;
}

BOOL CMixerDevice::SelectProgramLine(DWORD dwIdentity)
{
    m_dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    m_bHasVolume = m_bHasMute = m_bMultiSelect = m_bSingleSelect = FALSE;
    for (const SProgramLine& program : ReadProgramLines(MixerObject(), MIXER_OBJECTF_HMIXER)) {
        if (program.dwIdentity != dwIdentity || program.bGone)
            continue;
        m_line = EmptyMixerLine();
        m_line.dwLineID = program.dwLineID;
        if (!GetLine(m_line, MIXER_GETLINEINFOF_LINEID))
            return FALSE;
        TakeVolume();
        m_bHasMute =
            FindControl(m_line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, m_ctlMute) == MMSYSERR_NOERROR;
        return TRUE;
    }
    return FALSE;
}

void CMixerDevice::TakeVolume()
{
    m_bHasVolume =
        FindControl(m_line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, m_ctlVolume) == MMSYSERR_NOERROR;
    // The channel count that the volume reads and writes use from now on.
    m_nChannels = m_line.cChannels;
}

BOOL CMixerDevice::GetLine(MIXERLINEA& line, DWORD fdwInfo) const
{
    return mixerGetLineInfoA(MixerObject(), &line, MIXER_OBJECTF_HMIXER | fdwInfo) == MMSYSERR_NOERROR;
}

BOOL CMixerDevice::SelectOutputLine(DWORD dwComponentType)
{
    m_line = EmptyMixerLine();
    m_line.dwComponentType = dwComponentType;
    // A program's line is chosen by itself, never as the line of a type.
    if (mixerGetLineInfoA(MixerObject(), &m_line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
            MMSYSERR_NOERROR ||
        IsProgramLine(m_line))
        return FALSE;
    m_bHasMute = FindControl(m_line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, m_ctlMute) == MMSYSERR_NOERROR;
    return TRUE;
}

BOOL CMixerDevice::SelectInputSource(DWORD dwComponentType)
{
    MIXERLINEA lineDest = EmptyMixerLine();
    lineDest.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (!GetLine(lineDest, MIXER_GETLINEINFOF_COMPONENTTYPE) || !FindSource(lineDest, dwComponentType))
        return FALSE;
    FindRecordingSelection(lineDest);
    return TRUE;
}

BOOL CMixerDevice::FindSource(const MIXERLINEA& lineDest, DWORD dwComponentType)
{
    for (DWORD i = 0; i < lineDest.cConnections; ++i) {
        MIXERLINEA line = EmptyMixerLine();
        // Drivers number a destination's line id with its index in the low word.
        line.dwDestination = LOWORD(lineDest.dwLineID);
        line.dwSource = i;
        if (GetLine(line, MIXER_GETLINEINFOF_SOURCE) && line.dwComponentType == dwComponentType) {
            m_line = line;
            m_nSourceIndex = i;
            return TRUE;
        }
    }
    return FALSE;
}

void CMixerDevice::FindRecordingSelection(const MIXERLINEA& lineDest)
{
    // A multiple-select MIXER control is preferred to a single-select MUX.
    if (FindControl(lineDest.dwLineID, MIXERCONTROL_CONTROLTYPE_MIXER, m_ctlMute) == MMSYSERR_NOERROR) {
        m_bMultiSelect = TRUE;
        m_bHasMute = TRUE;
        // With several MIXER controls the last one listed is the one that records.
        std::vector<MIXERCONTROLA> controls(lineDest.cControls);
        MIXERLINECONTROLSA mxlc{};
        mxlc.cbStruct = sizeof mxlc;
        mxlc.dwLineID = lineDest.dwLineID;
        mxlc.cControls = lineDest.cControls;
        mxlc.cbmxctrl = sizeof(MIXERCONTROLA);
        mxlc.pamxctrl = controls.data();
        if (mixerGetLineControlsA(MixerObject(), &mxlc, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) !=
            MMSYSERR_NOERROR)
            return;
        const auto it = std::find_if(controls.rbegin(), controls.rend(), [](const auto& ctl) {
            return ctl.dwControlType == MIXERCONTROL_CONTROLTYPE_MIXER;
        });
        if (it != controls.rend())
            m_ctlMute = *it;
    }
    else if (FindControl(lineDest.dwLineID, MIXERCONTROL_CONTROLTYPE_MUX, m_ctlMute) == MMSYSERR_NOERROR) {
        m_bSingleSelect = TRUE;
        m_bHasMute = TRUE;
    }
}

HMIXEROBJ CMixerDevice::MixerObject() const
{
    return reinterpret_cast<HMIXEROBJ>(m_hMixer.Get());
}

MMRESULT CMixerDevice::FindControl(DWORD dwLineID, DWORD dwControlType, MIXERCONTROLA& ctl) const
{
    MIXERLINECONTROLSA mxlc{};
    mxlc.cbStruct = sizeof mxlc;
    mxlc.dwLineID = dwLineID;
    mxlc.dwControlType = dwControlType;
    mxlc.cControls = 1;
    mxlc.cbmxctrl = sizeof ctl;
    mxlc.pamxctrl = &ctl;
    return mixerGetLineControlsA(MixerObject(), &mxlc,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
}

MMRESULT CMixerDevice::TransferDetails(const MIXERCONTROLA& ctl, DWORD cChannels, DWORD cItems,
                                       void* paDetails, BOOL bWrite) const
{
    MIXERCONTROLDETAILS mxcd{};
    mxcd.cbStruct = sizeof mxcd;
    mxcd.dwControlID = ctl.dwControlID;
    mxcd.cChannels = cChannels;
    mxcd.cMultipleItems = cItems;
    mxcd.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    mxcd.paDetails = paDetails;
    if (bWrite)
        return mixerSetControlDetails(MixerObject(), &mxcd,
                                      MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    return mixerGetControlDetailsA(MixerObject(), &mxcd,
                                   MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
}

void CMixerDevice::GetVolume(DWORD* pdwSteps)
{
    // A failed read leaves the zeros: a level of 0, which every step count allows.
    auto values = MakeChannelValues(m_line.cChannels);
    TransferDetails(m_ctlVolume, m_line.cChannels, 0, values.data(), FALSE);

    // Surround channels come in left/right pairs: the low half is the loudest of the first
    // channel of each pair, the high half the loudest of the second. A one-channel line's
    // second value stays 0.
    DWORD adwLoudest[2] = {0, 0};
    for (size_t i = 0; i < values.size(); ++i)
        adwLoudest[i % 2] = std::max(adwLoudest[i % 2], values[i].dwValue);
    const DWORD cSteps = m_ctlVolume.Metrics.cSteps;
    const DWORD dwMaximum = m_ctlVolume.Bounds.dwMaximum;
    *pdwSteps = MAKELONG(ValueToLevel(adwLoudest[0], cSteps, dwMaximum),
                         ValueToLevel(adwLoudest[1], cSteps, dwMaximum));
}

MMRESULT CMixerDevice::SetVolume(DWORD dwSteps)
{
    // 1. The line's level is the louder half, as the slider shows it; a one-channel line has
    //    the low half only.
    const DWORD dwLevel =
        m_line.cChannels >= 2 ? std::max(LOWORD(dwSteps), HIWORD(dwSteps)) : LOWORD(dwSteps);
    const DWORD dwLoudest = LevelToValue(dwLevel, m_ctlVolume.Metrics.cSteps, m_ctlVolume.Bounds.dwMaximum);

    // 2. The loudest channel takes the level and every other keeps its ratio to it, so that a
    //    balance or surround levels set elsewhere survive the slider. A failed read leaves a
    //    silent line, whose channels all take the level.
    auto values = MakeChannelValues(m_line.cChannels);
    TransferDetails(m_ctlVolume, m_line.cChannels, 0, values.data(), FALSE);
    const DWORD dwLoudestBefore =
        std::max_element(values.begin(), values.end(), [](const auto& a, const auto& b) {
            return a.dwValue < b.dwValue;
        })->dwValue;
    for (auto& value : values)
        value.dwValue = KeepRatio(value.dwValue, dwLoudestBefore, dwLoudest);
    return TransferDetails(m_ctlVolume, m_line.cChannels, 0, values.data(), TRUE);
}

MMRESULT CMixerDevice::ReadSelectionItems(std::vector<MIXERCONTROLDETAILS_BOOLEAN>& items) const
{
    items.assign(m_ctlMute.cMultipleItems, {1});
    return TransferDetails(m_ctlMute, 1, m_ctlMute.cMultipleItems, items.data(), FALSE);
}

void CMixerDevice::GetMute(BOOL* pbMute)
{
    *pbMute = FALSE;
    if (!m_bHasMute)
        return;
    if (m_bMultiSelect || m_bSingleSelect) {
        // A failed read leaves every item selected: not muted.
        std::vector<MIXERCONTROLDETAILS_BOOLEAN> items;
        ReadSelectionItems(items);
        *pbMute = m_nSourceIndex < items.size() && items[m_nSourceIndex].fValue == 0;
        return;
    }
    MIXERCONTROLDETAILS_BOOLEAN value{0};
    TransferDetails(m_ctlMute, 1, 0, &value, FALSE);
    *pbMute = value.fValue != 0;
}

void CMixerDevice::SetMute(BOOL bMute)
{
    if (!m_bHasMute)
        return;
    if (!m_bMultiSelect && !m_bSingleSelect) {
        MIXERCONTROLDETAILS_BOOLEAN value{bMute ? 1 : 0};
        TransferDetails(m_ctlMute, 1, 0, &value, TRUE);
        return;
    }
    // A source beyond the control's items has nothing to select or clear.
    if (m_nSourceIndex >= m_ctlMute.cMultipleItems)
        return;

    std::vector<MIXERCONTROLDETAILS_BOOLEAN> items;
    if (m_bMultiSelect) {
        // The other sources keep their state, so they must be known before the write.
        if (ReadSelectionItems(items) != MMSYSERR_NOERROR)
            return;
        items[m_nSourceIndex].fValue = bMute ? 0 : 1;
    }
    else {
        // Single-select: muting selects every other item and lets the driver pick one of
        // them; unmuting selects this source alone.
        items.assign(m_ctlMute.cMultipleItems, {bMute ? 1 : 0});
        items[m_nSourceIndex].fValue = bMute ? 0 : 1;
    }
    TransferDetails(m_ctlMute, 1, m_ctlMute.cMultipleItems, items.data(), TRUE);
}
