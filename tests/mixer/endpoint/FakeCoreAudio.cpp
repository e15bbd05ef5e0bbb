#include "mixer/endpoint/FakeCoreAudio.h"

#include <initguid.h>
#include <functiondiscoverykeys_devpkey.h>

#include <algorithm>
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
    CFakePropertyStore(std::wstring strName, std::wstring strAdapter)
        : m_strName(std::move(strName)), m_strAdapter(std::move(strAdapter))
    {
    }

    HRESULT STDMETHODCALLTYPE GetCount(DWORD* pcProps) override
    {
        *pcProps = 2;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAt(DWORD iProp, PROPERTYKEY* pkey) override
    {
        if (iProp > 1)
            return E_INVALIDARG;
        *pkey = iProp == 0 ? PKEY_Device_FriendlyName : PKEY_DeviceInterface_FriendlyName;
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
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE Commit() override { return STG_E_ACCESSDENIED; }

private:
    const std::wstring m_strName;
    const std::wstring m_strAdapter;
};

class CFakeDevice final : public CComObject<IMMDevice> {
public:
    CFakeDevice(const CFakeEndpointSetup& setup, DWORD dwState, CComPtr<CFakeEndpointVolume> pVolume)
        : m_setup(setup), m_dwState(dwState), m_pVolume(std::move(pVolume))
    {
    }

    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** ppv) override
    {
        if (FAILED(m_setup.hrActivate)) {
            *ppv = nullptr;
            return m_setup.hrActivate;
        }
        return m_pVolume->QueryInterface(iid, ppv);
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** ppProperties) override
    {
        *ppProperties = MakeComObject<CFakePropertyStore>(m_setup.strName, m_setup.strAdapter).Detach();
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
    const CFakeEndpointSetup m_setup;
    const DWORD m_dwState;
    const CComPtr<CFakeEndpointVolume> m_pVolume;
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

CFakeEndpointVolume::CFakeEndpointVolume(const CFakeEndpointSetup& setup)
    : m_setup(setup), m_fLevel(setup.fLevel), m_bMuted(setup.bMuted)
{
}

void CFakeEndpointVolume::SetLevelElsewhere(float fLevel)
{
    {
        const std::lock_guard lock(m_mutex);
        m_fLevel = fLevel;
    }
    Changed(kElsewhere);
}

void CFakeEndpointVolume::SetMuteElsewhere(BOOL bMuted)
{
    {
        const std::lock_guard lock(m_mutex);
        m_bMuted = bMuted;
    }
    Changed(kElsewhere);
}

float CFakeEndpointVolume::Level() const
{
    const std::lock_guard lock(m_mutex);
    return m_fLevel;
}

BOOL CFakeEndpointVolume::Muted() const
{
    const std::lock_guard lock(m_mutex);
    return m_bMuted;
}

size_t CFakeEndpointVolume::RegisteredCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_callbacks.size();
}

std::vector<CComPtr<IAudioEndpointVolumeCallback>> CFakeEndpointVolume::Callbacks() const
{
    const std::lock_guard lock(m_mutex);
    return m_callbacks;
}

void CFakeEndpointVolume::Changed(const GUID& guidContext)
{
    AUDIO_VOLUME_NOTIFICATION_DATA data{};
    data.guidEventContext = guidContext;
    data.nChannels = 1;
    {
        const std::lock_guard lock(m_mutex);
        data.bMuted = m_bMuted;
        data.fMasterVolume = m_fLevel;
        data.afChannelVolumes[0] = m_fLevel;
    }
    for (const auto& pCallback : Callbacks())
        pCallback->OnNotify(&data);
}

HRESULT STDMETHODCALLTYPE
CFakeEndpointVolume::RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify)
{
    if (pNotify == nullptr)
        return E_POINTER;
    const std::lock_guard lock(m_mutex);
    m_callbacks.push_back(CComPtr<IAudioEndpointVolumeCallback>::Share(pNotify));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
CFakeEndpointVolume::UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify)
{
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_callbacks.begin(), m_callbacks.end(),
                                 [&](const auto& pCallback) { return pCallback.Get() == pNotify; });
    if (it == m_callbacks.end())
        return E_INVALIDARG;
    m_callbacks.erase(it);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetChannelCount(UINT* pnChannelCount)
{
    *pnChannelCount = SUCCEEDED(m_setup.hrChannelCount) ? m_setup.cChannels : 0;
    return m_setup.hrChannelCount;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::SetMasterVolumeLevelScalar(FLOAT fLevel,
                                                                          LPCGUID pguidEventContext)
{
    if (FAILED(m_setup.hrWrite))
        return m_setup.hrWrite;
    if (fLevel < 0.0f || fLevel > 1.0f)
        return E_INVALIDARG;
    {
        const std::lock_guard lock(m_mutex);
        m_fLevel = fLevel;
    }
    Changed(pguidEventContext != nullptr ? *pguidEventContext : GUID_NULL);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetMasterVolumeLevelScalar(FLOAT* pfLevel)
{
    *pfLevel = Level();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::SetMute(WINBOOL bMute, LPCGUID pguidEventContext)
{
    if (FAILED(m_setup.hrWrite))
        return m_setup.hrWrite;
    {
        const std::lock_guard lock(m_mutex);
        m_bMuted = bMute ? TRUE : FALSE;
    }
    Changed(pguidEventContext != nullptr ? *pguidEventContext : GUID_NULL);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetMute(WINBOOL* pbMute)
{
    *pbMute = Muted();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEndpointVolume::GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount)
{
    *pnStep = 0;
    *pnStepCount = SUCCEEDED(m_setup.hrStepInfo) ? m_setup.cSteps : 0;
    return m_setup.hrStepInfo;
}

CFakeEndpointVolume& CFakeEnumerator::Add(const CFakeEndpointSetup& setup)
{
    const std::lock_guard lock(m_mutex);
    m_endpoints.push_back({setup, DEVICE_STATE_ACTIVE, MakeComObject<CFakeEndpointVolume>(setup)});
    return *m_endpoints.back().pVolume.Get();
}

void CFakeEnumerator::SetDefault(EDataFlow flow, const std::wstring& strId)
{
    {
        const std::lock_guard lock(m_mutex);
        m_strDefault[flow] = strId;
    }
    for (const auto& pClient : Clients())
        for (const ERole role : {eConsole, eMultimedia, eCommunications})
            pClient->OnDefaultDeviceChanged(flow, role, strId.empty() ? nullptr : strId.c_str());
}

void CFakeEnumerator::SetState(const std::wstring& strId, DWORD dwState)
{
    {
        const std::lock_guard lock(m_mutex);
        for (CEndpoint& endpoint : m_endpoints)
            if (endpoint.setup.strId == strId)
                endpoint.dwState = dwState;
    }
    for (const auto& pClient : Clients())
        pClient->OnDeviceStateChanged(strId.c_str(), dwState);
}

CFakeEndpointVolume& CFakeEnumerator::Volume(const std::wstring& strId)
{
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_endpoints.begin(), m_endpoints.end(),
                                 [&](const CEndpoint& endpoint) { return endpoint.setup.strId == strId; });
    return *it->pVolume.Get();
}

size_t CFakeEnumerator::ClientCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_clients.size();
}

std::vector<CComPtr<IMMNotificationClient>> CFakeEnumerator::Clients() const
{
    const std::lock_guard lock(m_mutex);
    return m_clients;
}

CComPtr<IMMDevice> CFakeEnumerator::MakeDevice(const CEndpoint& endpoint) const
{
    return MakeComObject<CFakeDevice>(endpoint.setup, endpoint.dwState, endpoint.pVolume);
}

HRESULT STDMETHODCALLTYPE CFakeEnumerator::EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                              IMMDeviceCollection** ppDevices)
{
    const std::lock_guard lock(m_mutex);
    std::vector<CComPtr<IMMDevice>> devices;
    for (const CEndpoint& endpoint : m_endpoints)
        if ((dataFlow == eAll || endpoint.setup.flow == dataFlow) && (endpoint.dwState & dwStateMask) != 0)
            devices.push_back(MakeDevice(endpoint));
    *ppDevices = MakeComObject<CFakeCollection>(std::move(devices)).Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeEnumerator::GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole,
                                                                   IMMDevice** ppEndpoint)
{
    *ppEndpoint = nullptr;
    if (dataFlow != eRender && dataFlow != eCapture)
        return E_INVALIDARG;
    const std::lock_guard lock(m_mutex);
    for (const CEndpoint& endpoint : m_endpoints)
        if (endpoint.setup.strId == m_strDefault[dataFlow] && endpoint.dwState == DEVICE_STATE_ACTIVE) {
            *ppEndpoint = MakeDevice(endpoint).Detach();
            return S_OK;
        }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT STDMETHODCALLTYPE CFakeEnumerator::GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice)
{
    const std::lock_guard lock(m_mutex);
    for (const CEndpoint& endpoint : m_endpoints)
        if (endpoint.setup.strId == pwstrId) {
            *ppDevice = MakeDevice(endpoint).Detach();
            return S_OK;
        }
    *ppDevice = nullptr;
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT STDMETHODCALLTYPE
CFakeEnumerator::RegisterEndpointNotificationCallback(IMMNotificationClient* pClient)
{
    if (pClient == nullptr)
        return E_POINTER;
    const std::lock_guard lock(m_mutex);
    m_clients.push_back(CComPtr<IMMNotificationClient>::Share(pClient));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
CFakeEnumerator::UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient)
{
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                 [&](const auto& pOne) { return pOne.Get() == pClient; });
    if (it == m_clients.end())
        return E_INVALIDARG;
    m_clients.erase(it);
    return S_OK;
}

CFakeCoreAudio::CFakeCoreAudio() : m_pEnumerator(MakeComObject<CFakeEnumerator>())
{
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
