// A change of the sound hardware that arrives inside a modal loop that the bar runs (its
// no-driver message, the about box, the popup menu, a move): the bar stands until the handler
// that ran the loop has returned, and then it ends and starts the fresh set as after any other
// change. It ends the loop itself, but for Wine's move, which only the user ends.
#include "BarTestSupport.h"

#include "app/StartupValues.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"

#include <dbt.h>

namespace {

// A loop of this thread is up: a menu, a move, or a dialog that the bar owns.
bool ModalLoopIsUp(HWND hBar)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetCurrentThreadId(), &info);
    if (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE))
        return true;
    HWND hDialog = nullptr;
    while ((hDialog = ::FindWindowExA(nullptr, hDialog, "#32770", nullptr)) != nullptr) {
        if (::GetWindow(hDialog, GW_OWNER) == hBar && ::IsWindowVisible(hDialog))
            return true;
    }
    return false;
}

// What a timer saw inside the loop. A timer's procedure has no context: one test at a time.
struct SInsideLoop {
    const char* pszArrivingCards = nullptr;
    bool bUserEndsTheLoop = false;
    bool bChangeSent = false;
    bool bBarStoodAfterTheChange = false;
    int nTicksAfterTheChange = 0;
    bool bTestEndedTheLoop = false;
};
SInsideLoop g_inside;

void CALLBACK ChangeInsideTheLoop(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND hBar = g_hBarWnd;
    if (!g_inside.bChangeSent) {
        if (!hBar || !ModalLoopIsUp(hBar))
            return;
        if (g_inside.pszArrivingCards)
            sim::LoadCardsText(g_inside.pszArrivingCards);
        ::SendMessageA(hBar, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        g_inside.bChangeSent = true;
        g_inside.bBarStoodAfterTheChange = ::IsWindow(hBar) != FALSE;
        return;
    }
    // Enter ends a keyboard move.
    if (g_inside.bUserEndsTheLoop && ++g_inside.nTicksAfterTheChange == 1) {
        ::PostMessageA(hBar, WM_KEYDOWN, VK_RETURN, 0);
        return;
    }
    // The bar ends once the loop is over. One still there after a second would hang the test: the
    // test ends every loop itself, and says so.
    if (++g_inside.nTicksAfterTheChange == 20 && ::IsWindow(hBar)) {
        g_inside.bTestEndedTheLoop = true;
        ::EndMenu();
        ::PostMessageA(hBar, WM_KEYDOWN, VK_ESCAPE, 0);
        HWND hDialog = nullptr;
        while ((hDialog = ::FindWindowExA(nullptr, hDialog, "#32770", nullptr)) != nullptr) {
            if (::GetWindow(hDialog, GW_OWNER) == hBar)
                ::PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

using BarModalLoopTest = BarTest;

TEST_F(BarModalLoopTest, AChangeInsideALoopEndsTheLoopAndThenTheBar)
{
    const std::string strTwoCards = std::string(kSampleCard) + kSpeakersOnlyCard;
    const struct {
        const char* pszLoop;
        std::string strCards;         // at the start
        const char* pszArrivingCards; // with the change
        bool bUserEndsTheLoop;
        void (*pfnEnter)(HWND hBar); // runs the loop; none: the start runs it
    } cases[] = {
        {"no-driver message", "", strTwoCards.c_str(), false, nullptr},
        {"about box", strTwoCards, nullptr, false,
         [](HWND hBar) { ::SendMessageA(hBar, WM_COMMAND, MAKEWPARAM(ID_ABOUT, 0), 0); }},
        {"popup menu", strTwoCards, nullptr, false,
         [](HWND hBar) {
             RECT rc{};
             ::GetWindowRect(hBar, &rc);
             ::SendMessageA(hBar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hBar),
                            MAKELPARAM(rc.left, rc.top));
         }},
        {"move", strTwoCards, nullptr, true,
         [](HWND hBar) { ::SendMessageA(hBar, WM_SYSCOMMAND, SC_MOVE, 0); }},
    };
    for (const auto& c : cases) {
        UseCards(c.strCards);
        m_vecStarted.clear();
        g_inside = SInsideLoop{c.pszArrivingCards, c.bUserEndsTheLoop};
        const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, &ChangeInsideTheLoop);
        // Each bar a copy of its own: a copy that starts after a change has not missed it.
        CRunningCopies copies(RecordStarts());
        CBarDlg bar(copies);
        EXPECT_TRUE(bar.Create(IDD_BAR)) << c.pszLoop;
        Pump();
        // As in the program, the bar is the main window: the about box is its own.
        m_app.m_pMainWnd = &bar;
        if (c.pfnEnter && bar.m_hWnd)
            c.pfnEnter(bar.m_hWnd);
        Pump();
        ::KillTimer(nullptr, nTimer);
        m_app.m_pMainWnd = nullptr;

        EXPECT_TRUE(g_inside.bChangeSent) << c.pszLoop;
        EXPECT_TRUE(g_inside.bBarStoodAfterTheChange) << c.pszLoop;
        EXPECT_FALSE(g_inside.bTestEndedTheLoop) << c.pszLoop;
        EXPECT_EQ(nullptr, bar.m_hWnd) << c.pszLoop;
        EXPECT_EQ((std::vector<std::string>{"v0", "v1"}), m_vecStarted) << c.pszLoop;
    }
}

} // namespace
