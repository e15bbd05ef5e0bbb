#include "mixer/choice/WaitingMixer.h"

#include "mixer/frontend/MixerCallback.h"

MMRESULT CWaitingMixer::Open(LPHMIXER, UINT, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen)
{
    const auto hWnd = reinterpret_cast<HWND>(dwCallback);
    if ((fdwOpen & CALLBACK_TYPEMASK) == CALLBACK_WINDOW && ::IsWindow(hWnd))
        m_windows.insert(hWnd);
    return MMSYSERR_BADDEVICEID;
}

void CWaitingMixer::TellWindows() const
{
    for (const HWND hWnd : m_windows)
        PostCardsChanged(hWnd);
}

MMRESULT CWaitingMixer::NoObject(DWORD fdwFlags)
{
    return (fdwFlags & MIXER_OBJECTF_HMIXER) == MIXER_OBJECTF_HMIXER ? MMSYSERR_INVALHANDLE
                                                                     : MMSYSERR_BADDEVICEID;
}
