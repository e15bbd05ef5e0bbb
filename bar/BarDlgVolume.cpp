// The slider and the mute button: they show the selected line, write what the user does to it
// and follow the changes that the mixer reports.
#include "bar/BarDlg.h"

#include "mixer/MixerCards.h"
#include "mixer/MixerDevice.h"
#include "mixer/VolumeScale.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

// Rows of the mute strips.
constexpr int kMutedRow = 0;
constexpr int kNotMutedRow = 1;

// The entry of the bar's picture table for a kind of line, or null for a kind it has no
// picture of.
CMappedBitmap* LinePicture(std::array<CMappedBitmap, kLineBitmapCount>& bmpLine, DWORD dwComponentType)
{
    if (dwComponentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS ||
        dwComponentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN)
        return &bmpLine[kMasterLineBitmap];
    // Unsigned: a type below the first source wraps round to a large index as well.
    const DWORD dwIndex = dwComponentType - MIXERLINE_COMPONENTTYPE_SRC_FIRST;
    return dwIndex < kMasterLineBitmap ? &bmpLine[dwIndex] : nullptr;
}

} // namespace

BOOL CBarDlg::VolumeToPos(DWORD dwVolume, int* pnPos) const
{
    const DWORD cSteps = m_pMixer->GetSteps();
    const int nRangeMax = m_sliderVolume.GetRangeMax();
    if (cSteps == 0 || nRangeMax <= 0)
        return FALSE;
    *pnPos = static_cast<int>(StepsToPosition(dwVolume, m_pMixer->m_nChannels, cSteps, nRangeMax));
    return TRUE;
}

BOOL CBarDlg::PosToVolume(int nPos, DWORD* pdwVolume) const
{
    // A control without steps would take any position as silence.
    const DWORD cSteps = m_pMixer->GetSteps();
    const int nRangeMax = m_sliderVolume.GetRangeMax();
    if (cSteps == 0 || nRangeMax <= 0)
        return FALSE;
    *pdwVolume = PositionToSteps(static_cast<UINT>(nPos), m_pMixer->m_nChannels, cSteps, nRangeMax);
    return TRUE;
}

void CBarDlg::UpdateSlider()
{
    DWORD dwVolume = 0;
    m_pMixer->GetVolume(&dwVolume);
    int nPos = 0;
    if (VolumeToPos(dwVolume, &nPos))
        m_sliderVolume.SetPos(nPos);
}

void CBarDlg::SetMuteImage(int nRow)
{
    // A kind of line without a picture leaves the button blank.
    m_btnMute.SetImage(LinePicture(m_bmpLine, m_dwComponentType), kStripTileSize, nRow);
    ::InvalidateRect(m_btnMute.m_hWnd, nullptr, FALSE);
    m_accessibility.ShowMuted(nRow == kMutedRow);
}

void CBarDlg::UpdateControlStates()
{
    const bool bDevices = CountMixerCards() != 0;
    const bool bVolume = m_pMixer->m_bHasVolume && bDevices;
    if (bVolume)
        UpdateSlider();
    ::EnableWindow(m_sliderVolume.m_hWnd, bVolume);
    ::EnableWindow(m_btnMute.m_hWnd, m_pMixer->m_bHasMute && bDevices);
}

void CBarDlg::RefreshMuteState()
{
    ShowMuteState();
    UpdateControlStates();
}

void CBarDlg::ShowMuteState()
{
    BOOL bMuted = FALSE;
    m_pMixer->GetMute(&bMuted);
    SetMuteImage(bMuted ? kMutedRow : kNotMutedRow);
    ShowMuteInTray(bMuted);
}

LRESULT CBarDlg::OnHScroll(UINT nCode, int nPos)
{
    // 1. Keys and clicks beside the thumb carry no position: the trackbar has moved already
    //    and is asked where to.
    switch (nCode) {
    case TB_LINEUP:
    case TB_LINEDOWN:
    case TB_PAGEUP:
    case TB_PAGEDOWN:
    case TB_TOP:
    case TB_BOTTOM:
        nPos = m_sliderVolume.GetPos();
        break;
    default:
        break;
    }

    // 2. The end of a movement writes nothing; its last position has been written.
    if (nCode == TB_ENDTRACK)
        return 0;

    // 3. One write per notification, so that the volume follows a dragged thumb live. Only a
    //    write has an echo to skip: a notification that writes nothing (the end of a movement,
    //    a line without steps) leaves the guard alone, or the next change made elsewhere would
    //    be taken for an echo and lost.
    DWORD dwVolume = 0;
    if (PosToVolume(nPos, &dwVolume)) {
        m_bFollowChanges = 0;
        m_dwEchoControl = m_pMixer->m_ctlVolume.dwControlID;
        m_pMixer->SetVolume(dwVolume);
    }
    return 0;
}

void CBarDlg::OnMuteButton()
{
    // 1. The write's echo is not applied.
    m_bFollowChanges = 0;
    m_dwEchoControl = m_pMixer->m_ctlMute.dwControlID;

    // 2. Toggle.
    BOOL bMuted = FALSE;
    m_pMixer->GetMute(&bMuted);
    m_pMixer->SetMute(bMuted ? FALSE : TRUE);

    // 3. The button and the tray icon show the state just asked for, unread; if the driver
    //    refused it, the next notification that is applied puts them right.
    SetMuteImage(bMuted ? kNotMutedRow : kMutedRow);
    ShowMuteInTray(bMuted ? FALSE : TRUE);
}

LRESULT CBarDlg::OnControlChange(WPARAM, DWORD dwControlID)
{
    // The echo of the bar's own write is skipped, or the thumb would jump back to the written
    // value rounded to the control's steps. Only a notice of the written control is the echo:
    // another program's change queued just before the write shows, while the written control
    // keeps what the bar wrote until its echo has come.
    const BOOL bEchoAwaited = !m_bFollowChanges;
    if (bEchoAwaited && dwControlID == m_dwEchoControl) {
        m_bFollowChanges = 1;
        return 0;
    }
    if (m_pMixer->m_bHasVolume && !(bEchoAwaited && m_dwEchoControl == m_pMixer->m_ctlVolume.dwControlID))
        UpdateSlider();
    if (!(bEchoAwaited && m_dwEchoControl == m_pMixer->m_ctlMute.dwControlID))
        ShowMuteState();
    return 0;
}

LRESULT CBarDlg::OnSysColorChange()
{
    // Only the mute button is redrawn; its pictures keep the colours mapped when they loaded.
    ::InvalidateRect(m_btnMute.m_hWnd, nullptr, FALSE);
    return 0;
}

BOOL CBarDlg::TakeMouseWheel(const MSG& msg)
{
    if (msg.message != WM_MOUSEWHEEL || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)))
        return FALSE;
    // The trackbar would turn the wheel its own way (forward: to the left, quieter); over any
    // part of the bar, forward is louder.
    if (!::IsWindowEnabled(m_sliderVolume.m_hWnd))
        return TRUE;

    // Precision wheels send fractions of a notch; they add up until one is whole. A turn the
    // other way starts afresh.
    const int nDelta = GET_WHEEL_DELTA_WPARAM(msg.wParam);
    if ((nDelta < 0) != (m_nWheelDelta < 0))
        m_nWheelDelta = 0;
    m_nWheelDelta += nDelta;
    const int nNotches = m_nWheelDelta / WHEEL_DELTA;
    m_nWheelDelta -= nNotches * WHEEL_DELTA;

    MoveSliderBy(nNotches * m_sliderVolume.GetLineSize());
    return TRUE;
}

void CBarDlg::MoveSliderBy(int nDelta)
{
    const int nOld = m_sliderVolume.GetPos();
    const int nNew = std::clamp(nOld + nDelta, m_sliderVolume.GetRangeMin(), m_sliderVolume.GetRangeMax());
    if (nNew == nOld)
        return;
    // Written as a key press on the trackbar is: the thumb moves, then the slider handler reads
    // it back.
    m_sliderVolume.SetPos(nNew);
    ::SendMessageA(m_hWnd, WM_HSCROLL, MAKEWPARAM(nNew > nOld ? TB_LINEDOWN : TB_LINEUP, 0),
                   reinterpret_cast<LPARAM>(m_sliderVolume.m_hWnd));
}
