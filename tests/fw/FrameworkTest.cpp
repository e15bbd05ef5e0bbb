// The dialog framework's routing: message maps, commands with their state steps, reflection of
// WM_DRAWITEM, the message loop and the message filter.
#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/WinApp.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_TEST_VALUES = WM_APP + 1;
constexpr UINT WM_TEST_CLOSE = WM_APP + 2;
constexpr UINT ID_TEST_COMMAND = 40001;
constexpr UINT ID_TEST_DISABLED = 40002;
constexpr UINT ID_TEST_RANGE_FIRST = 40010;
constexpr UINT ID_TEST_RANGE_LAST = 40019;

class CRecordingButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT pItem) override { m_nDrawnState = static_cast<int>(pItem->itemState); }
    int m_nDrawnState = -1;
};

// A dialog on the about box's template, whose OK button is bound to a recording button. Its
// handlers write down what they were given.
class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_ABOUTBOX) {}

    std::vector<std::string> m_events;
    CRecordingButton m_btnOK;

protected:
    const CMessageMapBase* GetMessageMap() const override
    {
        static const CMessageMap<CTestDialog> map{{
            OnMessage(WM_TEST_VALUES, &CTestDialog::OnValues),
            OnMessage(WM_TEST_CLOSE, &CTestDialog::OnTestClose),
            OnPointMessage(WM_CONTEXTMENU, &CTestDialog::OnPoint),
            OnScrollMessage(WM_HSCROLL, &CTestDialog::OnScroll),
            OnSysCommandMessage(&CTestDialog::OnSysCommand),
            OnDpiMessage(&CTestDialog::OnDpi),
            OnStateStep(ID_TEST_COMMAND, &CTestDialog::OnStateStepCommand),
            OnCommandRange(ID_TEST_COMMAND, ID_TEST_COMMAND, &CTestDialog::OnTestCommand),
            OnStateStep(ID_TEST_DISABLED, &CTestDialog::OnStateStepDisabled),
            OnCommandRange(ID_TEST_DISABLED, ID_TEST_DISABLED, &CTestDialog::OnTestCommand),
            OnCommandRange(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CTestDialog::OnTestCommand),
            OnCommand(IDOK, &CTestDialog::OnOkButton),
        }};
        return &map;
    }
    void DoDataExchange() override { BindControl(IDOK, m_btnOK); }

private:
    // The event's name and the numbers it was given.
    template <class... V>
    LRESULT Note(const char* pszEvent, V... values)
    {
        std::string strEvent = pszEvent;
        ((strEvent += " " + std::to_string(values)), ...);
        m_events.push_back(strEvent);
        return 0;
    }
    LRESULT OnValues(BOOL bFlag, int nValue) { return Note("values", bFlag, nValue) + nValue; }
    LRESULT OnTestClose() { return DestroyWindow(); }
    LRESULT OnPoint(HWND hWnd, POINT pt)
    {
        return Note(hWnd == m_btnOK.m_hWnd ? "point OK" : "point", pt.x, pt.y);
    }
    LRESULT OnScroll(UINT nCode, int nPos) { return Note("scroll", nCode, nPos); }
    LRESULT OnSysCommand(UINT nID, LPARAM lParam) { return Note("system", nID, lParam); }
    LRESULT OnDpi(UINT nDpi, const RECT& rc) { return Note("dpi", nDpi, rc.bottom); }
    void OnStateStepCommand(CCmdUI& state) { Note("step", state.m_nID); }
    void OnStateStepDisabled(CCmdUI& state) { state.Enable(FALSE); }
    void OnTestCommand(UINT nID) { Note("command", nID); }
    // A command handler with a result, which the map drops.
    LRESULT OnOkButton() { return Note("OK"); }
};

class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        if (!m_dialog.Create(IDD_ABOUTBOX))
            return FALSE;
        m_pMainWnd = &m_dialog;
        const HWND hOK = ::GetDlgItem(m_dialog.m_hWnd, IDOK);
        ::SetFocus(hOK);
        ::PostMessageA(hOK, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageA(m_dialog.m_hWnd, WM_TEST_CLOSE, 0, 0);
        return TRUE;
    }
    BOOL ProcessMessageFilter(int nCode, LPMSG pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_filtered.push_back({nCode, static_cast<UINT>(pMsg->wParam)});
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE;
    }

    CTestDialog m_dialog;
    std::vector<std::pair<int, UINT>> m_filtered;
};

TEST(MessageMapTest, EntriesDecodeWhatTheirMessagesCarry)
{
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
    const HWND hWnd = dialog.m_hWnd;
    const HWND hOK = ::GetDlgItem(hWnd, IDOK);
    const RECT rcSuggested{10, 20, 30, 40};
    const struct {
        UINT nMessage;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT lResult;
        std::vector<std::string> vecEvents;
    } cases[] = {
        {WM_TEST_VALUES, TRUE, -9, -9, {"values 1 -9"}},
        // Keyboard's (-1, -1), and a monitor left of the main one.
        {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hOK), MAKELPARAM(-1, -1), 0, {"point OK -1 -1"}},
        {WM_CONTEXTMENU, 0, MAKELPARAM(-1280, 300), 0, {"point -1280 300"}},
        {WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40), 0, 0, {"scroll 5 40"}},
        {WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), 0, 0, {"scroll 8 0"}},
        // A caption's drag: the platform's flags in the low bits are not part of the command.
        {WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0, 0, {"system 61456 0"}},
        {WM_SYSCOMMAND, SC_KEYMENU, ' ', 0, {"system 61696 32"}},
        // An entry the window added to its window menu is the command, chosen from the platform's
        // window menu as from a popup: its state step first, and nothing when the step disables it.
        {WM_SYSCOMMAND, ID_TEST_COMMAND, 0, 0, {"step 40001", "command 40001"}},
        {WM_SYSCOMMAND, ID_TEST_DISABLED, 0, 0, {}},
        {WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&rcSuggested), 0, {"dpi 144 40"}},
    };
    for (const auto& c : cases) {
        dialog.m_events.clear();
        EXPECT_EQ(c.lResult, ::SendMessageA(hWnd, c.nMessage, c.wParam, c.lParam)) << c.nMessage;
        EXPECT_EQ(c.vecEvents, dialog.m_events) << c.nMessage << " " << c.wParam;
    }
    dialog.DestroyWindow();
}

TEST(MessageMapTest, RoutesCommandsAndStateSteps)
{
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
    const HWND hWnd = dialog.m_hWnd;

    // A menu choice and an accelerator run the state step first; a disabled command does not run.
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_COMMAND, 0), 0);
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_COMMAND, 1), 0);
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_DISABLED, 0), 0);
    // A range entry covers its ends; a button click never runs a state step.
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_RANGE_LAST, 0), 0);
    const HWND hOK = ::GetDlgItem(hWnd, IDOK);
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(hOK));
    // Other notifications of a control are not commands.
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_COMMAND, BN_SETFOCUS), reinterpret_cast<LPARAM>(hOK));
    // A platform entry of the window menu without a command goes to the platform, posted (0xF170
    // is SC_MONITORPOWER).
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(0xF170, 0), 0);
    MSG msg{};
    while (::PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);

    const std::vector<std::string> expected{
        "step 40001", "command 40001", "step 40001", "command 40001", "command 40019", "OK", "system 61808 0",
    };
    EXPECT_EQ(expected, dialog.m_events);
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(MessageMapTest, DrawItemReachesTheBoundControl)
{
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
    ASSERT_EQ(::GetDlgItem(dialog.m_hWnd, IDOK), dialog.m_btnOK.m_hWnd);

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDOK;
    item.itemState = ODS_SELECTED | ODS_FOCUS;
    item.hwndItem = dialog.m_btnOK.m_hWnd;
    EXPECT_EQ(TRUE, ::SendMessageA(dialog.m_hWnd, WM_DRAWITEM, IDOK, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(static_cast<int>(ODS_SELECTED | ODS_FOCUS), dialog.m_btnOK.m_nDrawnState);
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, dialog.m_btnOK.m_hWnd);
}

TEST(MessageLoopTest, EndsWithTheMainWindowAndFiltersDialogKeys)
{
    CTestApp app;
    const int nExitCode = app.Main();

    EXPECT_EQ(0, nExitCode);
    EXPECT_EQ(nullptr, app.m_dialog.m_hWnd);
    // The Escape key passed through the dialog's keyboard processing into the filter, which
    // consumed it: the dialog's own cancel never ran (it would have ended the dialog early,
    // but the close message still found the window).
    ASSERT_EQ(1u, app.m_filtered.size());
    EXPECT_EQ(MSGF_DIALOGBOX, app.m_filtered[0].first);
    EXPECT_EQ(static_cast<UINT>(VK_ESCAPE), app.m_filtered[0].second);
}

} // namespace
