// CMixerBackend is one implementation of the nine WINMM mixer functions that the program calls.
// There are two: the front end over a card model (MixerFrontEnd.h) and, in the product, the
// pass-through to Windows' own WINMM (mixer/endpoint/WinmmMixer.h). Each member takes and
// answers exactly what the WINMM function of the same name does.
//
// The functions themselves (MixerFunctions.cpp) ask MixerFor which backend answers a call. The
// library that a program links as its mixer defines MixerFor: the product chooses once per
// process (mixer/endpoint/MixerChoice.h), the test build answers from its scripted cards and
// counts the calls (tests/sim/SimMixer.h).
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

// The nine functions, in the order of CMixerBackend.
enum class MixerFunction {
    GetNumDevs,
    GetDevCaps,
    Open,
    Close,
    GetID,
    GetLineInfo,
    GetLineControls,
    GetControlDetails,
    SetControlDetails,
    Count
};

// The backend that answers a call of function; defined by the program's mixer library.
CMixerBackend& MixerFor(MixerFunction function);
