#include "mixer/endpoint/SessionCallbacks.h"

namespace {

struct CTaskText {
    ~CTaskText() { ::CoTaskMemFree(pwsz); }
    std::wstring Text() const { return pwsz != nullptr ? pwsz : L""; }
    LPWSTR pwsz = nullptr;
};

} // namespace

CSessionInbox::CSessionInbox(SessionNotify notify, std::function<void()> cardsChanged)
    : m_notify(std::move(notify)), m_cardsChanged(std::move(cardsChanged))
{
}

size_t CSessionInbox::Arrive(CComPtr<IAudioSessionControl2> pControl, const SSessionIdentity& identity)
{
    SSessionEvent event;
    event.pControl = std::move(pControl);
    event.identity = identity;
    const CCriticalSectionLock lock(m_mutex);
    event.nApplication = m_groups.ApplicationOf(identity);
    m_events.push_back(std::move(event));
    return m_events.back().nApplication;
}

void CSessionInbox::Post(SSessionEvent event)
{
    const CCriticalSectionLock lock(m_mutex);
    m_events.push_back(std::move(event));
}

std::vector<SSessionEvent> CSessionInbox::Take()
{
    std::vector<SSessionEvent> events;
    const CCriticalSectionLock lock(m_mutex);
    events.swap(m_events);
    return events;
}

SSessionIdentity IdentityOf(IAudioSessionControl2* pControl)
{
    SSessionIdentity identity;
    CTaskText session;
    CTaskText instance;
    if (SUCCEEDED(pControl->GetSessionIdentifier(&session.pwsz)))
        identity.strSession = session.Text();
    if (SUCCEEDED(pControl->GetSessionInstanceIdentifier(&instance.pwsz)))
        identity.strInstance = instance.Text();
    if (FAILED(pControl->GetGroupingParam(&identity.grouping)))
        identity.grouping = GUID_NULL;
    return identity;
}

HRESULT STDMETHODCALLTYPE CSessionCreatedClient::OnSessionCreated(IAudioSessionControl* pNewSession)
{
    if (pNewSession == nullptr)
        return E_POINTER;
    const auto pInbox = m_pInbox.lock();
    if (!pInbox)
        return S_OK;
    // The reference taken here is the session's own, which the mixer's thread keeps or lets go;
    // Core Audio holds another one for the length of this call.
    CComPtr<IAudioSessionControl2> pControl;
    if (FAILED(pNewSession->QueryInterface(__uuidof(IAudioSessionControl2), pControl.PutVoid())) || !pControl)
        return S_OK;
    const SSessionIdentity identity = IdentityOf(pControl.Get());
    pInbox->Notify(pInbox->Arrive(std::move(pControl), identity), SessionChange::Line);
    return S_OK;
}

CSessionEventsClient::CSessionEventsClient(std::weak_ptr<CSessionInbox> pInbox, size_t nSession,
                                           size_t nApplication, const GUID& guidOwnWrites, BOOL bMuted)
    : m_pInbox(std::move(pInbox)), m_nSession(nSession), m_nApplication(nApplication),
      m_guidOwnWrites(guidOwnWrites), m_bMuted(bMuted)
{
}

void CSessionEventsClient::Hand(SSessionEvent event) const
{
    if (const auto pInbox = m_pInbox.lock()) {
        event.nSession = m_nSession;
        pInbox->Post(std::move(event));
        pInbox->Notify(m_nApplication, SessionChange::Line);
    }
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnDisplayNameChanged(LPCWSTR pwszNewDisplayName, LPCGUID)
{
    SSessionEvent event;
    event.kind = SSessionEvent::Kind::Renamed;
    event.strDisplayName = pwszNewDisplayName != nullptr ? pwszNewDisplayName : L"";
    Hand(std::move(event));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnSimpleVolumeChanged(float, BOOL bNewMute,
                                                                      LPCGUID pguidEventContext)
{
    // Every change updates the mute state seen last, the mixer's own included, so that the next
    // change from elsewhere is compared with the truth.
    const BOOL bMuted = bNewMute ? TRUE : FALSE;
    const bool bMuteChanged = m_bMuted.exchange(bMuted) != bMuted;
    if (pguidEventContext != nullptr && IsEqualGUID(*pguidEventContext, m_guidOwnWrites))
        return S_OK;
    if (const auto pInbox = m_pInbox.lock())
        pInbox->Notify(m_nApplication, bMuteChanged ? SessionChange::Mute : SessionChange::Volume);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnStateChanged(AudioSessionState newState)
{
    SSessionEvent event;
    event.kind = SSessionEvent::Kind::StateChanged;
    event.state = newState;
    Hand(std::move(event));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnSessionDisconnected(AudioSessionDisconnectReason reason)
{
    // The endpoint went or the audio service stopped: every card is read again, as for the
    // endpoint's own failures. Any other reason (a new format, exclusive use, a logoff) ends
    // this session only.
    if (reason == DisconnectReasonDeviceRemoval || reason == DisconnectReasonServerShutdown) {
        if (const auto pInbox = m_pInbox.lock())
            pInbox->CardsChanged();
        return S_OK;
    }
    SSessionEvent event;
    event.kind = SSessionEvent::Kind::Ended;
    Hand(std::move(event));
    return S_OK;
}
