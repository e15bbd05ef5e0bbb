// Shared by the mixer tests: a message-only window that collects mixer notifications, and a
// fixture that starts every test on an empty simulated mixer.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Runs what a mixer has handed over to this thread (messages in the WM_APP range that it posts to
// windows of its own, as the endpoint mixer does from Core Audio's threads), as the program's
// message loop would.
inline void RunHandedOver()
{
    // What was posted before this call: a thread that goes on notifying meanwhile must not keep
    // it running for ever.
    constexpr UINT kEnd = 0xBFFF;
    PostThreadMessageA(GetCurrentThreadId(), kEnd, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_APP, kEnd, PM_REMOVE) && msg.message != kEnd)
        DispatchMessageA(&msg);
}

// A hidden message-only window; MM_MIXM_CONTROL_CHANGE posted to it waits in the queue until
// TakeNotifications removes it, once what was handed over has run.
class CNotifyWindow {
public:
    CNotifyWindow()
        : m_hWnd(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~CNotifyWindow() { DestroyWindow(m_hWnd); }
    CNotifyWindow(const CNotifyWindow&) = delete;
    CNotifyWindow& operator=(const CNotifyWindow&) = delete;

    HWND Get() const { return m_hWnd; }

    std::vector<MSG> TakeNotifications() const
    {
        RunHandedOver();
        std::vector<MSG> messages;
        MSG msg;
        while (PeekMessageA(&msg, m_hWnd, MM_MIXM_CONTROL_CHANGE, MM_MIXM_CONTROL_CHANGE, PM_REMOVE))
            messages.push_back(msg);
        return messages;
    }

private:
    HWND m_hWnd;
};

// The simulator is reset before each test; cards come from topology text.
class SimMixerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void LoadCards(const std::string& strText);
};
