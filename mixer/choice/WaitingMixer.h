// CWaitingMixer answers the mixer functions while the process waits for Core Audio: as a machine
// without mixer devices. It remembers the windows that asked for a card (mixerOpen with
// CALLBACK_WINDOW), so that they can be told once there may be one.
#pragma once

#include "mixer/frontend/MixerBackend.h"

#include <set>

class CWaitingMixer final : public CMixerBackend {
public:
    UINT GetNumDevs() override { return 0; }
    MMRESULT GetDevCaps(UINT_PTR, LPMIXERCAPSA, UINT) override { return MMSYSERR_BADDEVICEID; }
    MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                  DWORD fdwOpen) override;
    MMRESULT Close(HMIXER) override { return MMSYSERR_INVALHANDLE; }
    MMRESULT GetID(HMIXEROBJ, UINT*, DWORD fdwId) override { return NoObject(fdwId); }
    MMRESULT GetLineInfo(HMIXEROBJ, LPMIXERLINEA, DWORD fdwInfo) override { return NoObject(fdwInfo); }
    MMRESULT GetLineControls(HMIXEROBJ, LPMIXERLINECONTROLSA, DWORD fdwControls) override
    {
        return NoObject(fdwControls);
    }
    MMRESULT GetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD fdwDetails) override
    {
        return NoObject(fdwDetails);
    }
    MMRESULT SetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD fdwDetails) override
    {
        return NoObject(fdwDetails);
    }
    MMRESULT GetDevCaps(UINT_PTR, LPMIXERCAPSW, UINT) override { return MMSYSERR_BADDEVICEID; }
    MMRESULT GetLineInfo(HMIXEROBJ, LPMIXERLINEW, DWORD fdwInfo) override { return NoObject(fdwInfo); }
    MMRESULT GetLineControls(HMIXEROBJ, LPMIXERLINECONTROLSW, DWORD fdwControls) override
    {
        return NoObject(fdwControls);
    }
    MMRESULT GetControlDetailsW(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD fdwDetails) override
    {
        return NoObject(fdwDetails);
    }

    // Tells the windows that asked that the cards changed (PostCardsChanged), on which the bars
    // restart.
    void TellWindows() const;

private:
    // There is no handle and no device: the code depends on which the caller named.
    static MMRESULT NoObject(DWORD fdwFlags);

    std::set<HWND> m_windows;
};
