// The WINMM mixer functions of the program, the wide ones included, each answered by the backend that
// MixerFor names. Compiled into each mixer library that defines MixerFor, so that linking that library in
// place of winmm gives the program its mixer.
#include "mixer/frontend/MixerBackend.h"

extern "C" UINT WINAPI mixerGetNumDevs()
{
    return MixerFor().GetNumDevs();
}

extern "C" MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    return MixerFor().GetDevCaps(uMxId, pmxcaps, cbmxcaps);
}

extern "C" MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                                     DWORD fdwOpen)
{
    return MixerFor().Open(phmx, uMxId, dwCallback, dwInstance, fdwOpen);
}

extern "C" MMRESULT WINAPI mixerClose(HMIXER hmx)
{
    return MixerFor().Close(hmx);
}

extern "C" MMRESULT WINAPI mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId)
{
    return MixerFor().GetID(hmxobj, puMxId, fdwId);
}

extern "C" MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    return MixerFor().GetLineInfo(hmxobj, pmxl, fdwInfo);
}

extern "C" MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc,
                                                 DWORD fdwControls)
{
    return MixerFor().GetLineControls(hmxobj, pmxlc, fdwControls);
}

extern "C" MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                   DWORD fdwDetails)
{
    return MixerFor().GetControlDetails(hmxobj, pmxcd, fdwDetails);
}

extern "C" MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                  DWORD fdwDetails)
{
    return MixerFor().SetControlDetails(hmxobj, pmxcd, fdwDetails);
}

extern "C" MMRESULT WINAPI mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps)
{
    return MixerFor().GetDevCaps(uMxId, pmxcaps, cbmxcaps);
}

extern "C" MMRESULT WINAPI mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo)
{
    return MixerFor().GetLineInfo(hmxobj, pmxl, fdwInfo);
}

extern "C" MMRESULT WINAPI mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc,
                                                 DWORD fdwControls)
{
    return MixerFor().GetLineControls(hmxobj, pmxlc, fdwControls);
}

extern "C" MMRESULT WINAPI mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                   DWORD fdwDetails)
{
    return MixerFor().GetControlDetailsW(hmxobj, pmxcd, fdwDetails);
}
