// CMixerBackend is one implementation of the nine WINMM mixer functions that the program calls.
// The product has two, chosen once per process (MixerChoice.h): Windows' own WINMM
// (CWinmmMixer) and the endpoint mixer on Core Audio (CEndpointMixer). Each member takes and
// answers exactly what the WINMM function of the same name does.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class CMixerBackend {
public:
    CMixerBackend() = default;
    virtual ~CMixerBackend() = default;
    CMixerBackend(const CMixerBackend&) = delete;
    CMixerBackend& operator=(const CMixerBackend&) = delete;

    virtual UINT GetNumDevs() = 0;
    virtual MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) = 0;
    virtual MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                          DWORD fdwOpen) = 0;
    virtual MMRESULT Close(HMIXER hmx) = 0;
    virtual MMRESULT GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) = 0;
    virtual MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) = 0;
    virtual MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) = 0;
    virtual MMRESULT GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) = 0;
    virtual MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) = 0;
};
