// CMixerBackend is one implementation of the WINMM mixer functions that the program calls: the
// nine it calls, and the wide forms of those that carry names, which programs written for
// Unicode call.
// There are two: the front end over a card model (MixerFrontEnd.h) and, in the product, the
// pass-through to Windows' own WINMM (mixer/choice/WinmmMixer.h). Each member takes and
// answers exactly what the WINMM function of the same name does; the wide ones are overloads
// on the wide records, and GetControlDetailsW, whose record is the same for both.
//
// The functions themselves (MixerFunctions.cpp) ask MixerFor which backend answers. The library
// that a program links as its mixer defines MixerFor and IsMixerCardChange: the product chooses
// once per process (mixer/choice/MixerChoice.h), the test build answers from its scripted cards
// (tests/sim/SimMixer.h).
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
    virtual MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) = 0;
    virtual MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) = 0;
    virtual MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) = 0;
    virtual MMRESULT GetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) = 0;
    virtual MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) = 0;
};

// The backend that answers the mixer functions; defined by the program's mixer library.
CMixerBackend& MixerFor();

// Whether a WM_DEVICECHANGE that a window received tells of a change of the mixer's cards, on
// which the bars restart (declared for them in mixer/MixerCards.h); defined by the program's
// mixer library. On WINMM every DBT_DEVNODES_CHANGED may be one. A mixer that tells its windows
// itself of every change of its cards (PostCardsChanged, MixerCallback.h) marks its own notices,
// and Windows' broadcast of the same code, sent for any device (a USB stick, a mouse), is none.
BOOL IsMixerCardChange(WPARAM wParam, LPARAM lParam);
