// The dialog framework's routing: message maps, commands with their state steps, reflection of
// WM_DRAWITEM, the message loop and the message filter.
#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/WinApp.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_TEST_PING = WM_APP + 1;
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

// A dialog on the about box's template, whose OK button is bound to a recording button.
class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_ABOUTBOX) {}

    std::vector<std::string> m_events;
    CRecordingButton m_btnOK;

protected:
    const CMessageMapBase* GetMessageMap() const override
    {
        static const CMessageMap<CTestDialog> map{{
            OnMessage(WM_TEST_PING, &CTestDialog::OnPing),
            OnMessage(WM_TEST_CLOSE, &CTestDialog::OnTestClose),
            OnStateStep(ID_TEST_COMMAND, &CTestDialog::OnStateStepCommand),
            OnCommand(ID_TEST_COMMAND, &CTestDialog::OnTestCommand),
            OnStateStep(ID_TEST_DISABLED, &CTestDialog::OnStateStepDisabled),
            OnCommand(ID_TEST_DISABLED, &CTestDialog::OnTestCommand),
            OnCommandRange(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CTestDialog::OnTestCommand),
            OnCommand(IDOK, &CTestDialog::OnTestCommand),
        }};
        return &map;
    }
    void DoDataExchange() override { BindControl(IDOK, m_btnOK); }

private:
    LRESULT OnPing(WPARAM wParam, LPARAM lParam)
    {
        m_events.push_back("ping " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 1234;
    }
    LRESULT OnTestClose(WPARAM, LPARAM)
    {
        DestroyWindow();
        return 0;
    }
    void OnStateStepCommand(CCmdUI& state) { m_events.push_back("step " + std::to_string(state.m_nID)); }
    void OnStateStepDisabled(CCmdUI& state) { state.Enable(FALSE); }
    void OnTestCommand(UINT nID) { m_events.push_back("command " + std::to_string(nID)); }
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

TEST(MessageMapTest, RoutesMessagesCommandsAndStateSteps)
{
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
    const HWND hWnd = dialog.m_hWnd;

    EXPECT_EQ(1234, ::SendMessageA(hWnd, WM_TEST_PING, 7, 9));

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

    const std::vector<std::string> expected{
        "ping 7 9",      "step 40001",    "command 40001", "step 40001",
        "command 40001", "command 40019", "command 1",
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
