// The audio sessions' callbacks and what they hand over. Core Audio calls them on its own
// threads, where they must not block, wait on a synchronization object, register or unregister
// callbacks, or release the last reference to an audio object. So they only post the event to
// the mixer's thread (ChangeHandover.h). There the inbox takes it in for
// CAudioSessions::Update and tells the mixer's handles; an event for sessions that have gone
// meanwhile finds no inbox and is let go there.
#pragma once

#include "fw/ComPtr.h"
#include "mixer/endpoint/ApplicationGroups.h"
#include "mixer/endpoint/SessionNaming.h"

#include <windows.h>
#include <audiopolicy.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// What changed of an application: its line (came, went, renamed, started or stopped playing),
// its volume or its mute.
enum class SessionChange { Line, Volume, Mute };
// Called on the mixer's thread, with the context of the write that made the change.
using SessionNotify = std::function<void(size_t nApplication, SessionChange change, const GUID& guidContext)>;

struct SSessionEvent {
    // VolumeChanged and MuteChanged: by another program; EndpointFailed: the session lost its
    // endpoint or the audio service; Regrouped: identity.grouping is the new grouping parameter.
    enum class Kind {
        Arrived,
        StateChanged,
        Renamed,
        Regrouped,
        Ended,
        VolumeChanged,
        MuteChanged,
        EndpointFailed
    };
    Kind kind = Kind::Arrived;
    // The session's number (CAudioSessions), for all but Arrived.
    size_t nSession = 0;
    // Arrived: the session, its identity, its application and what names it.
    CComPtr<IAudioSessionControl2> pControl;
    SSessionIdentity identity;
    size_t nApplication = 0;
    SSessionNameFacts facts;
    AudioSessionState state = AudioSessionStateInactive;
    std::wstring strDisplayName;
    // Of the write that made the change, where Core Audio gives one.
    GUID guidContext{};
};

// Lives on the mixer's thread; HandOver may be called from any.
class CSessionInbox {
public:
    CSessionInbox(SessionNotify notify, std::function<void()> endpointFailed);

    // From Core Audio's threads: the event goes to the mixer's thread by the handover's window,
    // and to the inbox there (Deliver), if it still is.
    static void HandOver(HWND hWndHandover, std::weak_ptr<CSessionInbox> pInbox, SSessionEvent event);
    // On the mixer's thread: takes in the event and tells of it.
    void Deliver(SSessionEvent event);

    // A session seen by the enumerator or by OnSessionCreated, named now, while its process
    // runs; answers its application.
    size_t Arrive(CComPtr<IAudioSessionControl2> pControl, const SSessionIdentity& identity);
    size_t ApplicationOf(const SSessionIdentity& identity) { return m_groups.ApplicationOf(identity); }
    // Everything taken in so far, in order.
    std::vector<SSessionEvent> Take();

private:
    const SessionNotify m_notify;
    const std::function<void()> m_endpointFailed;
    CApplicationGroups m_groups;
    std::vector<SSessionEvent> m_events;
};

// The session's identity, asked of the session (any thread).
SSessionIdentity IdentityOf(IAudioSessionControl2* pControl);

class CSessionCreatedClient final : public CComObject<IAudioSessionNotification> {
public:
    CSessionCreatedClient(HWND hWndHandover, std::weak_ptr<CSessionInbox> pInbox)
        : m_hWndHandover(hWndHandover), m_pInbox(std::move(pInbox))
    {
    }

    HRESULT STDMETHODCALLTYPE OnSessionCreated(IAudioSessionControl* pNewSession) override;

private:
    const HWND m_hWndHandover;
    const std::weak_ptr<CSessionInbox> m_pInbox;
};

class CSessionEventsClient final : public CComObject<IAudioSessionEvents> {
public:
    // bMuted: the session's mute state now, so that the first change can tell which control it
    // concerns.
    CSessionEventsClient(HWND hWndHandover, std::weak_ptr<CSessionInbox> pInbox, size_t nSession,
                         size_t nApplication, BOOL bMuted);

    HRESULT STDMETHODCALLTYPE OnDisplayNameChanged(LPCWSTR pwszNewDisplayName,
                                                   LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE OnIconPathChanged(LPCWSTR, LPCGUID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSimpleVolumeChanged(float, BOOL bNewMute, LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE OnChannelVolumeChanged(DWORD, float[], DWORD, LPCGUID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnGroupingParamChanged(LPCGUID pNewGroupingParam,
                                                     LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE OnStateChanged(AudioSessionState newState) override;
    HRESULT STDMETHODCALLTYPE OnSessionDisconnected(AudioSessionDisconnectReason reason) override;

private:
    void Hand(SSessionEvent::Kind kind, LPCGUID pguidEventContext = nullptr, SSessionEvent event = {}) const;

    const HWND m_hWndHandover;
    const std::weak_ptr<CSessionInbox> m_pInbox;
    const size_t m_nSession;
    const size_t m_nApplication;
    std::atomic<BOOL> m_bMuted;
};
