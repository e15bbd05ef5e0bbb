// The endpoint mixer under the front end, over fake Core Audio, on a single-threaded apartment
// as the bar's thread is: the fixture of the endpoint tests. The mixer is made at the first call.
#pragma once

#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/EndpointMixer.h"
#include "mixer/endpoint/FakeCoreAudio.h"
#include "mixer/frontend/MixerFrontEnd.h"

#include <functional>
#include <memory>
#include <thread>
#include <vector>

class EndpointFixture : public ::testing::Test {
protected:
    CMixerFrontEnd& Mixer()
    {
        if (!m_pMixer)
            m_pMixer =
                std::make_unique<CMixerFrontEnd>(std::make_unique<CEndpointMixer>(m_audio.Enumerator()));
        return *m_pMixer;
    }

    HMIXER Open(UINT nCard, const CNotifyWindow& window)
    {
        HMIXER hMixer = nullptr;
        EXPECT_EQ(Mixer().Open(&hMixer, nCard, reinterpret_cast<DWORD_PTR>(window.Get()), 0, CALLBACK_WINDOW),
                  MMSYSERR_NOERROR);
        return hMixer;
    }

    MMRESULT Transfer(HMIXEROBJ hObject, DWORD fdwObject, DWORD dwControlID, std::vector<DWORD>& values,
                      bool bWrite)
    {
        MIXERCONTROLDETAILS mxcd{};
        mxcd.cbStruct = sizeof mxcd;
        mxcd.dwControlID = dwControlID;
        mxcd.cChannels = static_cast<DWORD>(values.size());
        mxcd.cbDetails = sizeof(DWORD);
        mxcd.paDetails = values.data();
        return bWrite ? Mixer().SetControlDetails(hObject, &mxcd, fdwObject | MIXER_SETCONTROLDETAILSF_VALUE)
                      : Mixer().GetControlDetails(hObject, &mxcd, fdwObject | MIXER_GETCONTROLDETAILSF_VALUE);
    }

    const CComApartment m_apartment;
    CFakeCoreAudio m_audio;
    std::unique_ptr<CMixerFrontEnd> m_pMixer;
};

// Runs a change on a thread of its own, as Core Audio delivers changes made elsewhere.
inline void OnOtherThread(const std::function<void()>& change)
{
    std::thread(change).join();
}

// The messages from uFirst to uLast waiting for a window, taken off its queue once what the mixer
// handed over has run.
inline std::vector<MSG> TakeMessages(HWND hWnd, UINT uFirst, UINT uLast)
{
    RunHandedOver();
    std::vector<MSG> messages;
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, uFirst, uLast, PM_REMOVE))
        messages.push_back(msg);
    return messages;
}
