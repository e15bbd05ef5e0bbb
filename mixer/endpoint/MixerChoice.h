// Which mixer answers the program's mixer functions: chosen once per process, at the first
// mixer call. The endpoint mixer (EndpointMixer.h) when Core Audio is there and the default
// render endpoint takes a write of its own master volume; Windows' WINMM (WinmmMixer.h)
// otherwise: on Windows XP, and on Wine 8, whose SetMasterVolumeLevelScalar is not implemented.
// The environment variable SONOBAR_MIXER=winmm or =endpoint asks for one, for troubleshooting;
// an endpoint mixer that cannot work falls back to WINMM all the same, never leaving a bar that
// moves nothing. The choice and its reason go to the debugger output as one line.
#pragma once

#include "mixer/endpoint/ComPtr.h"
#include "mixer/frontend/MixerBackend.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <functional>
#include <string>

enum class MixerKind { Winmm, Endpoint };

struct CMixerChoice {
    MixerKind kind = MixerKind::Winmm;
    // One line saying why.
    std::string strReason;
};

// Where Core Audio comes from: Windows' MMDeviceEnumerator, or a test's fake.
using EnumeratorFactory = std::function<HRESULT(CComPtr<IMMDeviceEnumerator>& pEnumerator)>;

// Windows' own enumerator, with COM initialised on the calling thread (as an apartment of a
// user-interface thread when the thread has none yet).
HRESULT CreateSystemEnumerator(CComPtr<IMMDeviceEnumerator>& pEnumerator);

// The choice for a value of SONOBAR_MIXER (null when unset). For the endpoint mixer,
// pEnumerator receives the enumerator that it is to use.
CMixerChoice ChooseMixer(const char* pszRequested, const EnumeratorFactory& factory,
                         CComPtr<IMMDeviceEnumerator>& pEnumerator);

// The process's mixer, chosen at the first call.
CMixerBackend& ProcessMixer();
// The choice that ProcessMixer made (it makes it when not made yet).
const CMixerChoice& ProcessMixerChoice();
// Replaces Windows' enumerator for this process; only before the first mixer call (tests).
void SetProcessEnumeratorFactory(EnumeratorFactory factory);
