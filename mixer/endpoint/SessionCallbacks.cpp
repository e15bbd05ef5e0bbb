#include "mixer/endpoint/SessionCallbacks.h"

#include "fw/ComMemory.h"
#include "mixer/endpoint/ChangeHandover.h"

namespace {

SSessionNameFacts NameFactsOf(IAudioSessionControl2* pControl)
{
    // A failed call may leave anything in the string: only a success is read.
    CTaskMemString name;
    const std::wstring strDisplayName = SUCCEEDED(pControl->GetDisplayName(name.Put())) ? name.Str() : L"";
    // A session across processes (AUDCLNT_S_NO_SINGLE_PROCESS, a success code) still gives the
    // process that made it.
    DWORD dwProcessId = 0;
    if (FAILED(pControl->GetProcessId(&dwProcessId)))
        dwProcessId = 0;
    return ::NameFactsOf(strDisplayName, dwProcessId, pControl->IsSystemSoundsSession() == S_OK);
}

} // namespace

CSessionInbox::CSessionInbox(SessionNotify notify, std::function<void()> endpointFailed)
    : m_notify(std::move(notify)), m_endpointFailed(std::move(endpointFailed))
{
}

void CSessionInbox::HandOver(HWND hWndHandover, std::weak_ptr<CSessionInbox> pInbox, SSessionEvent event)
{
    // An event that the handover does not take goes here, where Core Audio still holds the
    // session for the call.
    CChangeHandover::HandOver(hWndHandover, [pInbox = std::move(pInbox), event = std::move(event)]() mutable {
        if (const auto pLocked = pInbox.lock())
            pLocked->Deliver(std::move(event));
    });
}

void CSessionInbox::Deliver(SSessionEvent event)
{
    SessionChange change = SessionChange::Line;
    if (event.kind == SSessionEvent::Kind::Arrived)
        event.nApplication = Arrive(std::move(event.pControl), event.identity);
    else if (event.kind == SSessionEvent::Kind::VolumeChanged ||
             event.kind == SSessionEvent::Kind::MuteChanged)
        change = event.kind == SSessionEvent::Kind::MuteChanged ? SessionChange::Mute : SessionChange::Volume;
    else
        m_events.push_back(event);
    m_notify(event.nApplication, change, event.guidContext);
    // Whether the cards changed, the endpoint tells.
    if (event.kind == SSessionEvent::Kind::EndpointFailed)
        m_endpointFailed();
}

size_t CSessionInbox::Arrive(CComPtr<IAudioSessionControl2> pControl, const SSessionIdentity& identity)
{
    SSessionEvent event;
    event.pControl = std::move(pControl);
    event.identity = identity;
    event.nApplication = m_groups.ApplicationOf(identity);
    event.facts = NameFactsOf(event.pControl.Get());
    m_events.push_back(std::move(event));
    return m_events.back().nApplication;
}

std::vector<SSessionEvent> CSessionInbox::Take()
{
    std::vector<SSessionEvent> events;
    events.swap(m_events);
    return events;
}

SSessionIdentity IdentityOf(IAudioSessionControl2* pControl)
{
    SSessionIdentity identity;
    CTaskMemString session;
    CTaskMemString instance;
    if (SUCCEEDED(pControl->GetSessionIdentifier(session.Put())))
        identity.strSession = session.Str();
    if (SUCCEEDED(pControl->GetSessionInstanceIdentifier(instance.Put())))
        identity.strInstance = instance.Str();
    if (FAILED(pControl->GetGroupingParam(&identity.grouping)))
        identity.grouping = GUID_NULL;
    return identity;
}

HRESULT STDMETHODCALLTYPE CSessionCreatedClient::OnSessionCreated(IAudioSessionControl* pNewSession)
{
    if (pNewSession == nullptr)
        return E_POINTER;
    // The reference taken here is the session's own, which the mixer's thread keeps or lets go;
    // Core Audio holds another one for the length of this call.
    SSessionEvent event;
    if (FAILED(pNewSession->QueryInterface(__uuidof(IAudioSessionControl2), event.pControl.PutVoid())) ||
        !event.pControl)
        return S_OK;
    event.identity = IdentityOf(event.pControl.Get());
    CSessionInbox::HandOver(m_hWndHandover, m_pInbox, std::move(event));
    return S_OK;
}

CSessionEventsClient::CSessionEventsClient(HWND hWndHandover, std::weak_ptr<CSessionInbox> pInbox,
                                           size_t nSession, size_t nApplication, BOOL bMuted)
    : m_hWndHandover(hWndHandover), m_pInbox(std::move(pInbox)), m_nSession(nSession),
      m_nApplication(nApplication), m_bMuted(bMuted)
{
}

void CSessionEventsClient::Hand(SSessionEvent::Kind kind, LPCGUID pguidEventContext,
                                SSessionEvent event) const
{
    event.kind = kind;
    event.nSession = m_nSession;
    event.nApplication = m_nApplication;
    event.guidContext = pguidEventContext != nullptr ? *pguidEventContext : GUID_NULL;
    CSessionInbox::HandOver(m_hWndHandover, m_pInbox, std::move(event));
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnDisplayNameChanged(LPCWSTR pwszNewDisplayName,
                                                                     LPCGUID pguidEventContext)
{
    SSessionEvent event;
    event.strDisplayName = pwszNewDisplayName != nullptr ? pwszNewDisplayName : L"";
    Hand(SSessionEvent::Kind::Renamed, pguidEventContext, std::move(event));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnGroupingParamChanged(LPCGUID pNewGroupingParam,
                                                                       LPCGUID pguidEventContext)
{
    if (pNewGroupingParam == nullptr)
        return E_POINTER;
    SSessionEvent event;
    event.identity.grouping = *pNewGroupingParam;
    Hand(SSessionEvent::Kind::Regrouped, pguidEventContext, std::move(event));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnSimpleVolumeChanged(float, BOOL bNewMute,
                                                                      LPCGUID pguidEventContext)
{
    // Every change updates the mute state seen last, the mixer's own included, so that the next
    // change is compared with the truth.
    const BOOL bMuted = bNewMute ? TRUE : FALSE;
    const bool bMuteChanged = m_bMuted.exchange(bMuted) != bMuted;
    Hand(bMuteChanged ? SSessionEvent::Kind::MuteChanged : SSessionEvent::Kind::VolumeChanged,
         pguidEventContext);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnStateChanged(AudioSessionState newState)
{
    SSessionEvent event;
    event.state = newState;
    Hand(SSessionEvent::Kind::StateChanged, nullptr, std::move(event));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSessionEventsClient::OnSessionDisconnected(AudioSessionDisconnectReason reason)
{
    // Every reason ends this session. The endpoint may have gone or the audio service stopped,
    // or only this session was removed: the card looks at its endpoint.
    Hand(reason == DisconnectReasonDeviceRemoval || reason == DisconnectReasonServerShutdown
             ? SSessionEvent::Kind::EndpointFailed
             : SSessionEvent::Kind::Ended);
    return S_OK;
}
