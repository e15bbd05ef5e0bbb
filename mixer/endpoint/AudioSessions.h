// CAudioSessions keeps the audio sessions of one render endpoint (what Windows' Volume Mixer
// shows per program), grouped into applications (ApplicationGroups.h), for the endpoint mixer's
// card: each application has a name (SessionNaming.h), a state, and the volume and mute of its
// sessions. A write sets every live session of the application; a read answers the one seen
// first. Applications keep their number while the object lives, also once all their sessions
// have expired; a program that plays again under the same identity takes its number back.
//
// Windows' rules, which the order of the constructor follows: session notifications reach a
// process only while it has a multithreaded apartment (kept by a thread of its own, as the user
// interface thread is single-threaded); the notification is registered first, then the
// enumerator is made, then GetCount is called, before which Windows drops every notification of
// a new session. A session reported both ways is one. A session manager whose enumerator cannot
// be had (Wine answers E_NOTIMPL) gives no applications.
//
// Everything but the callbacks (SessionCallbacks.h) runs on the mixer's thread: the events they
// post there are taken in by Update, which also registers each new session's events and lets go
// of the sessions that ended.
#pragma once

#include "fw/ComPtr.h"
#include "mixer/endpoint/SessionCallbacks.h"

class CChangeHandover;

#include <windows.h>
#include <audiopolicy.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SApplicationLine {
    std::wstring strName;
    // ApplicationIdentity of the session identifier of the application's first session.
    DWORD dwIdentity = 0;
    // MIXERLINE_LINEF_ACTIVE while a session plays, 0 while none plays,
    // MIXERLINE_LINEF_DISCONNECTED once all have expired.
    DWORD fdwLine = 0;
};

// A program's identity (mixer/frontend/ApplicationLine.h) from a session identifier, which
// names the program file and the endpoint and stays the same across restarts: its 32-bit
// FNV-1a hash, never 0.
DWORD ApplicationIdentity(const std::wstring& strSessionIdentifier);

class CAudioSessions {
public:
    // The handover keeps the callbacks that the sessions let go of.
    CAudioSessions(CComPtr<IAudioSessionManager2> pManager, const GUID& guidOwnWrites, SessionNotify notify,
                   std::function<void()> cardsChanged, std::weak_ptr<CChangeHandover> pHandover);
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
        std::wstring strInstance;
        CComPtr<IAudioSessionControl2> pControl;
        CComPtr<ISimpleAudioVolume> pVolume;
        CComPtr<IAudioSessionEvents> pEvents;
        AudioSessionState state = AudioSessionStateInactive;
        DWORD dwProcessId = 0;
        bool bSystemSounds = false;
        std::wstring strName;
    };

    void Start();
    void Adopt(SSessionEvent& event);
    void End(size_t nNumber);
    SSession* Find(size_t nNumber);
    // The session a read answers: the application's first that has not expired.
    const SSession* First(size_t nApplication) const;
    bool Describe();
    // Unregistered, a callback goes to the handover, which keeps it.
    void Keep(CComPtr<IUnknown> pCallback) const;
    // Writes to every session of the application: S_OK when one took it, else the first failure.
    HRESULT WriteAll(size_t nApplication, const std::function<HRESULT(ISimpleAudioVolume&)>& write);

    const CComPtr<IAudioSessionManager2> m_pManager;
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
