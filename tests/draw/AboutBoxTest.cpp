#include "draw/AboutBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// What the timer does once the box is up.
enum class Close { OkButton, EnterKey, CloseBox };

struct Observation {
    Close how = Close::OkButton;
    bool bFound = false;
    RECT window{};
    int nTicks = 0;
};
Observation g_observation;

HWND FindAboutBox()
{
    return ::FindWindowA("#32770", "About Sonobar");
}

// Runs inside the box's modal loop: measures the box and closes it the way under test.
void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    Observation& o = g_observation;
    const HWND hBox = FindAboutBox();
    if (!hBox || !::IsWindowVisible(hBox)) {
        // Should the box never appear, do not wait forever.
        if (++o.nTicks > 100)
            ::PostQuitMessage(1);
        return;
    }
    if (o.bFound)
        return;
    o.bFound = true;
    ::GetWindowRect(hBox, &o.window);
    switch (o.how) {
    case Close::OkButton:
        ::PostMessageA(::GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
        break;
    case Close::EnterKey:
        // Through the modal loop's keyboard handling, as a key press arrives.
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        break;
    case Close::CloseBox:
        ::PostMessageA(hBox, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

} // namespace

TEST(AboutBoxTest, OpensNearTheScreenCentreAndCloses)
{
    struct Case {
        const char* what;
        Close how;
        INT_PTR nResult;
    };
    const Case cases[] = {
        {"OK button", Close::OkButton, IDOK},
        {"Enter key", Close::EnterKey, IDOK},
        {"close box", Close::CloseBox, IDCANCEL},
    };
    for (const Case& c : cases) {
        g_observation = Observation{};
        g_observation.how = c.how;
        const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, &OnTimer);
        CAboutBox box;
        const INT_PTR nResult = box.DoModal();
        ::KillTimer(nullptr, nTimer);

        ASSERT_TRUE(g_observation.bFound) << c.what;
        EXPECT_EQ(nResult, c.nResult) << c.what;
        // Whole on the screen, its middle no further from the screen's middle than its own
        // caption and frame are thick.
        const RECT& rc = g_observation.window;
        const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
        EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= cxScreen && rc.bottom <= cyScreen) << c.what;
        const int nSlack = ::GetSystemMetrics(SM_CYCAPTION) + 2 * ::GetSystemMetrics(SM_CYFIXEDFRAME);
        EXPECT_LE(std::abs((rc.left + rc.right) / 2 - cxScreen / 2), nSlack) << c.what;
        EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - cyScreen / 2), nSlack) << c.what;
        EXPECT_EQ(FindAboutBox(), nullptr) << c.what << ": the box is still there";
    }
}
