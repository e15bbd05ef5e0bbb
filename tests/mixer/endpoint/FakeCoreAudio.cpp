#include "mixer/endpoint/FakeCoreAudio.h"

#include "mixer/endpoint/EndpointDevices.h"

#include <initguid.h>
#include <functiondiscoverykeys_devpkey.h>

#include <algorithm>
#include <audioclient.h>
#include <cwchar>

namespace {

// A copy of a text in task memory, as Core Audio hands out ids and property texts.
LPWSTR TaskString(const std::wstring& str)
{
    auto* pwsz = static_cast<LPWSTR>(::CoTaskMemAlloc((str.size() + 1) * sizeof(wchar_t)));
    std::wmemcpy(pwsz, str.c_str(), str.size() + 1);
    return pwsz;
}

// Another program's changes carry a context of their own.
constexpr GUID kElsewhere = {0x5e1f0a11, 0x0b5e, 0x4c1e, {0x9a, 0x77, 0x0e, 0x15, 0xe1, 0x5e, 0x00, 0x01}};

class CFakePropertyStore final : public CComObject<IPropertyStore> {
public:
    CFakePropertyStore(std::wstring strName, std::wstring strAdapter, const GUID& containerId)
        : m_strName(std::move(strName)), m_strAdapter(std::move(strAdapter)), m_containerId(containerId)
    {
    }

    HRESULT STDMETHODCALLTYPE GetCount(DWORD* pcProps) override
    {
        *pcProps = 3;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAt(DWORD iProp, PROPERTYKEY* pkey) override
    {
        const PROPERTYKEY keys[] = {PKEY_Device_FriendlyName, PKEY_DeviceInterface_FriendlyName,
                                    kContainerIdKey};
        if (iProp >= 3)
            return E_INVALIDARG;
        *pkey = keys[iProp];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* pv) override
    {
        ::PropVariantInit(pv);
        const std::wstring* pstr = nullptr;
        if (IsEqualPropertyKey(key, PKEY_Device_FriendlyName))
            pstr = &m_strName;
        else if (IsEqualPropertyKey(key, PKEY_DeviceInterface_FriendlyName))
            pstr = &m_strAdapter;
        // An unknown key, or one without a value, answers S_OK with VT_EMPTY.
        if (pstr != nullptr && !pstr->empty()) {
            pv->vt = VT_LPWSTR;
            pv->pwszVal = TaskString(*pstr);
        }
        if (IsEqualPropertyKey(key, kContainerIdKey) && !IsEqualGUID(m_containerId, GUID_NULL)) {
            pv->vt = VT_CLSID;
            pv->puuid = static_cast<CLSID*>(::CoTaskMemAlloc(sizeof(CLSID)));
            *pv->puuid = m_containerId;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE Commit() override { return STG_E_ACCESSDENIED; }

private:
    const std::wstring m_strName;
    const std::wstring m_strAdapter;
    const GUID m_containerId;
};

class CFakeDevice final : public CComObject<IMMDevice> {
public:
    CFakeDevice(const SFakeEndpointSetup& setup, DWORD dwState, CComPtr<CFakeEndpointVolume> pVolume,
                CComPtr<CFakeSessionManager> pSessions, std::shared_ptr<std::atomic<size_t>> pLiveDevices)
        : m_setup(setup), m_dwState(dwState), m_pVolume(std::move(pVolume)),
          m_pSessions(std::move(pSessions)), m_pLiveDevices(std::move(pLiveDevices))
    {
        ++*m_pLiveDevices;
    }
    ~CFakeDevice() override { --*m_pLiveDevices; }

    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** ppv) override
    {
        if (FAILED(m_setup.hrActivate)) {
            *ppv = nullptr;
            return m_setup.hrActivate;
        }
        if (IsEqualIID(iid, __uuidof(IAudioSessionManager2)))
            return m_pSessions->QueryInterface(iid, ppv);
        return m_pVolume->QueryInterface(iid, ppv);
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** ppProperties) override
    {
        *ppProperties =
            MakeComObject<CFakePropertyStore>(m_setup.strName, m_setup.strAdapter, m_setup.containerId)
                .Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR* ppstrId) override
    {
        *ppstrId = TaskString(m_setup.strId);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetState(DWORD* pdwState) override
    {
        *pdwState = m_dwState;
        return S_OK;
    }

private:
    const SFakeEndpointSetup m_setup;
    const DWORD m_dwState;
    const CComPtr<CFakeEndpointVolume> m_pVolume;
    const CComPtr<CFakeSessionManager> m_pSessions;
    const std::shared_ptr<std::atomic<size_t>> m_pLiveDevices;
};

class CFakeCollection final : public CComObject<IMMDeviceCollection> {
public:
    explicit CFakeCollection(std::vector<CComPtr<IMMDevice>> devices) : m_devices(std::move(devices)) {}

    HRESULT STDMETHODCALLTYPE GetCount(UINT* pcDevices) override
    {
        *pcDevices = static_cast<UINT>(m_devices.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(UINT nDevice, IMMDevice** ppDevice) override
    {
        if (nDevice >= m_devices.size()) {
            *ppDevice = nullptr;
            return E_INVALIDARG;
        }
        *ppDevice = CComPtr<IMMDevice>(m_devices[nDevice]).Detach();
        return S_OK;
    }

private:
    const std::vector<CComPtr<IMMDevice>> m_devices;
};

} // namespace

CFakeNotifier::CFakeNotifier() : m_thread([this] { Run(); })
{
}

CFakeNotifier::~CFakeNotifier()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CFakeNotifier::Post(std::function<void()> delivery)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(delivery));
    }
    m_changed.notify_all();
}

void CFakeNotifier::WaitUntilDelivered()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queue.empty() && !m_bDelivering; });
}

void CFakeNotifier::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_bStop || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        std::function<void()> delivery = std::move(m_queue.front());
        m_queue.pop_front();
        m_bDelivering = true;
        lock.unlock();
        delivery();
        // What it holds goes before anyone learns that it was delivered.
        delivery = nullptr;
        lock.lock();
        m_bDelivering = false;
        m_changed.notify_all();
    }
}

CFakeEndpointVolume::CFakeEndpointVolume(const SFakeEndpointSetup& setup,
                                         std::shared_ptr<CFakeNotifier> pNotifier)
    : m_setup(setup), m_pNotifier(std::move(pNotifier)),
      m_levels(std::max(setup.cChannels, 1u), setup.fLevel), m_bMuted(setup.bMuted)
{
}

void CFakeEndpointVolume::SetLevelElsewhere(float fLevel)
{
    SetMasterVolumeLevelScalar(fLevel, &kElsewhere);
    m_pNotifier->WaitUntilDelivered();
}

void CFakeEndpointVolume::SetMuteElsewhere(BOOL bMuted)
{
    SetMute(bMuted, &kElsewhere);
    m_pNotifier->WaitUntilDelivered();
}

void CFakeEndpointVolume::Fail(HRESULT hr)
{
    const std::lock_guard lock(m_mutex);
    m_hrFailure = hr;
}

void CFakeEndpointVolume::SetChannelCount(UINT cChannels)
{
    const std::lock_guard lock(m_mutex);
    m_levels.resize(std::max(cChannels, 1u), MasterLocked());
}

float CFakeEndpointVolume::Level() const
{
    const std::lock_guard lock(m_mutex);
    return MasterLocked();
}

float CFakeEndpointVolume::ChannelLevel(UINT nChannel) const
{
    const std::lock_guard lock(m_mutex);
    return m_levels.at(nChannel);
}

BOOL CFakeEndpointVolume::Muted() const
{
    const std::lock_guard lock(m_mutex);
    return m_bMuted;
}

size_t CFakeEndpointVolume::WriteCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_cWrites;
}

size_t CFakeEndpointVolume::RegisteredCount() const
{
    return m_callbacks.Count();
}

std::vector<CComPtr<IAudioEndpointVolumeCallback>> CFakeEndpointVolume::Callbacks() const
{
    return m_callbacks.Hearing();
}

float CFakeEndpointVolume::MasterLocked() const
{
    return *std::max_element(m_levels.begin(), m_levels.end());
}

HRESULT CFakeEndpointVolume::Refusal() const
{
    return FAILED(m_hrFailure) ? m_hrFailure : m_setup.hrWrite;
}

void CFakeEndpointVolume::Changed(LPCGUID pguidContext)
{
    // AUDIO_VOLUME_NOTIFICATION_DATA ends in one volume per channel.
    const auto cChannels = static_cast<UINT>(m_levels.size());
    auto pData = std::make_shared<std::vector<BYTE>>(sizeof(AUDIO_VOLUME_NOTIFICATION_DATA) +
                                                     (cChannels - 1) * sizeof(float));
    auto& data = *reinterpret_cast<AUDIO_VOLUME_NOTIFICATION_DATA*>(pData->data());
    // Without a context, Windows hands the callbacks GUID_NULL.
    data.guidEventContext = pguidContext != nullptr ? *pguidContext : GUID_NULL;
    data.bMuted = m_bMuted;
    data.fMasterVolume = MasterLocked();
    data.nChannels = cChannels;
    std::copy(m_levels.begin(), m_levels.end(), data.afChannelVolumes);
    CComPtr<CFakeEndpointVolume> pThis = CComPtr<CFakeEndpointVolume>::Share(this);
    m_pNotifier->Post([pThis, pData] {
        for (const auto& pCallback : pThis->Callbacks())
            pCallback->OnNotify(reinterpret_cast<AUDIO_VOLUME_NOTIFICATION_DATA*>(pData->data()));
    });
}

HRESULT STDMETHODCALLTYPE
CFakeEndpointVolume::RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify)
{
    return m_callbacks.Register(pNotify);
}

HRESULT STDMETHODCALLTYPE
CFakeEndpointVolume::UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify)
{
    return m_callbacks.Unregister(pNotify);
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetChannelCount(UINT* pnChannelCount)
{
    const std::lock_guard lock(m_mutex);
    *pnChannelCount = 0;
    if (FAILED(m_hrFailure))
        return m_hrFailure;
    if (SUCCEEDED(m_setup.hrChannelCount))
        *pnChannelCount = static_cast<UINT>(m_levels.size());
    return m_setup.hrChannelCount;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::SetMasterVolumeLevelScalar(FLOAT fLevel,
                                                                          LPCGUID pguidEventContext)
{
    const std::lock_guard lock(m_mutex);
    ++m_cWrites;
    if (const HRESULT hr = Refusal(); FAILED(hr))
        return hr;
    if (fLevel < 0.0f || fLevel > 1.0f)
        return E_INVALIDARG;
    const float fMaster = MasterLocked();
    if (fLevel == fMaster)
        return S_OK;
    // The channels keep their balance.
    for (float& fChannel : m_levels)
        fChannel = fMaster > 0.0f ? fChannel * fLevel / fMaster : fLevel;
    Changed(pguidEventContext);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetMasterVolumeLevelScalar(FLOAT* pfLevel)
{
    const std::lock_guard lock(m_mutex);
    *pfLevel = MasterLocked();
    return m_hrFailure;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::SetChannelVolumeLevelScalar(UINT nChannel, FLOAT fLevel,
                                                                           LPCGUID pguidEventContext)
{
    const std::lock_guard lock(m_mutex);
    ++m_cWrites;
    if (const HRESULT hr = Refusal(); FAILED(hr))
        return hr;
    if (nChannel >= m_levels.size() || fLevel < 0.0f || fLevel > 1.0f)
        return E_INVALIDARG;
    if (m_levels[nChannel] == fLevel)
        return S_OK;
    m_levels[nChannel] = fLevel;
    Changed(pguidEventContext);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetChannelVolumeLevelScalar(UINT nChannel, FLOAT* pfLevel)
{
    const std::lock_guard lock(m_mutex);
    if (nChannel >= m_levels.size())
        return E_INVALIDARG;
    *pfLevel = m_levels[nChannel];
    return m_hrFailure;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::SetMute(WINBOOL bMute, LPCGUID pguidEventContext)
{
    const std::lock_guard lock(m_mutex);
    ++m_cWrites;
    if (const HRESULT hr = Refusal(); FAILED(hr))
        return hr;
    const BOOL bMuted = bMute ? TRUE : FALSE;
    if (bMuted == m_bMuted)
        return S_FALSE;
    m_bMuted = bMuted;
    Changed(pguidEventContext);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetMute(WINBOOL* pbMute)
{
    const std::lock_guard lock(m_mutex);
    *pbMute = m_bMuted;
    return m_hrFailure;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount)
{
    const std::lock_guard lock(m_mutex);
    *pnStep = 0;
    *pnStepCount = 0;
    if (FAILED(m_hrFailure))
        return m_hrFailure;
    if (SUCCEEDED(m_setup.hrStepInfo)) {
        *pnStepCount = m_setup.cSteps;
        *pnStep = static_cast<UINT>(MasterLocked() * static_cast<float>(m_setup.cSteps - 1) + 0.5f);
    }
    return m_setup.hrStepInfo;
}

CFakeEnumerator::CFakeEnumerator(std::shared_ptr<CFakeNotifier> pNotifier) : m_pNotifier(std::move(pNotifier))
{
}

CFakeEndpointVolume& CFakeEnumerator::Add(const SFakeEndpointSetup& setup)
{
    const std::lock_guard lock(m_mutex);
    m_endpoints.push_back({setup, DEVICE_STATE_ACTIVE, MakeComObject<CFakeEndpointVolume>(setup, m_pNotifier),
                           MakeComObject<CFakeSessionManager>(m_pNotifier)});
    return *m_endpoints.back().pVolume.Get();
}

void CFakeEnumerator::AddLater(const SFakeEndpointSetup& setup, DWORD dwState)
{
    {
        const std::lock_guard lock(m_mutex);
        m_endpoints.push_back({setup, dwState, MakeComObject<CFakeEndpointVolume>(setup, m_pNotifier),
                               MakeComObject<CFakeSessionManager>(m_pNotifier)});
    }
    Tell([strId = setup.strId](IMMNotificationClient& client) { client.OnDeviceAdded(strId.c_str()); });
}

void CFakeEnumerator::SetDefault(EDataFlow flow, ERole role, const std::wstring& strId)
{
    {
        const std::lock_guard lock(m_mutex);
        if (std::exchange(m_strDefault[flow][role], strId) == strId)
            return;
    }
    Tell([=](IMMNotificationClient& client) {
        client.OnDefaultDeviceChanged(flow, role, strId.empty() ? nullptr : strId.c_str());
    });
}

void CFakeEnumerator::SetDefault(EDataFlow flow, const std::wstring& strId)
{
    for (const ERole role : {eConsole, eMultimedia, eCommunications})
        SetDefault(flow, role, strId);
}

void CFakeEnumerator::SetState(const std::wstring& strId, DWORD dwState)
{
    {
        const std::lock_guard lock(m_mutex);
        if (SEndpoint* pEndpoint = Find(strId)) {
            if (pEndpoint->dwState == DEVICE_STATE_ACTIVE && dwState != DEVICE_STATE_ACTIVE)
                pEndpoint->pVolume->Fail(AUDCLNT_E_DEVICE_INVALIDATED);
            else if (pEndpoint->dwState != DEVICE_STATE_ACTIVE && dwState == DEVICE_STATE_ACTIVE)
                pEndpoint->pVolume = MakeComObject<CFakeEndpointVolume>(pEndpoint->setup, m_pNotifier);
            pEndpoint->dwState = dwState;
        }
    }
    Tell([=](IMMNotificationClient& client) { client.OnDeviceStateChanged(strId.c_str(), dwState); });
}

void CFakeEnumerator::Remove(const std::wstring& strId)
{
    {
        const std::lock_guard lock(m_mutex);
        const auto it = std::find_if(m_endpoints.begin(), m_endpoints.end(), [&](const SEndpoint& endpoint) {
            return endpoint.setup.strId == strId;
        });
        if (it == m_endpoints.end())
            return;
        it->pVolume->Fail(AUDCLNT_E_DEVICE_INVALIDATED);
        m_endpoints.erase(it);
    }
    Tell([=](IMMNotificationClient& client) { client.OnDeviceRemoved(strId.c_str()); });
}

void CFakeEnumerator::SetChannelCount(const std::wstring& strId, UINT cChannels)
{
    {
        const std::lock_guard lock(m_mutex);
        SEndpoint* pEndpoint = Find(strId);
        if (pEndpoint == nullptr || pEndpoint->setup.cChannels == cChannels)
            return;
        // A volume handed out later has the new format's channels too.
        pEndpoint->setup.cChannels = cChannels;
        pEndpoint->pVolume->SetChannelCount(cChannels);
    }
    ChangeProperty(strId, kDeviceFormatKey);
}

void CFakeEnumerator::ChangeProperty(const std::wstring& strId, const PROPERTYKEY& key)
{
    Tell([=](IMMNotificationClient& client) { client.OnPropertyValueChanged(strId.c_str(), key); });
}

void CFakeEnumerator::StopService()
{
    const std::lock_guard lock(m_mutex);
    m_bServiceStopped = true;
    for (const SEndpoint& endpoint : m_endpoints)
        endpoint.pVolume->Fail(AUDCLNT_E_SERVICE_NOT_RUNNING);
}

void CFakeEnumerator::StartService()
{
    const std::lock_guard lock(m_mutex);
    m_bServiceStopped = false;
    for (SEndpoint& endpoint : m_endpoints)
        endpoint.pVolume = MakeComObject<CFakeEndpointVolume>(endpoint.setup, m_pNotifier);
}

CFakeEndpointVolume& CFakeEnumerator::Volume(const std::wstring& strId)
{
    const std::lock_guard lock(m_mutex);
    return *Find(strId)->pVolume.Get();
}

CFakeSessionManager& CFakeEnumerator::Sessions(const std::wstring& strId)
{
    const std::lock_guard lock(m_mutex);
    return *Find(strId)->pSessions.Get();
}

size_t CFakeEnumerator::ClientCount() const
{
    return m_clients.Count();
}

CFakeEnumerator::SEndpoint* CFakeEnumerator::Find(const std::wstring& strId)
{
    const auto it = std::find_if(m_endpoints.begin(), m_endpoints.end(),
                                 [&](const SEndpoint& endpoint) { return endpoint.setup.strId == strId; });
    return it != m_endpoints.end() ? &*it : nullptr;
}

CComPtr<IMMDevice> CFakeEnumerator::MakeDevice(const SEndpoint& endpoint) const
{
    return MakeComObject<CFakeDevice>(endpoint.setup, endpoint.dwState, endpoint.pVolume, endpoint.pSessions,
                                      m_pLiveDevices);
}

void CFakeEnumerator::Tell(std::function<void(IMMNotificationClient&)> notification)
{
    CComPtr<CFakeEnumerator> pThis = CComPtr<CFakeEnumerator>::Share(this);
    m_pNotifier->Post([pThis, notification = std::move(notification)] {
        for (IMMNotificationClient* pClient : pThis->m_clients.Hearing())
            notification(*pClient);
    });
    m_pNotifier->WaitUntilDelivered();
}

HRESULT STDMETHODCALLTYPE CFakeEnumerator::EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                              IMMDeviceCollection** ppDevices)
{
    const std::lock_guard lock(m_mutex);
    *ppDevices = nullptr;
    if (m_bServiceStopped)
        return AUDCLNT_E_SERVICE_NOT_RUNNING;
    std::vector<CComPtr<IMMDevice>> devices;
    for (const SEndpoint& endpoint : m_endpoints)
        if ((dataFlow == eAll || endpoint.setup.flow == dataFlow) && (endpoint.dwState & dwStateMask) != 0)
            devices.push_back(MakeDevice(endpoint));
    *ppDevices = MakeComObject<CFakeCollection>(std::move(devices)).Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEnumerator::GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                                   IMMDevice** ppEndpoint)
{
    *ppEndpoint = nullptr;
    if ((dataFlow != eRender && dataFlow != eCapture) || role < eConsole || role >= ERole_enum_count)
        return E_INVALIDARG;
    const std::lock_guard lock(m_mutex);
    if (m_bServiceStopped)
        return AUDCLNT_E_SERVICE_NOT_RUNNING;
    for (const SEndpoint& endpoint : m_endpoints)
        if (endpoint.setup.strId == m_strDefault[dataFlow][role] && endpoint.dwState == DEVICE_STATE_ACTIVE) {
            *ppEndpoint = MakeDevice(endpoint).Detach();
            return S_OK;
        }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT STDMETHODCALLTYPE CFakeEnumerator::GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice)
{
    const std::lock_guard lock(m_mutex);
    *ppDevice = nullptr;
    if (const SEndpoint* pEndpoint = Find(pwstrId)) {
        *ppDevice = MakeDevice(*pEndpoint).Detach();
        return S_OK;
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT STDMETHODCALLTYPE
CFakeEnumerator::RegisterEndpointNotificationCallback(IMMNotificationClient* pClient)
{
    // As on Windows, no reference: the client must stay alive until it is unregistered.
    return m_clients.Register(pClient);
}

HRESULT STDMETHODCALLTYPE
CFakeEnumerator::UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient)
{
    return m_clients.Unregister(pClient);
}

CFakeCoreAudio::CFakeCoreAudio()
    : m_pNotifier(std::make_shared<CFakeNotifier>()),
      m_pEnumerator(MakeComObject<CFakeEnumerator>(m_pNotifier))
{
}

CFakeCoreAudio::~CFakeCoreAudio()
{
    // A delivery under way may hold the last reference to an endpoint, and so to the notifier.
    m_pNotifier->WaitUntilDelivered();
}

CFakeCoreAudio& CFakeCoreAudio::operator=(CFakeCoreAudio&& other) noexcept
{
    m_pNotifier->WaitUntilDelivered();
    std::swap(m_pNotifier, other.m_pNotifier);
    std::swap(m_pEnumerator, other.m_pEnumerator);
    return *this;
}

CComPtr<IMMDeviceEnumerator> CFakeCoreAudio::Enumerator() const
{
    return CComPtr<IMMDeviceEnumerator>::Share(m_pEnumerator.Get());
}

EnumeratorFactory CFakeCoreAudio::Factory() const
{
    return [pEnumerator = m_pEnumerator](CComPtr<IMMDeviceEnumerator>& pOut) {
        pOut = CComPtr<IMMDeviceEnumerator>::Share(pEnumerator.Get());
        return S_OK;
    };
}

namespace {

CFakeCoreAudio& InstallLaptop(CFakeCoreAudio& audio)
{
    SFakeEndpointSetup speakers{L"spk", eRender, L"Speakers (Realtek Audio)", L"Realtek Audio"};
    speakers.cSteps = 51;
    audio.Add(speakers);
    SFakeEndpointSetup microphone{L"mic", eCapture, L"Microphone (Realtek Audio)", L"Realtek Audio"};
    microphone.cChannels = 1;
    audio.Add(microphone);
    audio.Add({L"hdmi", eRender, L"LG TV (Intel Display Audio)", L"Intel Display Audio"});
    SFakeEndpointSetup webcam{L"cam", eCapture, L"Microphone (USB Camera)", L"USB Camera"};
    webcam.cChannels = 1;
    audio.Add(webcam);
    audio.SetDefault(eRender, L"spk");
    audio.SetDefault(eCapture, L"mic");
    audio.Sessions(L"spk").Add({L"player", L"player/1", L"Player"});
    audio.Sessions(L"spk").Add({L"web", L"web/1", L"Browser"});
    SetProcessEnumeratorFactory(audio.Factory());
    return audio;
}

} // namespace

CFakeCoreAudio& ProcessLaptop()
{
    static CFakeCoreAudio audio;
    static CFakeCoreAudio& laptop = InstallLaptop(audio);
    return laptop;
}
