// The audio sessions' callbacks and what they hand over. Core Audio calls them on its own
// threads, where they must not block, wait on a lock held elsewhere, register or unregister
// callbacks, or release the last reference to an audio object. So they only take the inbox's
// short lock (under which nothing calls Core Audio), hand the event over to the mixer's thread
// (CAudioSessions::Update takes it) and post a word to the mixer's handles; a late callback after
// the sessions have gone finds no inbox and does nothing.
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/endpoint/ApplicationGroups.h"
#include "mixer/endpoint/ComPtr.h"

#include <windows.h>
#include <audiopolicy.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// What changed of an application: its line (came, went, renamed, started or stopped playing),
// its volume or its mute.
enum class SessionChange { Line, Volume, Mute };
// Called on any thread; it may only take a short lock and post.
using SessionNotify = std::function<void(size_t nApplication, SessionChange change)>;

struct SSessionEvent {
    enum class Kind { Arrived, StateChanged, Renamed, Ended };
    Kind kind = Kind::Arrived;
    // The session's number (CAudioSessions), for all but Arrived.
    size_t nSession = 0;
    // Arrived: the session, its identity and its application.
    CComPtr<IAudioSessionControl2> pControl;
    SSessionIdentity identity;
    size_t nApplication = 0;
    AudioSessionState state = AudioSessionStateInactive;
    std::wstring strDisplayName;
};

class CSessionInbox {
public:
    CSessionInbox(SessionNotify notify, std::function<void()> cardsChanged);

    // A session seen by the enumerator or by OnSessionCreated; answers its application.
    size_t Arrive(CComPtr<IAudioSessionControl2> pControl, const SSessionIdentity& identity);
    void Post(SSessionEvent event);
    // On the mixer's thread: everything handed over so far, in order.
    std::vector<SSessionEvent> Take();
    void Notify(size_t nApplication, SessionChange change) const { m_notify(nApplication, change); }
    // An endpoint removed or the audio service stopped: a change of the cards.
    void CardsChanged() const { m_cardsChanged(); }

private:
    const SessionNotify m_notify;
    const std::function<void()> m_cardsChanged;
    CCriticalSection m_mutex;
    CApplicationGroups m_groups;
    std::vector<SSessionEvent> m_events;
};

// The session's identity, asked of the session (any thread).
SSessionIdentity IdentityOf(IAudioSessionControl2* pControl);

class CSessionCreatedClient final : public CComObject<IAudioSessionNotification> {
public:
    explicit CSessionCreatedClient(std::weak_ptr<CSessionInbox> pInbox) : m_pInbox(std::move(pInbox)) {}

    HRESULT STDMETHODCALLTYPE OnSessionCreated(IAudioSessionControl* pNewSession) override;

private:
    const std::weak_ptr<CSessionInbox> m_pInbox;
};

class CSessionEventsClient final : public CComObject<IAudioSessionEvents> {
public:
    // bMuted: the session's mute state now, so that the first change can tell which control it
    // concerns.
    CSessionEventsClient(std::weak_ptr<CSessionInbox> pInbox, size_t nSession, size_t nApplication,
                         const GUID& guidOwnWrites, BOOL bMuted);

    HRESULT STDMETHODCALLTYPE OnDisplayNameChanged(LPCWSTR pwszNewDisplayName, LPCGUID) override;
    HRESULT STDMETHODCALLTYPE OnIconPathChanged(LPCWSTR, LPCGUID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSimpleVolumeChanged(float, BOOL bNewMute, LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE OnChannelVolumeChanged(DWORD, float[], DWORD, LPCGUID) override { return S_OK; }
    // An application keeps the grouping of its first sight.
    HRESULT STDMETHODCALLTYPE OnGroupingParamChanged(LPCGUID, LPCGUID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChanged(AudioSessionState newState) override;
    HRESULT STDMETHODCALLTYPE OnSessionDisconnected(AudioSessionDisconnectReason reason) override;

private:
    void Hand(SSessionEvent event) const;

    const std::weak_ptr<CSessionInbox> m_pInbox;
    const size_t m_nSession;
    const size_t m_nApplication;
    const GUID m_guidOwnWrites;
    std::atomic<BOOL> m_bMuted;
};
