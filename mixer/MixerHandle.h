// CMixerHandle owns one open WINMM mixer handle and closes it with mixerClose when it goes out
// of scope or is replaced: open into a local HMIXER and hand it over with Reset on success.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class CMixerHandle {
public:
    CMixerHandle() = default;
    ~CMixerHandle() { Close(); }
    CMixerHandle(const CMixerHandle&) = delete;
    CMixerHandle& operator=(const CMixerHandle&) = delete;

    HMIXER Get() const { return m_hMixer; }
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(m_hMixer); }
    explicit operator bool() const { return m_hMixer != nullptr; }

    // mixerClose failures are ignored: there is nothing left to do with a handle that will not
    // close.
    void Close()
    {
        if (m_hMixer != nullptr)
            mixerClose(m_hMixer);
        m_hMixer = nullptr;
    }

    void Reset(HMIXER hMixer)
    {
        Close();
        m_hMixer = hMixer;
    }

private:
    HMIXER m_hMixer = nullptr;
};
