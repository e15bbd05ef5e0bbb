// The mixer behind a contract run, and what it is known to do differently. The front end on the
// scripted cards, the front end on the endpoints of fake Core Audio, and Wine's own WINMM each
// provide one (ContractSim.cpp, ContractEndpoint.cpp, ContractWine.cpp).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>

struct ContractBackend {
    const char* pszName = "";
    // A write posts MM_MIXM_CONTROL_CHANGE to the open handles.
    bool bNotifies = false;
    // A closed handle is refused; Wine's handles name a device and stay usable after close.
    bool bClosedHandleInvalid = false;
    // Some wave-in destination has a MIXER or MUX recording selection control.
    bool bHasRecordingSelection = false;
    // mixerOpen takes CALLBACK_THREAD and CALLBACK_EVENT, as Windows 2000 and later do.
    bool bThreadAndEventCallbacks = false;
    // Wine's WINMM, whose answers to some bad calls differ from the front end's (the rows of the
    // result-code table say which).
    bool bWine = false;
    // Another program changes the volume of device 0's speakers; null where nothing can.
    void (*pfnChangeElsewhere)() = nullptr;
    // A program starts playing on device 0's speakers, and its session later expires; null
    // where programs have no lines of their own.
    void (*pfnPlayProgram)() = nullptr;
    void (*pfnEndProgram)() = nullptr;
};

// Makes the backend ready; false, with the reason, when there is no mixer device to test.
bool PrepareContractBackend(ContractBackend& backend, std::string& strWhyNot);
