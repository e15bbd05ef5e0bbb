#include "mixer/endpoint/MixerChoice.h"

#include "mixer/endpoint/EndpointMixer.h"
#include "mixer/endpoint/WinmmMixer.h"
#include "mixer/frontend/MixerFrontEnd.h"

#include <endpointvolume.h>

#include <cstdlib>
#include <memory>

namespace {

std::string Answered(const char* pszWhat, HRESULT hr)
{
    // Formatted by hand: the printf family would bring its floating-point formatting along.
    std::string strHex = "0x00000000";
    auto dwValue = static_cast<DWORD>(hr);
    for (size_t i = strHex.size() - 1; dwValue != 0; --i, dwValue >>= 4)
        strHex[i] = "0123456789ABCDEF"[dwValue & 0xF];
    return std::string(pszWhat) + " answered " + strHex;
}

// Whether the default render endpoint takes a write of its master volume back to itself; the
// reason when it does not.
bool TakesVolumeWrites(IMMDeviceEnumerator* pEnumerator, std::string& strReason)
{
    CComPtr<IMMDevice> pDevice;
    HRESULT hr = pEnumerator->GetDefaultAudioEndpoint(eRender, eConsole, pDevice.Put());
    if (FAILED(hr) || !pDevice) {
        strReason = "no render endpoint: " + Answered("GetDefaultAudioEndpoint", hr);
        return false;
    }
    CComPtr<IAudioEndpointVolume> pVolume;
    hr = pDevice->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, pVolume.PutVoid());
    if (FAILED(hr) || !pVolume) {
        strReason = Answered("IAudioEndpointVolume activation", hr);
        return false;
    }
    float fLevel = 0.0f;
    hr = pVolume->GetMasterVolumeLevelScalar(&fLevel);
    if (FAILED(hr)) {
        strReason = Answered("GetMasterVolumeLevelScalar", hr);
        return false;
    }
    hr = pVolume->SetMasterVolumeLevelScalar(fLevel, nullptr);
    if (FAILED(hr)) {
        strReason = Answered("SetMasterVolumeLevelScalar", hr);
        return false;
    }
    strReason = "the default render endpoint takes volume writes";
    return true;
}

EnumeratorFactory& ProcessFactory()
{
    static EnumeratorFactory factory = &CreateSystemEnumerator;
    return factory;
}

struct CProcessMixer {
    CMixerChoice choice;
    std::unique_ptr<CMixerBackend> pBackend;
};

CProcessMixer MakeProcessMixer()
{
    CProcessMixer mixer;
    CComPtr<IMMDeviceEnumerator> pEnumerator;
    mixer.choice = ChooseMixer(std::getenv("SONOBAR_MIXER"), ProcessFactory(), pEnumerator);
    if (mixer.choice.kind == MixerKind::Endpoint)
        mixer.pBackend =
            std::make_unique<CMixerFrontEnd>(std::make_unique<CEndpointMixer>(std::move(pEnumerator)));
    else
        mixer.pBackend = std::make_unique<CWinmmMixer>();
    const std::string strLine =
        std::string("Sonobar: ") +
        (mixer.choice.kind == MixerKind::Endpoint ? "endpoint mixer: " : "WINMM mixer: ") +
        mixer.choice.strReason + "\n";
    ::OutputDebugStringA(strLine.c_str());
    return mixer;
}

CProcessMixer& TheProcessMixer()
{
    static CProcessMixer mixer = MakeProcessMixer();
    return mixer;
}

} // namespace

HRESULT CreateSystemEnumerator(CComPtr<IMMDeviceEnumerator>& pEnumerator)
{
    // S_FALSE: already initialised; RPC_E_CHANGED_MODE: the thread is in the multithreaded
    // apartment, where the enumerator works as well. The initialisation is kept for the life of
    // the thread, which uses Core Audio until the process ends.
    const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hrInit) && hrInit != RPC_E_CHANGED_MODE)
        return hrInit;
    return ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator), pEnumerator.PutVoid());
}

CMixerChoice ChooseMixer(const char* pszRequested, const EnumeratorFactory& factory,
                         CComPtr<IMMDeviceEnumerator>& pEnumerator)
{
    const std::string strRequested = pszRequested != nullptr ? pszRequested : "";
    if (::lstrcmpiA(strRequested.c_str(), "winmm") == 0)
        return {MixerKind::Winmm, "SONOBAR_MIXER=winmm"};
    std::string strPrefix;
    if (::lstrcmpiA(strRequested.c_str(), "endpoint") == 0)
        strPrefix = "SONOBAR_MIXER=endpoint, but ";
    else if (!strRequested.empty())
        strPrefix = "SONOBAR_MIXER=" + strRequested + " is neither winmm nor endpoint; ";

    CComPtr<IMMDeviceEnumerator> pFound;
    const HRESULT hr = factory(pFound);
    if (FAILED(hr) || !pFound)
        return {MixerKind::Winmm, strPrefix + "no Core Audio: " + Answered("MMDeviceEnumerator", hr)};
    std::string strReason;
    if (!TakesVolumeWrites(pFound.Get(), strReason))
        return {MixerKind::Winmm, strPrefix + strReason};
    pEnumerator = std::move(pFound);
    return {MixerKind::Endpoint, strReason};
}

CMixerBackend& ProcessMixer()
{
    return *TheProcessMixer().pBackend;
}

const CMixerChoice& ProcessMixerChoice()
{
    return TheProcessMixer().choice;
}

void SetProcessEnumeratorFactory(EnumeratorFactory factory)
{
    ProcessFactory() = std::move(factory);
}
