#include "mixer/endpoint/AudioSessions.h"

#include "mixer/endpoint/ChangeHandover.h"
#include "mixer/endpoint/SessionNaming.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

DWORD WINAPI KeepApartment(LPVOID pReady)
{
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ::ReleaseSemaphore(static_cast<HANDLE>(pReady), 1, nullptr);
    // Holds the apartment, asleep, until the process ends.
    ::Sleep(INFINITE);
    return 0;
}

// Session notifications reach a process only while a thread of it is in the multithreaded
// apartment, and the user interface thread must stay single-threaded; one such thread serves
// the whole process.
void KeepMultithreadedApartment()
{
    static const bool s_bStarted = [] {
        const HANDLE hReady = ::CreateSemaphoreW(nullptr, 0, 1, nullptr);
        if (hReady == nullptr)
            return false;
        const HANDLE hThread = ::CreateThread(nullptr, 0, KeepApartment, hReady, 0, nullptr);
        if (hThread != nullptr) {
            ::WaitForSingleObject(hReady, INFINITE);
            ::CloseHandle(hThread);
        }
        ::CloseHandle(hReady);
        return hThread != nullptr;
    }();
    static_cast<void>(s_bStarted);
}

std::wstring DisplayNameOf(IAudioSessionControl2* pControl)
{
    LPWSTR pwszName = nullptr;
    std::wstring strName;
    if (SUCCEEDED(pControl->GetDisplayName(&pwszName)) && pwszName != nullptr)
        strName = pwszName;
    ::CoTaskMemFree(pwszName);
    return strName;
}

HWND HandoverWindow(const std::weak_ptr<CChangeHandover>& pHandover)
{
    const auto pLocked = pHandover.lock();
    return pLocked ? pLocked->Window() : nullptr;
}

bool SameLines(const std::vector<SApplicationLine>& a, const std::vector<SApplicationLine>& b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const SApplicationLine& x, const SApplicationLine& y) {
            return x.strName == y.strName && x.dwIdentity == y.dwIdentity && x.fdwLine == y.fdwLine;
        });
}

} // namespace

DWORD ApplicationIdentity(const std::wstring& strSessionIdentifier)
{
    DWORD dwHash = 2166136261u;
    for (const wchar_t ch : strSessionIdentifier) {
        dwHash = (dwHash ^ (static_cast<DWORD>(ch) & 0xFF)) * 16777619u;
        dwHash = (dwHash ^ (static_cast<DWORD>(ch) >> 8)) * 16777619u;
    }
    return dwHash != 0 ? dwHash : 1;
}

CAudioSessions::CAudioSessions(CComPtr<IAudioSessionManager2> pManager, const GUID& guidOwnWrites,
                               SessionNotify notify, std::function<void()> cardsChanged,
                               std::weak_ptr<CChangeHandover> pHandover)
    : m_pManager(std::move(pManager)), m_guidOwnWrites(guidOwnWrites),
      m_pInbox(std::make_shared<CSessionInbox>(std::move(notify), std::move(cardsChanged))),
      m_pHandover(std::move(pHandover)), m_hWndHandover(HandoverWindow(m_pHandover))
{
    Start();
}

CAudioSessions::~CAudioSessions()
{
    if (m_bRegistered)
        m_pManager->UnregisterSessionNotification(m_pCreatedClient.Get());
    Keep(std::move(m_pCreatedClient));
    while (!m_sessions.empty())
        End(m_sessions.back().nNumber);
    // Sessions handed over but not taken in are let go here, on the mixer's thread.
    m_pInbox->Take();
}

void CAudioSessions::Keep(CComPtr<IUnknown> pCallback) const
{
    if (const auto pHandover = m_pHandover.lock())
        pHandover->Keep(std::move(pCallback));
}

void CAudioSessions::Start()
{
    KeepMultithreadedApartment();
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
    for (SSessionEvent& event : events) {
        SSession* pSession = Find(event.nSession);
        switch (event.kind) {
        case SSessionEvent::Kind::Arrived:
            Adopt(event);
            break;
        case SSessionEvent::Kind::StateChanged:
            if (event.state == AudioSessionStateExpired)
                End(event.nSession);
            else if (pSession != nullptr)
                pSession->state = event.state;
            break;
        case SSessionEvent::Kind::Renamed:
            if (pSession != nullptr)
                pSession->strName = SessionName(
                    NameFactsOf(event.strDisplayName, pSession->dwProcessId, pSession->bSystemSounds));
            break;
        case SSessionEvent::Kind::Ended:
            End(event.nSession);
            break;
        // Told as they are handed over; the inbox keeps none of them.
        case SSessionEvent::Kind::VolumeChanged:
        case SSessionEvent::Kind::MuteChanged:
        case SSessionEvent::Kind::EndpointFailed:
            break;
        }
    }
    return Describe();
}

void CAudioSessions::Adopt(SSessionEvent& event)
{
    if (m_applications.size() <= event.nApplication) {
        m_applications.resize(event.nApplication + 1,
                              {L"Name Not Available", 0, MIXERLINE_LINEF_DISCONNECTED});
        m_applications[event.nApplication].dwIdentity = ApplicationIdentity(event.identity.strSession);
    }
    // A session reported both by the enumerator and by OnSessionCreated is one.
    if (std::any_of(m_sessions.begin(), m_sessions.end(), [&](const SSession& session) {
            return !event.identity.strInstance.empty() && session.strInstance == event.identity.strInstance;
        }))
        return;
    SSession session;
    session.nNumber = m_nNextNumber++;
    session.nApplication = event.nApplication;
    session.strInstance = event.identity.strInstance;
    session.pControl = std::move(event.pControl);
    if (FAILED(session.pControl->QueryInterface(__uuidof(ISimpleAudioVolume), session.pVolume.PutVoid())) ||
        !session.pVolume)
        return;
    BOOL bMuted = FALSE;
    session.pVolume->GetMute(&bMuted);
    auto pEvents =
        MakeComObject<CSessionEventsClient>(m_hWndHandover, std::weak_ptr<CSessionInbox>(m_pInbox),
                                            session.nNumber, session.nApplication, m_guidOwnWrites, bMuted);
    if (SUCCEEDED(session.pControl->RegisterAudioSessionNotification(pEvents.Get())))
        session.pEvents = std::move(pEvents);
    // Read once the events are heard, so that no change falls in between.
    if (FAILED(session.pControl->GetState(&session.state)) || session.state == AudioSessionStateExpired) {
        m_sessions.push_back(std::move(session));
        End(m_sessions.back().nNumber);
        return;
    }
    DWORD dwProcessId = 0;
    // AUDCLNT_S_NO_SINGLE_PROCESS, a success code: the session spans processes, none of which
    // names it.
    if (session.pControl->GetProcessId(&dwProcessId) == S_OK)
        session.dwProcessId = dwProcessId;
    session.bSystemSounds = session.pControl->IsSystemSoundsSession() == S_OK;
    session.strName = SessionName(
        NameFactsOf(DisplayNameOf(session.pControl.Get()), session.dwProcessId, session.bSystemSounds));
    m_sessions.push_back(std::move(session));
}

void CAudioSessions::End(size_t nNumber)
{
    const auto it = std::find_if(m_sessions.begin(), m_sessions.end(),
                                 [&](const SSession& session) { return session.nNumber == nNumber; });
    if (it == m_sessions.end())
        return;
    if (it->pEvents) {
        it->pControl->UnregisterAudioSessionNotification(it->pEvents.Get());
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
        return session.nApplication == nApplication;
    });
    return it != m_sessions.end() ? &*it : nullptr;
}

bool CAudioSessions::Describe()
{
    std::vector<SApplicationLine> applications = m_applications;
    for (size_t n = 0; n < applications.size(); ++n) {
        SApplicationLine& line = applications[n];
        // An application whose sessions all expired keeps the name it had last.
        line.fdwLine = MIXERLINE_LINEF_DISCONNECTED;
        if (const SSession* pFirst = First(n)) {
            line.strName = pFirst->strName;
            line.fdwLine = 0;
        }
        for (const SSession& session : m_sessions)
            if (session.nApplication == n && session.state == AudioSessionStateActive)
                line.fdwLine = MIXERLINE_LINEF_ACTIVE;
    }
    if (SameLines(applications, m_applications))
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
        if (session.nApplication != nApplication)
            continue;
        const HRESULT hr = write(*session.pVolume.Get());
        if (SUCCEEDED(hr))
            bWritten = true;
        else if (hrFirstFailure == HRESULT_FROM_WIN32(ERROR_NOT_FOUND))
            hrFirstFailure = hr;
    }
    return bWritten ? S_OK : hrFirstFailure;
}
