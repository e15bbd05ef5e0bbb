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
    backend.pfnPlayProgram = [] {
        ProcessLaptop().Sessions(L"spk").Play(
            {L"music", L"music/1", L"Music", 0, false, false, GUID_NULL, AudioSessionStateActive, 0.75f});
    };
    backend.pfnEndProgram = [] { ProcessLaptop().Sessions(L"spk").Session(L"music/1").Expire(); };
    // The laptop's two playback endpoints are two cards, the webcam's microphone the third.
    ProcessLaptop();
    if (mixerGetNumDevs() == 3)
        return true;
    strWhyNot = "the process chose " + ProcessMixerChoice().strReason;
    return false;
}
