#include "mixer/choice/WinmmMixer.h"

#include <cstring>

namespace {

// winmm.dll by its full path in the system directory. A bare name is looked for in the
// program's own folder first, so a winmm.dll that someone placed beside sonobar.exe would run
// inside it. With the altered search path, winmm's own dependencies are looked for beside it,
// in the system directory, as well.
HMODULE LoadSystemWinmm()
{
    static constexpr char kFileName[] = "\\winmm.dll";
    char szPath[MAX_PATH];
    const UINT cch = ::GetSystemDirectoryA(szPath, MAX_PATH);
    if (cch == 0 || cch + sizeof kFileName > MAX_PATH)
        return nullptr;
    std::memcpy(szPath + cch, kFileName, sizeof kFileName);
    return ::LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

CWinmmMixer::CWinmmMixer() : m_hWinmm(LoadSystemWinmm())
{
    m_pfnGetNumDevs = Find<decltype(m_pfnGetNumDevs)>("mixerGetNumDevs");
    m_pfnGetDevCaps = Find<decltype(m_pfnGetDevCaps)>("mixerGetDevCapsA");
    m_pfnOpen = Find<decltype(m_pfnOpen)>("mixerOpen");
    m_pfnClose = Find<decltype(m_pfnClose)>("mixerClose");
    m_pfnGetID = Find<decltype(m_pfnGetID)>("mixerGetID");
    m_pfnGetLineInfo = Find<decltype(m_pfnGetLineInfo)>("mixerGetLineInfoA");
    m_pfnGetLineControls = Find<decltype(m_pfnGetLineControls)>("mixerGetLineControlsA");
    m_pfnGetControlDetails = Find<decltype(m_pfnGetControlDetails)>("mixerGetControlDetailsA");
    m_pfnSetControlDetails = Find<decltype(m_pfnSetControlDetails)>("mixerSetControlDetails");
    m_pfnGetDevCapsW = Find<decltype(m_pfnGetDevCapsW)>("mixerGetDevCapsW");
    m_pfnGetLineInfoW = Find<decltype(m_pfnGetLineInfoW)>("mixerGetLineInfoW");
    m_pfnGetLineControlsW = Find<decltype(m_pfnGetLineControlsW)>("mixerGetLineControlsW");
    m_pfnGetControlDetailsW = Find<decltype(m_pfnGetControlDetailsW)>("mixerGetControlDetailsW");
}

template <class Function>
Function CWinmmMixer::Find(const char* pszName) const
{
    if (!m_hWinmm)
        return nullptr;
    // GetProcAddress answers a generic function pointer; the detour through void (*)() is the
    // cast that compilers accept between unrelated function types.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hWinmm.Get(), pszName)));
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

MMRESULT CWinmmMixer::GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps)
{
    return m_pfnGetDevCapsW != nullptr ? m_pfnGetDevCapsW(uMxId, pmxcaps, cbmxcaps) : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo)
{
    return m_pfnGetLineInfoW != nullptr ? m_pfnGetLineInfoW(hmxobj, pmxl, fdwInfo) : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls)
{
    return m_pfnGetLineControlsW != nullptr ? m_pfnGetLineControlsW(hmxobj, pmxlc, fdwControls)
                                            : MMSYSERR_NODRIVER;
}

MMRESULT CWinmmMixer::GetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    return m_pfnGetControlDetailsW != nullptr ? m_pfnGetControlDetailsW(hmxobj, pmxcd, fdwDetails)
                                              : MMSYSERR_NODRIVER;
}
