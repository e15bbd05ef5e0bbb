#include "mixer/endpoint/MixerChoice.h"

#include "mixer/endpoint/EndpointMixer.h"
#include "mixer/endpoint/WinmmMixer.h"
#include "mixer/frontend/MixerFrontEnd.h"

#include <dbt.h>
#include <endpointvolume.h>

#include <cstdlib>
#include <set>

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

// Whether Core Audio's endpoint volume is Wine 8's stub: it lists the endpoints and reads their
// volume, but answers E_NOTIMPL to two reads that Windows always answers, and cannot write.
// Only reads: a test write would undo a change made between its read and its write, and every
// other program would hear of a change "by the system".
bool IsWinesStub(IMMDeviceEnumerator* pEnumerator, std::string& strReason)
{
    CComPtr<IAudioEndpointVolume> pVolume;
    const HRESULT hr = SomeEndpointVolume(pEnumerator, pVolume);
    if (FAILED(hr) || !pVolume) {
        strReason =
            "no endpoint yet (" + Answered("the endpoint volume", hr) + "): no card until one appears";
        return false;
    }
    UINT nStep = 0;
    UINT cSteps = 0;
    UINT cChannels = 0;
    if (const HRESULT hrRead = pVolume->GetVolumeStepInfo(&nStep, &cSteps); hrRead == E_NOTIMPL) {
        strReason = Answered("GetVolumeStepInfo", hrRead);
        return true;
    }
    if (const HRESULT hrRead = pVolume->GetChannelCount(&cChannels); hrRead == E_NOTIMPL) {
        strReason = Answered("GetChannelCount", hrRead);
        return true;
    }
    strReason = "Core Audio's endpoint volume";
    return false;
}

// Answers as a machine without mixer devices, and remembers the windows that asked for a card,
// so that they can be told once there may be one.
class CWaitingMixer final : public CMixerBackend {
public:
    UINT GetNumDevs() override { return 0; }
    MMRESULT GetDevCaps(UINT_PTR, LPMIXERCAPSA, UINT) override { return MMSYSERR_BADDEVICEID; }
    MMRESULT Open(LPHMIXER, UINT, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen) override
    {
        const auto hWnd = reinterpret_cast<HWND>(dwCallback);
        if ((fdwOpen & CALLBACK_TYPEMASK) == CALLBACK_WINDOW && ::IsWindow(hWnd))
            m_windows.insert(hWnd);
        return MMSYSERR_BADDEVICEID;
    }
    MMRESULT Close(HMIXER) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT GetID(HMIXEROBJ, UINT*, DWORD fdwId) override { return NoObject(fdwId); }
    MMRESULT GetLineInfo(HMIXEROBJ, LPMIXERLINEA, DWORD fdwInfo) override { return NoObject(fdwInfo); }
    MMRESULT GetLineControls(HMIXEROBJ, LPMIXERLINECONTROLSA, DWORD fdwControls) override
    {
        return NoObject(fdwControls);
    }
    MMRESULT GetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD fdwDetails) override
    {
        return NoObject(fdwDetails);
    }
    MMRESULT SetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD fdwDetails) override
    {
        return NoObject(fdwDetails);
    }

    // WM_DEVICECHANGE with DBT_DEVNODES_CHANGED, the message on which the bars restart.
    void TellWindows() const
    {
        for (const HWND hWnd : m_windows)
            if (::IsWindow(hWnd))
                ::PostMessageA(hWnd, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    }

private:
    // There is no handle and no device: the code depends on which the caller named.
    static MMRESULT NoObject(DWORD fdwFlags)
    {
        return (fdwFlags & MIXER_OBJECTF_HMIXER) == MIXER_OBJECTF_HMIXER ? MMSYSERR_INVALHANDLE
                                                                         : MMSYSERR_BADDEVICEID;
    }

    std::set<HWND> m_windows;
};

EnumeratorFactory& ProcessFactory()
{
    static EnumeratorFactory factory = &CreateSystemEnumerator;
    return factory;
}

CChosenMixer& TheProcessMixer();

void CALLBACK TryAgainOnTimer(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    if (TheProcessMixer().TryAgain())
        ::KillTimer(nullptr, idEvent);
}

CChosenMixer& TheProcessMixer()
{
    static CChosenMixer mixer(std::getenv("SONOBAR_MIXER"), ProcessFactory());
    // A timer of the user-interface thread, whose message loop runs the tries.
    static const bool bTrying = mixer.Choice().kind == MixerKind::WaitingForCoreAudio &&
                                ::SetTimer(nullptr, 0, kRetryMilliseconds, &TryAgainOnTimer) != 0;
    static_cast<void>(bTrying);
    return mixer;
}

} // namespace

HRESULT CreateSystemEnumerator(CComPtr<IMMDeviceEnumerator>& pEnumerator)
{
    return ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator), pEnumerator.PutVoid());
}

// RPC_E_CHANGED_MODE: the thread is in the multithreaded apartment already, where Core Audio
// works as well; that initialisation is not ours to balance.
CComApartment::CComApartment() : m_hrInit(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
{
}

CComApartment::~CComApartment()
{
    if (SUCCEEDED(m_hrInit))
        ::CoUninitialize();
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
    std::string strReason;
    if (IsWinesStub(pFound.Get(), strReason))
        return {MixerKind::Winmm, strPrefix + strReason};
    pEnumerator = std::move(pFound);
    return {MixerKind::Endpoint, strReason};
}

CChosenMixer::CChosenMixer(const char* pszRequested, EnumeratorFactory factory)
    : m_strRequested(pszRequested != nullptr ? pszRequested : ""), m_factory(std::move(factory))
{
    m_apartment.emplace();
    CComPtr<IMMDeviceEnumerator> pEnumerator;
    SMixerChoice choice = ChooseMixer(pszRequested, m_factory, pEnumerator);
    Settle(std::move(choice), std::move(pEnumerator));
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
