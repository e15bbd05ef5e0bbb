// Fake audio sessions for the endpoint mixer's tests: one session manager per endpoint, and its
// sessions, behaving as Windows' pages say where the mixer depends on it:
// - session notifications are dropped until an enumerator's GetCount has been called;
// - every notification is delivered on the notifier's thread (FakeCoreAudio.h), after the call
//   that caused it has returned;
// - RegisterSessionNotification and RegisterAudioSessionNotification keep a reference to the
//   client until it is unregistered;
// - a session's identifier is whatever the test gives all the instances of one program, its
//   instance identifier its own; GetProcessId answers AUDCLNT_S_NO_SINGLE_PROCESS for a session
//   that spans processes; IsSystemSoundsSession answers S_OK or S_FALSE;
// - SetMasterVolume or SetMute to what the session has notifies nobody; otherwise every client
//   hears the change with the writer's event context;
// - an expired session is no longer enumerated; a disconnected one answers
//   AUDCLNT_E_DEVICE_INVALIDATED from then on;
// - GetSessionEnumerator answers what the test says (Wine's E_NOTIMPL).
// "Another program" acts with the *Elsewhere members, Play, Expire, Rename and Disconnect, which
// return once every callback has been called.
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>
#include <audiopolicy.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CFakeNotifier;

struct SFakeSessionSetup {
    std::wstring strSession;
    std::wstring strInstance;
    std::wstring strDisplayName;
    DWORD dwProcessId = 0;
    // GetProcessId answers AUDCLNT_S_NO_SINGLE_PROCESS.
    bool bCrossProcess = false;
    bool bSystemSounds = false;
    GUID grouping = GUID_NULL;
    AudioSessionState state = AudioSessionStateActive;
    float fLevel = 1.0f;
    BOOL bMuted = FALSE;
};

class CFakeSession final : public IAudioSessionControl2, public ISimpleAudioVolume {
public:
    CFakeSession(const SFakeSessionSetup& setup, std::shared_ptr<CFakeNotifier> pNotifier);

    void SetLevelElsewhere(float fLevel);
    void SetMuteElsewhere(BOOL bMuted);
    // Active or inactive; AudioSessionStateExpired is Expire.
    void SetStateElsewhere(AudioSessionState state);
    void Expire() { SetStateElsewhere(AudioSessionStateExpired); }
    void Rename(const std::wstring& strDisplayName);
    void Disconnect(AudioSessionDisconnectReason reason);
    float Level() const;
    BOOL Muted() const;
    AudioSessionState State() const;
    const std::wstring& Instance() const { return m_setup.strInstance; }
    size_t ClientCount() const;
    // Calls of SetMasterVolume and SetMute, whatever they answered.
    size_t WriteCount() const;

    // IUnknown: IAudioSessionControl, IAudioSessionControl2 and ISimpleAudioVolume.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_cRef; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetState(AudioSessionState* pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetDisplayName(LPWSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE SetDisplayName(LPCWSTR, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIconPath(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetIconPath(LPCWSTR, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupingParam(GUID* pRetVal) override;
    HRESULT STDMETHODCALLTYPE SetGroupingParam(LPCGUID, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    RegisterAudioSessionNotification(IAudioSessionEvents* NewNotifications) override;
    HRESULT STDMETHODCALLTYPE
    UnregisterAudioSessionNotification(IAudioSessionEvents* NewNotifications) override;
    HRESULT STDMETHODCALLTYPE GetSessionIdentifier(LPWSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetSessionInstanceIdentifier(LPWSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetProcessId(DWORD* pRetVal) override;
    HRESULT STDMETHODCALLTYPE IsSystemSoundsSession() override;
    HRESULT STDMETHODCALLTYPE SetDuckingPreference(WINBOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE SetMasterVolume(float fLevel, LPCGUID EventContext) override;
    HRESULT STDMETHODCALLTYPE GetMasterVolume(float* pfLevel) override;
    HRESULT STDMETHODCALLTYPE SetMute(WINBOOL bMute, LPCGUID EventContext) override;
    HRESULT STDMETHODCALLTYPE GetMute(WINBOOL* pbMute) override;

private:
    ~CFakeSession() = default;
    // Delivers one event to every client registered at the time of delivery.
    void Tell(std::function<void(IAudioSessionEvents&)> event);
    // The volume's change, to be told.
    void VolumeChanged(LPCGUID pguidContext);

    const SFakeSessionSetup m_setup;
    const std::shared_ptr<CFakeNotifier> m_pNotifier;
    std::atomic<ULONG> m_cRef{1};
    mutable std::mutex m_mutex;
    std::wstring m_strDisplayName;
    AudioSessionState m_state;
    float m_fLevel;
    BOOL m_bMuted;
    bool m_bDisconnected = false;
    size_t m_cWrites = 0;
    std::vector<CComPtr<IAudioSessionEvents>> m_clients;
};

class CFakeSessionManager final : public CComObject<IAudioSessionManager2> {
public:
    explicit CFakeSessionManager(std::shared_ptr<CFakeNotifier> pNotifier);

    // A session that was there before anyone asked: no notification.
    CFakeSession& Add(const SFakeSessionSetup& setup);
    // A program starts playing: OnSessionCreated, once GetCount has opened the gate.
    CFakeSession& Play(const SFakeSessionSetup& setup);
    // A program that starts while the next list is made: it is in the list, and OnSessionCreated
    // reports it too, once the call has returned.
    void PlayWhenListed(const SFakeSessionSetup& setup);
    CFakeSession& Session(const std::wstring& strInstance);
    // What GetSessionEnumerator answers from now on.
    void AnswerEnumerator(HRESULT hr);
    size_t ClientCount() const;
    // Sessions whose events someone has registered for.
    size_t ListenedCount() const;

    HRESULT STDMETHODCALLTYPE GetAudioSessionControl(LPCGUID, DWORD, IAudioSessionControl**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSimpleAudioVolume(LPCGUID, DWORD, ISimpleAudioVolume**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSessionEnumerator(IAudioSessionEnumerator** SessionEnum) override;
    HRESULT STDMETHODCALLTYPE
    RegisterSessionNotification(IAudioSessionNotification* SessionNotification) override;
    HRESULT STDMETHODCALLTYPE
    UnregisterSessionNotification(IAudioSessionNotification* SessionNotification) override;
    HRESULT STDMETHODCALLTYPE RegisterDuckNotification(LPCWSTR, IAudioVolumeDuckNotification*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnregisterDuckNotification(IAudioVolumeDuckNotification*) override
    {
        return E_NOTIMPL;
    }

    // Called by the enumerator's GetCount.
    void OpenGate();

private:
    // OnSessionCreated to every client, once the gate is open.
    void TellCreated(CFakeSession& session);

    const std::shared_ptr<CFakeNotifier> m_pNotifier;
    mutable std::mutex m_mutex;
    HRESULT m_hrEnumerator = S_OK;
    bool m_bGateOpen = false;
    std::vector<SFakeSessionSetup> m_playWhenListed;
    std::vector<CComPtr<CFakeSession>> m_sessions;
    std::vector<CComPtr<IAudioSessionNotification>> m_clients;
};
