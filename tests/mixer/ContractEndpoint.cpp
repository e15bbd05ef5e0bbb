#include "mixer/ContractBackend.h"
#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/FakeCoreAudio.h"

bool PrepareContractBackend(ContractBackend& backend, std::string& strWhyNot)
{
    backend.pszName = "the front end on the endpoints";
    backend.bNotifies = true;
    backend.bClosedHandleInvalid = true;
    backend.bHasRecordingSelection = false;
    backend.bThreadAndEventCallbacks = true;
    // Each change elsewhere moves the speakers, so that every one is a change to be told of.
    backend.pfnChangeElsewhere = [] {
        CFakeEndpointVolume& speakers = ProcessLaptop().Volume(L"spk");
        speakers.SetLevelElsewhere(speakers.Level() < 0.5f ? 0.75f : 0.25f);
        RunHandedOver();
    };
    // The laptop's two playback endpoints are the two cards.
    ProcessLaptop();
    if (mixerGetNumDevs() == 2)
        return true;
    strWhyNot = "the process chose " + ProcessMixerChoice().strReason;
    return false;
}
