#include "draw/AboutBox.h"

#include <gtest/gtest.h>

namespace {

// What the timer does once the box is up.
enum class Close { OkButton, EnterKey, CloseBox };

struct Observation {
    Close how = Close::OkButton;
    bool bFound = false;
    POINT topLeft{};
    POINT expected{};
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
    RECT window{}, client{};
    ::GetWindowRect(hBox, &window);
    ::GetClientRect(hBox, &client);
    o.topLeft = POINT{window.left, window.top};
    o.expected = POINT{(::GetSystemMetrics(SM_CXSCREEN) - client.right) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 2};
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

TEST(AboutBoxTest, OpensCentredByItsClientSizeAndCloses)
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
        EXPECT_EQ(g_observation.topLeft.x, g_observation.expected.x) << c.what;
        EXPECT_EQ(g_observation.topLeft.y, g_observation.expected.y) << c.what;
        EXPECT_EQ(FindAboutBox(), nullptr) << c.what << ": the box is still there";
    }
}
