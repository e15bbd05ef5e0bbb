// CWinmmMixer answers the mixer functions with Windows' own WINMM. The program defines the
// functions' names itself, so it reaches the real ones in the system directory's winmm.dll by
// name at run time; without that DLL every call answers as a machine without mixer devices does.
#pragma once

#include "fw/SystemLibrary.h"
#include "mixer/frontend/MixerBackend.h"

#include <type_traits>

class CWinmmMixer final : public CMixerBackend {
public:
    CWinmmMixer();

    UINT GetNumDevs() override { return Call(m_pfnGetNumDevs, 0); }
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) override
    {
        return Call(m_pfnGetDevCaps, MMSYSERR_NODRIVER, uMxId, pmxcaps, cbmxcaps);
    }
    MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                  DWORD fdwOpen) override
    {
        return Call(m_pfnOpen, MMSYSERR_NODRIVER, phmx, uMxId, dwCallback, dwInstance, fdwOpen);
    }
    MMRESULT Close(HMIXER hmx) override { return Call(m_pfnClose, MMSYSERR_INVALHANDLE, hmx); }
    MMRESULT GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) override
    {
        return Call(m_pfnGetID, MMSYSERR_NODRIVER, hmxobj, puMxId, fdwId);
    }
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) override
    {
        return Call(m_pfnGetLineInfo, MMSYSERR_NODRIVER, hmxobj, pmxl, fdwInfo);
    }
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) override
    {
        return Call(m_pfnGetLineControls, MMSYSERR_NODRIVER, hmxobj, pmxlc, fdwControls);
    }
    MMRESULT GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return Call(m_pfnGetControlDetails, MMSYSERR_NODRIVER, hmxobj, pmxcd, fdwDetails);
    }
    MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return Call(m_pfnSetControlDetails, MMSYSERR_NODRIVER, hmxobj, pmxcd, fdwDetails);
    }
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override
    {
        return Call(m_pfnGetDevCapsW, MMSYSERR_NODRIVER, uMxId, pmxcaps, cbmxcaps);
    }
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override
    {
        return Call(m_pfnGetLineInfoW, MMSYSERR_NODRIVER, hmxobj, pmxl, fdwInfo);
    }
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override
    {
        return Call(m_pfnGetLineControlsW, MMSYSERR_NODRIVER, hmxobj, pmxlc, fdwControls);
    }
    MMRESULT GetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return Call(m_pfnGetControlDetailsW, MMSYSERR_NODRIVER, hmxobj, pmxcd, fdwDetails);
    }

private:
    // A function that winmm.dll lacks (or no winmm.dll at all) answers rMissing.
    template <class Result, class... Params, class... Args>
    static Result Call(Result(WINAPI* pfn)(Params...), std::type_identity_t<Result> rMissing, Args... args)
    {
        return pfn != nullptr ? pfn(args...) : rMissing;
    }

    const CSystemLibrary m_winmm;
    decltype(&mixerGetNumDevs) m_pfnGetNumDevs;
    decltype(&mixerGetDevCapsA) m_pfnGetDevCaps;
    decltype(&mixerOpen) m_pfnOpen;
    decltype(&mixerClose) m_pfnClose;
    decltype(&mixerGetID) m_pfnGetID;
    decltype(&mixerGetLineInfoA) m_pfnGetLineInfo;
    decltype(&mixerGetLineControlsA) m_pfnGetLineControls;
    decltype(&mixerGetControlDetailsA) m_pfnGetControlDetails;
    decltype(&mixerSetControlDetails) m_pfnSetControlDetails;
    decltype(&mixerGetDevCapsW) m_pfnGetDevCapsW;
    decltype(&mixerGetLineInfoW) m_pfnGetLineInfoW;
    decltype(&mixerGetLineControlsW) m_pfnGetLineControlsW;
    decltype(&mixerGetControlDetailsW) m_pfnGetControlDetailsW;
};
