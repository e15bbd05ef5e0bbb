// Fake Core Audio for the endpoint mixer's tests: an enumerator with scripted endpoints
// (flow, name, adapter, volume, mute, channel and step counts, failures), the devices,
// collections and property stores it hands out, and endpoint volumes that call their registered
// callbacks as Windows does. "Another program" changes a volume with SetLevelElsewhere or
// SetMuteElsewhere, on whatever thread the test calls them from.
//
// Usage: CFakeCoreAudio audio; audio.Add({L"spk", eRender, L"Speakers", L"Realtek"});
// audio.SetDefault(eRender, L"spk"); CEndpointMixer mixer(audio.Enumerator());
#pragma once

#include "mixer/endpoint/ComPtr.h"
#include "mixer/endpoint/MixerChoice.h"

#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <mutex>
#include <string>
#include <vector>

struct CFakeEndpointSetup {
    std::wstring strId;
    EDataFlow flow = eRender;
    std::wstring strName;
    std::wstring strAdapter;
    float fLevel = 0.5f;
    BOOL bMuted = FALSE;
    UINT cChannels = 2;
    UINT cSteps = 101;
    // What SetMasterVolumeLevelScalar and SetMute answer; Wine 8's is E_NOTIMPL.
    HRESULT hrWrite = S_OK;
    HRESULT hrChannelCount = S_OK;
    HRESULT hrStepInfo = S_OK;
    HRESULT hrActivate = S_OK;
};

class CFakeEndpointVolume final : public CComObject<IAudioEndpointVolume> {
public:
    explicit CFakeEndpointVolume(const CFakeEndpointSetup& setup);

    // A change by another program: the callbacks hear it with a context of their own.
    void SetLevelElsewhere(float fLevel);
    void SetMuteElsewhere(BOOL bMuted);
    float Level() const;
    BOOL Muted() const;
    size_t RegisteredCount() const;
    // The callbacks registered now, each with a reference of its own: a test that calls them
    // after they were unregistered plays a notification that was under way.
    std::vector<CComPtr<IAudioEndpointVolumeCallback>> Callbacks() const;

    HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) override;
    HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) override;
    HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pnChannelCount) override;
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(FLOAT fLevel, LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(FLOAT* pfLevel) override;
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMute(WINBOOL bMute, LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE GetMute(WINBOOL* pbMute) override;
    HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) override;
    HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVolumeRange(FLOAT*, FLOAT*, FLOAT*) override { return E_NOTIMPL; }

private:
    // Windows notifies every registered callback after each change, on the changer's thread
    // here; the callbacks run outside the lock.
    void Changed(const GUID& guidContext);

    const CFakeEndpointSetup m_setup;
    mutable std::mutex m_mutex;
    float m_fLevel;
    BOOL m_bMuted;
    std::vector<CComPtr<IAudioEndpointVolumeCallback>> m_callbacks;
};

class CFakeEnumerator final : public CComObject<IMMDeviceEnumerator> {
public:
    CFakeEndpointVolume& Add(const CFakeEndpointSetup& setup);
    // Makes an endpoint the default of its flow (an empty id: no default) and tells the clients,
    // once per role as Windows does.
    void SetDefault(EDataFlow flow, const std::wstring& strId);
    // Changes an endpoint's state and tells the clients.
    void SetState(const std::wstring& strId, DWORD dwState);
    CFakeEndpointVolume& Volume(const std::wstring& strId);
    size_t ClientCount() const;

    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                 IMMDeviceCollection** ppDevices) override;
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                      IMMDevice** ppEndpoint) override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) override;
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) override;
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) override;

private:
    struct CEndpoint {
        CFakeEndpointSetup setup;
        DWORD dwState = DEVICE_STATE_ACTIVE;
        CComPtr<CFakeEndpointVolume> pVolume;
    };
    CComPtr<IMMDevice> MakeDevice(const CEndpoint& endpoint) const;
    std::vector<CComPtr<IMMNotificationClient>> Clients() const;

    mutable std::mutex m_mutex;
    std::vector<CEndpoint> m_endpoints;
    std::wstring m_strDefault[2];
    std::vector<CComPtr<IMMNotificationClient>> m_clients;
};

// A fake Core Audio for one test: the enumerator, and the factory that hands it out.
class CFakeCoreAudio {
public:
    CFakeCoreAudio();
    CFakeEndpointVolume& Add(const CFakeEndpointSetup& setup) { return m_pEnumerator->Add(setup); }
    void SetDefault(EDataFlow flow, const std::wstring& strId) { m_pEnumerator->SetDefault(flow, strId); }
    CFakeEndpointVolume& Volume(const std::wstring& strId) { return m_pEnumerator->Volume(strId); }
    CFakeEnumerator& Fake() { return *m_pEnumerator.Get(); }
    CComPtr<IMMDeviceEnumerator> Enumerator() const;
    EnumeratorFactory Factory() const;

private:
    CComPtr<CFakeEnumerator> m_pEnumerator;
};
