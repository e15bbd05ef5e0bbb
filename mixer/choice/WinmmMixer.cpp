#include "mixer/choice/WinmmMixer.h"

// winmm.dll of the system directory: the program's own folder, looked in first for a bare name,
// could hold one that someone placed beside sonobar.exe.
CWinmmMixer::CWinmmMixer() : m_winmm("winmm.dll")
{
    m_pfnGetNumDevs = m_winmm.Find<decltype(m_pfnGetNumDevs)>("mixerGetNumDevs");
    m_pfnGetDevCaps = m_winmm.Find<decltype(m_pfnGetDevCaps)>("mixerGetDevCapsA");
    m_pfnOpen = m_winmm.Find<decltype(m_pfnOpen)>("mixerOpen");
    m_pfnClose = m_winmm.Find<decltype(m_pfnClose)>("mixerClose");
    m_pfnGetID = m_winmm.Find<decltype(m_pfnGetID)>("mixerGetID");
    m_pfnGetLineInfo = m_winmm.Find<decltype(m_pfnGetLineInfo)>("mixerGetLineInfoA");
    m_pfnGetLineControls = m_winmm.Find<decltype(m_pfnGetLineControls)>("mixerGetLineControlsA");
    m_pfnGetControlDetails = m_winmm.Find<decltype(m_pfnGetControlDetails)>("mixerGetControlDetailsA");
    m_pfnSetControlDetails = m_winmm.Find<decltype(m_pfnSetControlDetails)>("mixerSetControlDetails");
}

UINT CWinmmMixer::GetNumDevs()
{
    return m_pfnGetNumDevs != nullptr ? m_pfnGetNumDevs() : 0;
}

MMRESULT CWinmmMixer::GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    return m_pfnGetDevCaps != nullptr ? m_pfnGetDevCaps(uMxId, pmxcaps, cbmxcaps) : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                           DWORD fdwOpen)
{
    return m_pfnOpen != nullptr ? m_pfnOpen(phmx, uMxId, dwCallback, dwInstance, fdwOpen) : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::Close(HMIXER hmx)
{
    return m_pfnClose != nullptr ? m_pfnClose(hmx) : MMSYSERR_INVALHANDLE;
}

MMRESULT CWinmmMixer::GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId)
{
    return m_pfnGetID != nullptr ? m_pfnGetID(hmxobj, puMxId, fdwId) : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    return m_pfnGetLineInfo != nullptr ? m_pfnGetLineInfo(hmxobj, pmxl, fdwInfo) : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls)
{
    return m_pfnGetLineControls != nullptr ? m_pfnGetLineControls(hmxobj, pmxlc, fdwControls)
                                           : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    return m_pfnGetControlDetails != nullptr ? m_pfnGetControlDetails(hmxobj, pmxcd, fdwDetails)
                                             : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    return m_pfnSetControlDetails != nullptr ? m_pfnSetControlDetails(hmxobj, pmxcd, fdwDetails)
                                             : MMSYSERR_NODRIVER;
}
