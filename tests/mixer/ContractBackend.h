// The mixer behind a contract run, and what it is known to do differently. The simulator, Wine's
// own WINMM and the endpoint mixer on fake Core Audio each provide one (ContractSim.cpp,
// ContractWine.cpp, ContractEndpoint.cpp).
#pragma once

#include <string>

struct ContractBackend {
    const char* pszName = "";
    // A write posts MM_MIXM_CONTROL_CHANGE to the open handles.
    bool bNotifies = false;
    // A closed handle is refused; Wine's handles name a device and stay usable after close.
    bool bClosedHandleInvalid = false;
    // Some wave-in destination has a MIXER or MUX recording selection control.
    bool bHasRecordingSelection = false;
};

// Makes the backend ready; false, with the reason, when there is no mixer device to test.
bool PrepareContractBackend(ContractBackend& backend, std::string& strWhyNot);
