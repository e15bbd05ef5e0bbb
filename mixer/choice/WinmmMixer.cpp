#include "mixer/choice/WinmmMixer.h"

// winmm.dll of the system directory: the program's own folder, looked in first for a bare name,
// could hold one that someone placed beside sonobar.exe.
CWinmmMixer::CWinmmMixer()
    : m_winmm("winmm.dll"), m_pfnGetNumDevs(m_winmm.Find<decltype(m_pfnGetNumDevs)>("mixerGetNumDevs")),
      m_pfnGetDevCaps(m_winmm.Find<decltype(m_pfnGetDevCaps)>("mixerGetDevCapsA")),
      m_pfnOpen(m_winmm.Find<decltype(m_pfnOpen)>("mixerOpen")),
      m_pfnClose(m_winmm.Find<decltype(m_pfnClose)>("mixerClose")),
      m_pfnGetID(m_winmm.Find<decltype(m_pfnGetID)>("mixerGetID")),
      m_pfnGetLineInfo(m_winmm.Find<decltype(m_pfnGetLineInfo)>("mixerGetLineInfoA")),
      m_pfnGetLineControls(m_winmm.Find<decltype(m_pfnGetLineControls)>("mixerGetLineControlsA")),
      m_pfnGetControlDetails(m_winmm.Find<decltype(m_pfnGetControlDetails)>("mixerGetControlDetailsA")),
      m_pfnSetControlDetails(m_winmm.Find<decltype(m_pfnSetControlDetails)>("mixerSetControlDetails")),
      m_pfnGetDevCapsW(m_winmm.Find<decltype(m_pfnGetDevCapsW)>("mixerGetDevCapsW")),
      m_pfnGetLineInfoW(m_winmm.Find<decltype(m_pfnGetLineInfoW)>("mixerGetLineInfoW")),
      m_pfnGetLineControlsW(m_winmm.Find<decltype(m_pfnGetLineControlsW)>("mixerGetLineControlsW")),
      m_pfnGetControlDetailsW(m_winmm.Find<decltype(m_pfnGetControlDetailsW)>("mixerGetControlDetailsW"))
{
}
