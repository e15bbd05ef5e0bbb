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
    // A laptop's endpoints: speakers and microphone on one adapter, and an HDMI output.
    static CFakeCoreAudio audio;
    // The change reaches the handles once the mixer's thread runs what Core Audio handed over.
    backend.pfnChangeElsewhere = [] {
        audio.Volume(L"{0.0.0}.{spk}").SetLevelElsewhere(0.25f);
        RunHandedOver();
    };
    SFakeEndpointSetup speakers{L"{0.0.0}.{spk}", eRender, L"Speakers (Realtek(R) Audio)",
                                L"Realtek(R) Audio"};
    speakers.fLevel = 0.6f;
    audio.Add(speakers);
    audio.Add({L"{0.0.1}.{mic}", eCapture, L"Microphone Array (Realtek(R) Audio)", L"Realtek(R) Audio"});
    audio.Add({L"{0.0.0}.{hdmi}", eRender, L"DELL U2720Q (NVIDIA High Definition Audio)", L"NVIDIA HDA"});
    audio.SetDefault(eRender, L"{0.0.0}.{spk}");
    audio.SetDefault(eCapture, L"{0.0.1}.{mic}");
    SetProcessEnumeratorFactory(audio.Factory());
    if (mixerGetNumDevs() == 2)
        return true;
    strWhyNot = "the process chose " + ProcessMixerChoice().strReason;
    return false;
}
