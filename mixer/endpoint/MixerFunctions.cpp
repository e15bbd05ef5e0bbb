// The nine WINMM mixer functions of the program, answered by the mixer chosen for the process
// (MixerChoice.h). Linking this library in place of winmm gives the program its mixer.
#include "mixer/endpoint/MixerChoice.h"

extern "C" UINT WINAPI mixerGetNumDevs()
{
    return ProcessMixer().GetNumDevs();
}

extern "C" MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    return ProcessMixer().GetDevCaps(uMxId, pmxcaps, cbmxcaps);
}

extern "C" MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                                     DWORD fdwOpen)
{
    return ProcessMixer().Open(phmx, uMxId, dwCallback, dwInstance, fdwOpen);
}

extern "C" MMRESULT WINAPI mixerClose(HMIXER hmx)
{
    return ProcessMixer().Close(hmx);
}

extern "C" MMRESULT WINAPI mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId)
{
    return ProcessMixer().GetID(hmxobj, puMxId, fdwId);
}

extern "C" MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    return ProcessMixer().GetLineInfo(hmxobj, pmxl, fdwInfo);
}

extern "C" MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc,
                                                 DWORD fdwControls)
{
    return ProcessMixer().GetLineControls(hmxobj, pmxlc, fdwControls);
}

extern "C" MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                   DWORD fdwDetails)
{
    return ProcessMixer().GetControlDetails(hmxobj, pmxcd, fdwDetails);
}

extern "C" MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                  DWORD fdwDetails)
{
    return ProcessMixer().SetControlDetails(hmxobj, pmxcd, fdwDetails);
}
