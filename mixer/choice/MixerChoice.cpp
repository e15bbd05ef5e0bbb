#include "mixer/choice/MixerChoice.h"

#include "mixer/choice/WaitingMixer.h"
#include "mixer/choice/WinmmMixer.h"
#include "mixer/endpoint/EndpointMixer.h"
#include "mixer/frontend/MixerFrontEnd.h"

#include <endpointvolume.h>

#include <cstdlib>

namespace {

// How often a process waiting for Core Audio tries again.
constexpr UINT kRetryMilliseconds = 5000;

std::string Answered(const char* pszWhat, HRESULT hr)
{
    // Formatted by hand: the printf family would bring its floating-point formatting along.
    std::string strHex = "0x00000000";
    auto dwValue = static_cast<DWORD>(hr);
    for (size_t i = strHex.size() - 1; dwValue != 0; --i, dwValue >>= 4)
        strHex[i] = "0123456789ABCDEF"[dwValue & 0xF];
    return std::string(pszWhat) + " answered " + strHex;
}

// The volume of the default render endpoint, or else of the first active endpoint.
HRESULT SomeEndpointVolume(IMMDeviceEnumerator* pEnumerator, CComPtr<IAudioEndpointVolume>& pVolume)
{
    CComPtr<IMMDevice> pDevice;
    if (FAILED(pEnumerator->GetDefaultAudioEndpoint(eRender, eConsole, pDevice.Put())) || !pDevice) {
        CComPtr<IMMDeviceCollection> pCollection;
        UINT nCount = 0;
        HRESULT hr = pEnumerator->EnumAudioEndpoints(eAll, DEVICE_STATE_ACTIVE, pCollection.Put());
        if (SUCCEEDED(hr) && pCollection)
            hr = pCollection->GetCount(&nCount);
        if (FAILED(hr))
            return hr;
        if (nCount == 0)
            return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        if (FAILED(hr = pCollection->Item(0, pDevice.Put())))
            return hr;
    }
    return pDevice->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, pVolume.PutVoid());
}

// What Core Audio's endpoint volume says of the platform. Wine 8's stub lists the endpoints and
// reads their volume, but answers E_NOTIMPL to two reads that Windows always answers, and cannot
// write: WINMM. Endpoints that cannot be listed, or a volume that cannot be had, are an audio
// service not running yet: wait. Only reads: a test write would undo a change made between its
// read and its write, and every other program would hear of a change "by the system".
SMixerChoice ProbeEndpointVolume(IMMDeviceEnumerator* pEnumerator, const std::string& strPrefix)
{
    CComPtr<IAudioEndpointVolume> pVolume;
    const HRESULT hr = SomeEndpointVolume(pEnumerator, pVolume);
    if (hr == HRESULT_FROM_WIN32(ERROR_NOT_FOUND))
        return {MixerKind::Endpoint,
                "no endpoint yet (" + Answered("the endpoint volume", hr) + "): no card until one appears"};
    if (FAILED(hr) || !pVolume)
        return {MixerKind::WaitingForCoreAudio,
                "Core Audio not ready: " + Answered("the endpoint volume", hr) + "; trying again"};
    UINT nStep = 0;
    UINT cSteps = 0;
    UINT cChannels = 0;
    if (const HRESULT hrRead = pVolume->GetVolumeStepInfo(&nStep, &cSteps); hrRead == E_NOTIMPL)
        return {MixerKind::Winmm, strPrefix + Answered("GetVolumeStepInfo", hrRead)};
    if (const HRESULT hrRead = pVolume->GetChannelCount(&cChannels); hrRead == E_NOTIMPL)
        return {MixerKind::Winmm, strPrefix + Answered("GetChannelCount", hrRead)};
    return {MixerKind::Endpoint, "Core Audio's endpoint volume"};
}

EnumeratorFactory& ProcessFactory()
{
    static EnumeratorFactory factory = &CreateSystemEnumerator;
    return factory;
}

CChosenMixer& TheProcessMixer()
{
    static CChosenMixer mixer(std::getenv("SONOBAR_MIXER"), ProcessFactory());
    return mixer;
}

} // namespace

HRESULT CreateSystemEnumerator(CComPtr<IMMDeviceEnumerator>& pEnumerator)
{
    return ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator), pEnumerator.PutVoid());
}

SMixerChoice ChooseMixer(const char* pszRequested, const EnumeratorFactory& factory,
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
    // The class is registered on every Windows since Vista: not there, it is Windows XP.
    if (hr == REGDB_E_CLASSNOTREG)
        return {MixerKind::Winmm, strPrefix + "no Core Audio: " + Answered("MMDeviceEnumerator", hr)};
    if (FAILED(hr) || !pFound)
        return {MixerKind::WaitingForCoreAudio,
                "Core Audio not ready: " + Answered("MMDeviceEnumerator", hr) + "; trying again"};
    SMixerChoice choice = ProbeEndpointVolume(pFound.Get(), strPrefix);
    if (choice.kind == MixerKind::Endpoint)
        pEnumerator = std::move(pFound);
    return choice;
}

CChosenMixer::CChosenMixer(const char* pszRequested, EnumeratorFactory factory)
    : m_strRequested(pszRequested != nullptr ? pszRequested : ""), m_factory(std::move(factory))
{
    m_apartment.emplace();
    CComPtr<IMMDeviceEnumerator> pEnumerator;
    SMixerChoice choice = ChooseMixer(pszRequested, m_factory, pEnumerator);
    Settle(std::move(choice), std::move(pEnumerator));
    if (m_choice.kind == MixerKind::WaitingForCoreAudio)
        m_retryTimer.emplace(kRetryMilliseconds, [this] { return TryAgain(); });
}

CChosenMixer::~CChosenMixer() = default;

bool CChosenMixer::TryAgain()
{
    if (m_choice.kind != MixerKind::WaitingForCoreAudio)
        return true;
    CComPtr<IMMDeviceEnumerator> pEnumerator;
    SMixerChoice choice = ChooseMixer(m_strRequested.c_str(), m_factory, pEnumerator);
    if (choice.kind == MixerKind::WaitingForCoreAudio)
        return false;
    const std::unique_ptr<CMixerBackend> pWaiting = std::move(m_pBackend);
    Settle(std::move(choice), std::move(pEnumerator));
    static_cast<const CWaitingMixer&>(*pWaiting).TellWindows();
    return true;
}

void CChosenMixer::Settle(SMixerChoice choice, CComPtr<IMMDeviceEnumerator> pEnumerator)
{
    m_choice = std::move(choice);
    const char* pszKind = "";
    switch (m_choice.kind) {
    case MixerKind::Endpoint:
        m_pBackend =
            std::make_unique<CMixerFrontEnd>(std::make_unique<CEndpointMixer>(std::move(pEnumerator)));
        pszKind = "endpoint mixer: ";
        break;
    case MixerKind::Winmm:
        m_pBackend = std::make_unique<CWinmmMixer>();
        // WINMM needs no COM.
        m_apartment.reset();
        pszKind = "WINMM mixer: ";
        break;
    case MixerKind::WaitingForCoreAudio:
        m_pBackend = std::make_unique<CWaitingMixer>();
        pszKind = "waiting for Core Audio: ";
        break;
    }
    ::OutputDebugStringA(("Sonobar: " + std::string(pszKind) + m_choice.strReason + "\n").c_str());
}

CMixerBackend& ProcessMixer()
{
    return TheProcessMixer().Backend();
}

const SMixerChoice& ProcessMixerChoice()
{
    return TheProcessMixer().Choice();
}

void SetProcessEnumeratorFactory(EnumeratorFactory factory)
{
    ProcessFactory() = std::move(factory);
}
