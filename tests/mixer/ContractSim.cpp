#include "mixer/ContractBackend.h"

#include "sim/SimMixer.h"

bool PrepareContractBackend(ContractBackend& backend, std::string& strWhyNot)
{
    backend.pszName = "the front end on the scripted cards";
    backend.bNotifies = true;
    backend.bClosedHandleInvalid = true;
    backend.bHasRecordingSelection = true;
    backend.bThreadAndEventCallbacks = true;
    backend.pfnChangeElsewhere = [] { sim::SetValues(0, 0, {0x1234, 0x1234}); };
    // Laid out like the cards Wine shows (a render device, then a capture device), plus the
    // recording selection that Wine lacks.
    sim::Reset();
    return sim::LoadCardsText(R"(
card Sim Output
dest 0xFFFF0000 4 2 Master Volume
control 0 volume 0xFFFF 192 0 0xFFFF 0xFFFF
control 1 mute 1 0 0
card Sim Input
dest 0xFFFF0000 7 2 Master Volume
control 0 volume 0xFFFF 192 0 0xFFFF 0xFFFF
control 1 mute 1 0 0
control 2 mux 1 2 2 1 0
source 0x10000 0x1003 1 Microphone
source 0x10001 0x1002 2 Line In
)",
                              &strWhyNot);
}
