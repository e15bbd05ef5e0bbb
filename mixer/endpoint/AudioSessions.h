// CAudioSessions keeps the audio sessions of one render endpoint (what Windows' Volume Mixer
// shows per program), grouped into applications (ApplicationGroups.h), for the endpoint mixer's
// card: each application has a name (SessionNaming.h), a state, and the volume and mute of its
// sessions. A write sets every live session of the application; a read answers the one seen
// first. Applications keep their number while the object lives, also once all their sessions
// have expired; a program that plays again under the same identity takes its number back.
//
// Windows' rules, which the order of Start follows: new sessions are reported only to a
// registration made in the multithreaded apartment (MultithreadedApartment.h; the user interface
// thread is single-threaded), so the session manager is made, registered with, listed and let go
// of there, as are the sessions' own registrations; the notification is registered first, then
// the enumerator is made, then GetCount is called, before which Windows drops every notification
// of a new session. A session reported both ways is one. A session manager whose enumerator
// cannot be had (Wine answers E_NOTIMPL) gives no applications.
//
// The callbacks (SessionCallbacks.h) hand their events to the mixer's thread, where they are
// taken in by Update, which also registers each new session's events and lets go of the sessions
// that ended. An expired session is still heard, as a program may play in it again without a
// new session being reported; of an application's expired sessions only the last is kept.
// A session is named as it arrives, while its process runs, and keeps the process's names.
#pragma once

#include "fw/ComPtr.h"
#include "mixer/endpoint/SessionCallbacks.h"
#include "mixer/frontend/CardModel.h"

#include <windows.h>
#include <audiopolicy.h>
#include <mmdeviceapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SApplicationLine {
    std::wstring strName;
    // ApplicationIdentity of the session identifier of the application's first session.
    DWORD dwIdentity = 0;
    // Active while a session plays, silent while none plays, gone once all have expired.
    LineState state = LineState::Silent;

    bool operator==(const SApplicationLine&) const = default;
};

// A program's identity (mixer/frontend/ApplicationLine.h) from a session identifier, which
// names the program file and the endpoint and stays the same across restarts: its 32-bit
// FNV-1a hash, never 0.
DWORD ApplicationIdentity(const std::wstring& strSessionIdentifier);

class CChangeHandover;
class CMultithreadedApartment;

class CAudioSessions {
public:
    // The sessions of pDevice, a render endpoint. endpointFailed: a session lost its endpoint or
    // the audio service. The handover keeps the callbacks that the sessions let go of a while.
    CAudioSessions(CComPtr<IMMDevice> pDevice, std::shared_ptr<CMultithreadedApartment> pApartment,
                   const GUID& guidOwnWrites, SessionNotify notify, std::function<void()> endpointFailed,
                   const std::shared_ptr<CChangeHandover>& pHandover);
    // Unregisters every callback; Windows may still be in one, so the handover keeps them
    // (ChangeHandover.h).
    ~CAudioSessions();
    CAudioSessions(const CAudioSessions&) = delete;
    CAudioSessions& operator=(const CAudioSessions&) = delete;

    // Takes in what the callbacks handed over; true when an application came, went, was
    // renamed or started or stopped playing.
    bool Update();
    const std::vector<SApplicationLine>& Applications() const { return m_applications; }

    HRESULT GetVolume(size_t nApplication, float& fLevel) const;
    HRESULT GetMute(size_t nApplication, BOOL& bMuted) const;
    HRESULT SetVolume(size_t nApplication, float fLevel);
    HRESULT SetMute(size_t nApplication, BOOL bMuted);

private:
    struct SSession {
        size_t nNumber = 0;
        size_t nApplication = 0;
        SSessionIdentity identity;
        CComPtr<IAudioSessionControl2> pControl;
        CComPtr<ISimpleAudioVolume> pVolume;
        CComPtr<IAudioSessionEvents> pEvents;
        AudioSessionState state = AudioSessionStateInactive;
        SSessionNameFacts facts;
    };

    void Start(CComPtr<IMMDevice> pDevice);
    void Adopt(SSessionEvent& event);
    void End(size_t nNumber);
    void ChangeState(SSession& session, AudioSessionState state);
    // The session moves to the application of its new grouping parameter.
    void Regroup(const SSession& session, const GUID& grouping);
    SSession* Find(size_t nNumber);
    // The session a read answers: the application's first that has not expired.
    const SSession* First(size_t nApplication) const;
    bool Describe();
    // Unregistered, a callback goes to the handover, which keeps it.
    void Keep(CComPtr<IUnknown> pCallback) const;
    // Writes to every session of the application: S_OK when one took it, else the first failure.
    HRESULT WriteAll(size_t nApplication, const std::function<HRESULT(ISimpleAudioVolume&)>& write);

    const std::shared_ptr<CMultithreadedApartment> m_pApartment;
    CComPtr<IAudioSessionManager2> m_pManager;
    const GUID m_guidOwnWrites;
    const std::shared_ptr<CSessionInbox> m_pInbox;
    const std::weak_ptr<CChangeHandover> m_pHandover;
    // Where the callbacks post (ChangeHandover.h).
    const HWND m_hWndHandover;
    CComPtr<IAudioSessionNotification> m_pCreatedClient;
    bool m_bRegistered = false;
    size_t m_nNextNumber = 0;
    // In the order seen.
    std::vector<SSession> m_sessions;
    std::vector<SApplicationLine> m_applications;
};
