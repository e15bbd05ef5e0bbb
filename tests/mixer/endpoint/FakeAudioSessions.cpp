#include "mixer/endpoint/FakeAudioSessions.h"

#include "mixer/endpoint/FakeCoreAudio.h"

#include <audioclient.h>

#include <algorithm>
#include <cwchar>

namespace {

// Another program's changes carry a context of their own.
constexpr GUID kElsewhere = {0x5e1f0a11, 0x0b5e, 0x4c1e, {0x9a, 0x77, 0x0e, 0x15, 0xe1, 0x5e, 0x00, 0x02}};

// AUDCLNT_S_NO_SINGLE_PROCESS, which not every SDK's headers define: a success code.
constexpr HRESULT kNoSingleProcess = 0x0889000D;

HRESULT TaskText(const std::wstring& str, LPWSTR* ppwsz)
{
    if (ppwsz == nullptr)
        return E_POINTER;
    *ppwsz = static_cast<LPWSTR>(::CoTaskMemAlloc((str.size() + 1) * sizeof(wchar_t)));
    std::wmemcpy(*ppwsz, str.c_str(), str.size() + 1);
    return S_OK;
}

class CFakeSessionEnumerator final : public CComObject<IAudioSessionEnumerator> {
public:
    CFakeSessionEnumerator(CComPtr<CFakeSessionManager> pManager,
                           std::vector<CComPtr<IAudioSessionControl>> sessions)
        : m_pManager(std::move(pManager)), m_sessions(std::move(sessions))
    {
    }

    HRESULT STDMETHODCALLTYPE GetCount(int* SessionCount) override
    {
        if (SessionCount == nullptr)
            return E_POINTER;
        *SessionCount = static_cast<int>(m_sessions.size());
        m_pManager->OpenGate();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSession(int SessionCount, IAudioSessionControl** Session) override
    {
        if (Session == nullptr)
            return E_POINTER;
        *Session = nullptr;
        if (SessionCount < 0 || static_cast<size_t>(SessionCount) >= m_sessions.size())
            return E_INVALIDARG;
        *Session = CComPtr<IAudioSessionControl>(m_sessions[SessionCount]).Detach();
        return S_OK;
    }

private:
    const CComPtr<CFakeSessionManager> m_pManager;
    const std::vector<CComPtr<IAudioSessionControl>> m_sessions;
};

} // namespace

CFakeSession::CFakeSession(const SFakeSessionSetup& setup, std::shared_ptr<CFakeNotifier> pNotifier)
    : m_setup(setup), m_pNotifier(std::move(pNotifier)), m_strDisplayName(setup.strDisplayName),
      m_grouping(setup.grouping), m_state(setup.state), m_fLevel(setup.fLevel), m_bMuted(setup.bMuted)
{
}

HRESULT STDMETHODCALLTYPE CFakeSession::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IAudioSessionControl)) ||
        IsEqualIID(riid, __uuidof(IAudioSessionControl2)))
        *ppv = static_cast<IAudioSessionControl2*>(this);
    else if (IsEqualIID(riid, __uuidof(ISimpleAudioVolume)))
        *ppv = static_cast<ISimpleAudioVolume*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CFakeSession::Release()
{
    const ULONG cRef = --m_cRef;
    if (cRef == 0)
        delete this;
    return cRef;
}

void CFakeSession::Tell(std::function<void(IAudioSessionEvents&)> event)
{
    CComPtr<CFakeSession> pThis = CComPtr<CFakeSession>::Share(this);
    m_pNotifier->Post([pThis, event = std::move(event)] {
        for (const auto& pClient : pThis->m_clients.Hearing())
            event(*pClient.Get());
    });
}

void CFakeSession::VolumeChanged(LPCGUID pguidContext)
{
    const float fLevel = m_fLevel;
    const BOOL bMuted = m_bMuted;
    const GUID context = pguidContext != nullptr ? *pguidContext : GUID_NULL;
    Tell([=](IAudioSessionEvents& client) { client.OnSimpleVolumeChanged(fLevel, bMuted, &context); });
}

void CFakeSession::SetLevelElsewhere(float fLevel)
{
    SetMasterVolume(fLevel, &kElsewhere);
    m_pNotifier->WaitUntilDelivered();
}

void CFakeSession::SetMuteElsewhere(BOOL bMuted)
{
    SetMute(bMuted, &kElsewhere);
    m_pNotifier->WaitUntilDelivered();
}

void CFakeSession::SetStateElsewhere(AudioSessionState state)
{
    {
        const std::lock_guard lock(m_mutex);
        if (std::exchange(m_state, state) == state)
            return;
    }
    Tell([state](IAudioSessionEvents& client) { client.OnStateChanged(state); });
    m_pNotifier->WaitUntilDelivered();
}

void CFakeSession::Rename(const std::wstring& strDisplayName)
{
    {
        const std::lock_guard lock(m_mutex);
        m_strDisplayName = strDisplayName;
    }
    Tell([strDisplayName](IAudioSessionEvents& client) {
        client.OnDisplayNameChanged(strDisplayName.c_str(), &kElsewhere);
    });
    m_pNotifier->WaitUntilDelivered();
}

void CFakeSession::SetGroupingElsewhere(const GUID& grouping)
{
    {
        const std::lock_guard lock(m_mutex);
        m_grouping = grouping;
    }
    Tell([grouping](IAudioSessionEvents& client) { client.OnGroupingParamChanged(&grouping, &kElsewhere); });
    m_pNotifier->WaitUntilDelivered();
}

void CFakeSession::Disconnect(AudioSessionDisconnectReason reason)
{
    {
        const std::lock_guard lock(m_mutex);
        m_bDisconnected = true;
    }
    Tell([reason](IAudioSessionEvents& client) { client.OnSessionDisconnected(reason); });
    m_pNotifier->WaitUntilDelivered();
}

float CFakeSession::Level() const
{
    const std::lock_guard lock(m_mutex);
    return m_fLevel;
}

BOOL CFakeSession::Muted() const
{
    const std::lock_guard lock(m_mutex);
    return m_bMuted;
}

AudioSessionState CFakeSession::State() const
{
    const std::lock_guard lock(m_mutex);
    return m_state;
}

size_t CFakeSession::ClientCount() const
{
    return m_clients.Count();
}

size_t CFakeSession::WriteCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_cWrites;
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetState(AudioSessionState* pRetVal)
{
    const std::lock_guard lock(m_mutex);
    *pRetVal = m_state;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetDisplayName(LPWSTR* pRetVal)
{
    const std::lock_guard lock(m_mutex);
    return TaskText(m_strDisplayName, pRetVal);
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetGroupingParam(GUID* pRetVal)
{
    const std::lock_guard lock(m_mutex);
    *pRetVal = m_grouping;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
CFakeSession::RegisterAudioSessionNotification(IAudioSessionEvents* NewNotifications)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_bDisconnected && NewNotifications != nullptr)
            return AUDCLNT_E_DEVICE_INVALIDATED;
    }
    return m_clients.Register(NewNotifications);
}

HRESULT STDMETHODCALLTYPE
CFakeSession::UnregisterAudioSessionNotification(IAudioSessionEvents* NewNotifications)
{
    return m_clients.Unregister(NewNotifications);
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetSessionIdentifier(LPWSTR* pRetVal)
{
    return TaskText(m_setup.strSession, pRetVal);
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetSessionInstanceIdentifier(LPWSTR* pRetVal)
{
    return TaskText(m_setup.strInstance, pRetVal);
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetProcessId(DWORD* pRetVal)
{
    *pRetVal = m_setup.dwProcessId;
    return m_setup.bCrossProcess ? kNoSingleProcess : S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeSession::IsSystemSoundsSession()
{
    return m_setup.bSystemSounds ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CFakeSession::SetMasterVolume(float fLevel, LPCGUID EventContext)
{
    const std::lock_guard lock(m_mutex);
    ++m_cWrites;
    if (m_bDisconnected)
        return AUDCLNT_E_DEVICE_INVALIDATED;
    if (fLevel < 0.0f || fLevel > 1.0f)
        return E_INVALIDARG;
    if (fLevel == m_fLevel)
        return S_OK;
    m_fLevel = fLevel;
    VolumeChanged(EventContext);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetMasterVolume(float* pfLevel)
{
    const std::lock_guard lock(m_mutex);
    *pfLevel = m_fLevel;
    return m_bDisconnected ? AUDCLNT_E_DEVICE_INVALIDATED : S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeSession::SetMute(WINBOOL bMute, LPCGUID EventContext)
{
    const std::lock_guard lock(m_mutex);
    ++m_cWrites;
    if (m_bDisconnected)
        return AUDCLNT_E_DEVICE_INVALIDATED;
    const BOOL bMuted = bMute ? TRUE : FALSE;
    if (bMuted == m_bMuted)
        return S_OK;
    m_bMuted = bMuted;
    VolumeChanged(EventContext);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFakeSession::GetMute(WINBOOL* pbMute)
{
    const std::lock_guard lock(m_mutex);
    *pbMute = m_bMuted;
    return m_bDisconnected ? AUDCLNT_E_DEVICE_INVALIDATED : S_OK;
}

CFakeSessionManager::CFakeSessionManager(std::shared_ptr<CFakeNotifier> pNotifier)
    : m_pNotifier(std::move(pNotifier))
{
}

CFakeSession& CFakeSessionManager::Add(const SFakeSessionSetup& setup)
{
    const std::lock_guard lock(m_mutex);
    m_sessions.push_back(MakeComObject<CFakeSession>(setup, m_pNotifier));
    return *m_sessions.back().Get();
}

CFakeSession& CFakeSessionManager::Play(const SFakeSessionSetup& setup)
{
    CFakeSession& session = Add(setup);
    TellCreated(session);
    m_pNotifier->WaitUntilDelivered();
    return session;
}

void CFakeSessionManager::PlayWhenListed(const SFakeSessionSetup& setup)
{
    const std::lock_guard lock(m_mutex);
    m_playWhenListed.push_back(setup);
}

void CFakeSessionManager::TellCreated(CFakeSession& session)
{
    {
        // Until GetCount has been called, Windows drops the notification.
        const std::lock_guard lock(m_mutex);
        if (!m_bGateOpen)
            return;
    }
    CComPtr<CFakeSessionManager> pThis = CComPtr<CFakeSessionManager>::Share(this);
    CComPtr<CFakeSession> pSession = CComPtr<CFakeSession>::Share(&session);
    m_pNotifier->Post([pThis, pSession] {
        for (const auto& pClient : pThis->m_clients.Hearing())
            pClient->OnSessionCreated(pSession.Get());
    });
}

CFakeSession& CFakeSessionManager::Session(const std::wstring& strInstance)
{
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_sessions.begin(), m_sessions.end(),
                                 [&](const auto& pSession) { return pSession->Instance() == strInstance; });
    return *it->Get();
}

void CFakeSessionManager::AnswerEnumerator(HRESULT hr)
{
    const std::lock_guard lock(m_mutex);
    m_hrEnumerator = hr;
}

size_t CFakeSessionManager::ClientCount() const
{
    return m_clients.Count();
}

size_t CFakeSessionManager::HeldCount() const
{
    const std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count_if(m_sessions.begin(), m_sessions.end(), [](const auto& pSession) {
        pSession->AddRef();
        return pSession->Release() > 1;
    }));
}

size_t CFakeSessionManager::ListenedCount() const
{
    const std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count_if(m_sessions.begin(), m_sessions.end(), [](const auto& pSession) {
        return pSession->ClientCount() != 0;
    }));
}

void CFakeSessionManager::OpenGate()
{
    const std::lock_guard lock(m_mutex);
    m_bGateOpen = true;
}

HRESULT STDMETHODCALLTYPE CFakeSessionManager::GetSessionEnumerator(IAudioSessionEnumerator** SessionEnum)
{
    if (SessionEnum == nullptr)
        return E_POINTER;
    *SessionEnum = nullptr;
    std::vector<SFakeSessionSetup> playing;
    {
        const std::lock_guard lock(m_mutex);
        if (FAILED(m_hrEnumerator))
            return m_hrEnumerator;
        playing.swap(m_playWhenListed);
    }
    for (const SFakeSessionSetup& setup : playing)
        TellCreated(Add(setup));
    std::vector<CComPtr<IAudioSessionControl>> sessions;
    {
        const std::lock_guard lock(m_mutex);
        for (const auto& pSession : m_sessions)
            if (pSession->State() != AudioSessionStateExpired)
                sessions.push_back(CComPtr<IAudioSessionControl>::Share(pSession.Get()));
    }
    *SessionEnum =
        MakeComObject<CFakeSessionEnumerator>(CComPtr<CFakeSessionManager>::Share(this), std::move(sessions))
            .Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
CFakeSessionManager::RegisterSessionNotification(IAudioSessionNotification* SessionNotification)
{
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    const bool bInMultithreadedApartment = SUCCEEDED(::CoGetApartmentType(&type, &qualifier)) &&
                                           type == APTTYPE_MTA && qualifier != APTTYPEQUALIFIER_IMPLICIT_MTA;
    return m_clients.Register(SessionNotification, bInMultithreadedApartment);
}

HRESULT STDMETHODCALLTYPE
CFakeSessionManager::UnregisterSessionNotification(IAudioSessionNotification* SessionNotification)
{
    return m_clients.Unregister(SessionNotification);
}
