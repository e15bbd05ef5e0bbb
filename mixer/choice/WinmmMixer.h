// CWinmmMixer answers the mixer functions with Windows' own WINMM. The program defines the
// functions' names itself, so it reaches the real ones in the system directory's winmm.dll by
// name at run time; without that DLL every call answers as a machine without mixer devices does.
#pragma once

#include "fw/SystemLibrary.h"
#include "mixer/frontend/MixerBackend.h"

class CWinmmMixer final : public CMixerBackend {
public:
    CWinmmMixer();

    UINT GetNumDevs() override;
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) override;
    MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                  DWORD fdwOpen) override;
    MMRESULT Close(HMIXER hmx) override;
    MMRESULT GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) override;
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) override;
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) override;
    MMRESULT GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
    MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;

private:
    const CSystemLibrary m_winmm;
    decltype(&mixerGetNumDevs) m_pfnGetNumDevs = nullptr;
    decltype(&mixerGetDevCapsA) m_pfnGetDevCaps = nullptr;
    decltype(&mixerOpen) m_pfnOpen = nullptr;
    decltype(&mixerClose) m_pfnClose = nullptr;
    decltype(&mixerGetID) m_pfnGetID = nullptr;
    decltype(&mixerGetLineInfoA) m_pfnGetLineInfo = nullptr;
    decltype(&mixerGetLineControlsA) m_pfnGetLineControls = nullptr;
    decltype(&mixerGetControlDetailsA) m_pfnGetControlDetails = nullptr;
    decltype(&mixerSetControlDetails) m_pfnSetControlDetails = nullptr;
};
