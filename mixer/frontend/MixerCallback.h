// CMixerCallback is whoever opened a mixer handle, told of changes the way mixerOpen was asked:
//   CALLBACK_WINDOW  MM_MIXM_CONTROL_CHANGE / MM_MIXM_LINE_CHANGE posted to the window
//   CALLBACK_THREAD  the same messages posted to the thread
//   CALLBACK_EVENT   the event set
//   CALLBACK_NULL    nobody
// Every way only posts or sets, so it may be used from any thread and under a lock.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class CMixerCallback {
public:
    CMixerCallback() = default;
    // dwType is one of the four above, dwTarget the window, thread id or event handle.
    CMixerCallback(DWORD dwType, DWORD_PTR dwTarget) : m_dwType(dwType), m_dwTarget(dwTarget) {}

    // The types mixerOpen takes. Windows 2000 and later take threads and events as well as
    // windows; a callback function they refuse with MMSYSERR_INVALFLAG.
    static bool IsMixerType(DWORD dwType)
    {
        return dwType == CALLBACK_NULL || dwType == CALLBACK_WINDOW || dwType == CALLBACK_THREAD ||
               dwType == CALLBACK_EVENT;
    }

    // uMsg with the handle as wParam and dwParam (a control or line id) as lParam.
    void Notify(HMIXER hMixer, UINT uMsg, DWORD dwParam) const;
    // The window, when the callback is one.
    HWND Window() const { return m_dwType == CALLBACK_WINDOW ? reinterpret_cast<HWND>(m_dwTarget) : nullptr; }

private:
    DWORD m_dwType = CALLBACK_NULL;
    DWORD_PTR m_dwTarget = 0;
};

// The lParam of the WM_DEVICECHANGE (DBT_DEVNODES_CHANGED) with which a mixer tells a window of
// a change of its own cards; Windows' broadcast of that code carries 0.
constexpr LPARAM kMixerCardsChanged = 0x536E6243;

// Tells hWnd, if it is still a window, that the mixer's cards changed: WM_DEVICECHANGE with
// DBT_DEVNODES_CHANGED, what any WINMM caller takes for a change of the devices, marked with
// kMixerCardsChanged.
void PostCardsChanged(HWND hWnd);
