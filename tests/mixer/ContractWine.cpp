#include "mixer/ContractBackend.h"

#include <windows.h>
#include <mmsystem.h>

bool PrepareContractBackend(ContractBackend& backend, std::string& strWhyNot)
{
    backend.pszName = "Wine's WINMM";
    backend.bNotifies = false;
    backend.bClosedHandleInvalid = false;
    backend.bHasRecordingSelection = false;
    backend.bThreadAndEventCallbacks = false;
    backend.bWine = true;
    if (mixerGetNumDevs() > 0)
        return true;
    strWhyNot = "Wine reports no mixer device: run a PulseAudio server with a null sink "
                "(scripts/test starts one) to test against Wine's WINMM";
    return false;
}
