#include "mixer/endpoint/AudioSessions.h"

#include "mixer/endpoint/ChangeHandover.h"
#include "mixer/endpoint/MultithreadedApartment.h"

#include <algorithm>

DWORD ApplicationIdentity(const std::wstring& strSessionIdentifier)
{
    DWORD dwHash = 2166136261u;
    for (const wchar_t ch : strSessionIdentifier) {
        dwHash = (dwHash ^ (static_cast<DWORD>(ch) & 0xFF)) * 16777619u;
        dwHash = (dwHash ^ (static_cast<DWORD>(ch) >> 8)) * 16777619u;
    }
    return dwHash != 0 ? dwHash : 1;
}

CAudioSessions::CAudioSessions(CComPtr<IMMDevice> pDevice,
                               std::shared_ptr<CMultithreadedApartment> pApartment, const GUID& guidOwnWrites,
                               SessionNotify notify, std::function<void()> endpointFailed,
                               const std::shared_ptr<CChangeHandover>& pHandover)
    : m_pApartment(std::move(pApartment)), m_guidOwnWrites(guidOwnWrites),
      m_pInbox(std::make_shared<CSessionInbox>(std::move(notify), std::move(endpointFailed))),
      m_pHandover(pHandover), m_hWndHandover(pHandover->Window())
{
    m_pApartment->Run([&] { Start(std::move(pDevice)); });
}

CAudioSessions::~CAudioSessions()
{
    while (!m_sessions.empty())
        End(m_sessions.back().nNumber);
    m_pApartment->Run([&] {
        if (m_bRegistered)
            m_pManager->UnregisterSessionNotification(m_pCreatedClient.Get());
        m_pManager = {};
    });
    Keep(std::move(m_pCreatedClient));
    // Sessions handed over but not taken in are let go here, on the mixer's thread.
    m_pInbox->Take();
}

void CAudioSessions::Keep(CComPtr<IUnknown> pCallback) const
{
    if (const auto pHandover = m_pHandover.lock())
        pHandover->Keep(std::move(pCallback));
}

void CAudioSessions::Start(CComPtr<IMMDevice> pDevice)
{
    if (FAILED(
            pDevice->Activate(__uuidof(IAudioSessionManager2), CLSCTX_ALL, nullptr, m_pManager.PutVoid())) ||
        !m_pManager)
        return;
    // 1. Hear of new sessions.
    m_pCreatedClient =
        MakeComObject<CSessionCreatedClient>(m_hWndHandover, std::weak_ptr<CSessionInbox>(m_pInbox));
    m_bRegistered = SUCCEEDED(m_pManager->RegisterSessionNotification(m_pCreatedClient.Get()));
    // 2. The sessions there are. 3. GetCount, after which Windows reports new sessions.
    CComPtr<IAudioSessionEnumerator> pEnumerator;
    int cSessions = 0;
    if (FAILED(m_pManager->GetSessionEnumerator(pEnumerator.Put())) || !pEnumerator ||
        FAILED(pEnumerator->GetCount(&cSessions)))
        return;
    for (int i = 0; i < cSessions; ++i) {
        CComPtr<IAudioSessionControl> pSession;
        CComPtr<IAudioSessionControl2> pControl;
        if (FAILED(pEnumerator->GetSession(i, pSession.Put())) || !pSession ||
            FAILED(pSession->QueryInterface(__uuidof(IAudioSessionControl2), pControl.PutVoid())) ||
            !pControl)
            continue;
        AudioSessionState state = AudioSessionStateInactive;
        if (SUCCEEDED(pControl->GetState(&state)) && state == AudioSessionStateExpired)
            continue;
        const SSessionIdentity identity = IdentityOf(pControl.Get());
        m_pInbox->Arrive(std::move(pControl), identity);
    }
}

bool CAudioSessions::Update()
{
    std::vector<SSessionEvent> events = m_pInbox->Take();
    if (events.empty())
        return false;
    // A program whose session has expired before it was taken in is a line all the same.
    const size_t cApplicationsBefore = m_applications.size();
    for (SSessionEvent& event : events) {
        SSession* pSession = Find(event.nSession);
        if (event.kind == SSessionEvent::Kind::Arrived)
            Adopt(event);
        else if (pSession == nullptr)
            continue;
        else if (event.kind == SSessionEvent::Kind::StateChanged)
            ChangeState(*pSession, event.state);
        else if (event.kind == SSessionEvent::Kind::Renamed)
            SetDisplayName(pSession->facts, event.strDisplayName);
        else if (event.kind == SSessionEvent::Kind::Regrouped)
            Regroup(*pSession, event.identity.grouping);
        else if (event.kind == SSessionEvent::Kind::Ended ||
                 event.kind == SSessionEvent::Kind::EndpointFailed)
            End(event.nSession);
    }
    return Describe() || m_applications.size() != cApplicationsBefore;
}

void CAudioSessions::ChangeState(SSession& session, AudioSessionState state)
{
    session.state = state;
    if (state != AudioSessionStateExpired)
        return;
    // Of the application's expired sessions the last is enough to hear it play again.
    std::vector<size_t> expired;
    for (const SSession& other : m_sessions)
        if (other.nApplication == session.nApplication && other.state == AudioSessionStateExpired &&
            other.nNumber != session.nNumber)
            expired.push_back(other.nNumber);
    for (const size_t nNumber : expired)
        End(nNumber);
}

void CAudioSessions::Regroup(const SSession& session, const GUID& grouping)
{
    SSessionEvent arrival;
    arrival.pControl = session.pControl;
    arrival.identity = session.identity;
    arrival.identity.grouping = grouping;
    arrival.nApplication = m_pInbox->ApplicationOf(arrival.identity);
    arrival.facts = session.facts;
    End(session.nNumber);
    Adopt(arrival);
}

void CAudioSessions::Adopt(SSessionEvent& event)
{
    if (m_applications.size() <= event.nApplication) {
        m_applications.resize(event.nApplication + 1, {L"Name Not Available", 0, LineState::Gone});
        m_applications[event.nApplication].dwIdentity = ApplicationIdentity(event.identity.strSession);
    }
    // A session reported both by the enumerator and by OnSessionCreated is one; one that comes
    // again after it expired takes the place of the one heard.
    const auto it = std::find_if(m_sessions.begin(), m_sessions.end(), [&](const SSession& session) {
        return !event.identity.strInstance.empty() &&
               session.identity.strInstance == event.identity.strInstance;
    });
    if (it != m_sessions.end() && it->state != AudioSessionStateExpired)
        return;
    if (it != m_sessions.end())
        End(it->nNumber);
    SSession session;
    session.nNumber = m_nNextNumber++;
    session.nApplication = event.nApplication;
    session.identity = event.identity;
    session.facts = std::move(event.facts);
    session.pControl = std::move(event.pControl);
    if (FAILED(session.pControl->QueryInterface(__uuidof(ISimpleAudioVolume), session.pVolume.PutVoid())) ||
        !session.pVolume)
        return;
    BOOL bMuted = FALSE;
    session.pVolume->GetMute(&bMuted);
    auto pEvents = MakeComObject<CSessionEventsClient>(m_hWndHandover, std::weak_ptr<CSessionInbox>(m_pInbox),
                                                       session.nNumber, session.nApplication, bMuted);
    m_pApartment->Run([&] {
        if (SUCCEEDED(session.pControl->RegisterAudioSessionNotification(pEvents.Get())))
            session.pEvents = std::move(pEvents);
    });
    // Read once the events are heard, so that no change falls in between.
    const bool bGone =
        FAILED(session.pControl->GetState(&session.state)) || session.state == AudioSessionStateExpired;
    m_sessions.push_back(std::move(session));
    if (bGone)
        End(m_sessions.back().nNumber);
}

void CAudioSessions::End(size_t nNumber)
{
    const auto it = std::find_if(m_sessions.begin(), m_sessions.end(),
                                 [&](const SSession& session) { return session.nNumber == nNumber; });
    if (it == m_sessions.end())
        return;
    if (it->pEvents) {
        m_pApartment->Run([&] { it->pControl->UnregisterAudioSessionNotification(it->pEvents.Get()); });
        Keep(std::move(it->pEvents));
    }
    m_sessions.erase(it);
}

CAudioSessions::SSession* CAudioSessions::Find(size_t nNumber)
{
    const auto it = std::find_if(m_sessions.begin(), m_sessions.end(),
                                 [&](const SSession& session) { return session.nNumber == nNumber; });
    return it != m_sessions.end() ? &*it : nullptr;
}

const CAudioSessions::SSession* CAudioSessions::First(size_t nApplication) const
{
    const auto it = std::find_if(m_sessions.begin(), m_sessions.end(), [&](const SSession& session) {
        return session.nApplication == nApplication && session.state != AudioSessionStateExpired;
    });
    return it != m_sessions.end() ? &*it : nullptr;
}

bool CAudioSessions::Describe()
{
    std::vector<SApplicationLine> applications = m_applications;
    for (size_t n = 0; n < applications.size(); ++n) {
        SApplicationLine& line = applications[n];
        // An application whose sessions all expired keeps the name it had last.
        line.state = LineState::Gone;
        if (const SSession* pFirst = First(n)) {
            line.strName = SessionName(pFirst->facts);
            line.state = LineState::Silent;
        }
        for (const SSession& session : m_sessions)
            if (session.nApplication == n && session.state == AudioSessionStateActive)
                line.state = LineState::Active;
    }
    if (applications == m_applications)
        return false;
    m_applications = std::move(applications);
    return true;
}

HRESULT CAudioSessions::GetVolume(size_t nApplication, float& fLevel) const
{
    const SSession* pFirst = First(nApplication);
    return pFirst != nullptr ? pFirst->pVolume->GetMasterVolume(&fLevel)
                             : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT CAudioSessions::GetMute(size_t nApplication, BOOL& bMuted) const
{
    const SSession* pFirst = First(nApplication);
    return pFirst != nullptr ? pFirst->pVolume->GetMute(&bMuted) : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT CAudioSessions::SetVolume(size_t nApplication, float fLevel)
{
    return WriteAll(nApplication, [&](ISimpleAudioVolume& volume) {
        return volume.SetMasterVolume(fLevel, &m_guidOwnWrites);
    });
}

HRESULT CAudioSessions::SetMute(size_t nApplication, BOOL bMuted)
{
    return WriteAll(nApplication,
                    [&](ISimpleAudioVolume& volume) { return volume.SetMute(bMuted, &m_guidOwnWrites); });
}

HRESULT CAudioSessions::WriteAll(size_t nApplication,
                                 const std::function<HRESULT(ISimpleAudioVolume&)>& write)
{
    // Written when one session took it: another may have ended a moment ago.
    HRESULT hrFirstFailure = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    bool bWritten = false;
    for (const SSession& session : m_sessions) {
        if (session.nApplication != nApplication || session.state == AudioSessionStateExpired)
            continue;
        const HRESULT hr = write(*session.pVolume.Get());
        if (SUCCEEDED(hr))
            bWritten = true;
        else if (hrFirstFailure == HRESULT_FROM_WIN32(ERROR_NOT_FOUND))
            hrFirstFailure = hr;
    }
    return bWritten ? S_OK : hrFirstFailure;
}
