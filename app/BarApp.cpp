#include "app/BarApp.h"

#include "app/StartupValues.h"
#include "bar/BarDlg.h"
#include "fw/ResourceString.h"
#include "res/resource.h"

#include <commctrl.h>

#include <utility>

CBarApp::CBarApp() = default;

CBarApp::~CBarApp() = default;

BOOL CBarApp::InitInstance()
{
    // 1. The common controls: the trackbar, the tooltips and the Keys dialog's hotkey controls.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&controls);

    // 2. The application name comes before the registry key, which is named after it.
    m_strAppName = LoadResourceString(IDS_APP_TITLE);
    SetRegistryKey(LoadResourceString(IDS_COMPANY).c_str());

    // 3. Without a bar window around this copy is the first (g_bFirstInstance), and no copy counts
    //    as running. Copies started at the same moment take turns from here until each bar stands
    //    in its place, so that each sees the bars before it: the bar is handed the turn and ends it.
    CStartTurn startTurn = m_copies.BeginStart();

    // 4. The role word, if the command tail is one.
    TakeCommandLine(::GetCommandLineA());

    // 5. The bar; its initialisation runs inside Create. A copy without a window would only
    //    linger unseen, so it ends at once with a failure code.
    m_pBarDlg = MakeBar(m_copies, std::move(startTurn));
    m_pMainWnd = m_pBarDlg.get();
    if (!m_pBarDlg->Create(IDD_BAR)) {
        m_nExitCode = EXIT_FAILURE;
        return FALSE;
    }

    // 6. The Escape key, translated by the message filter.
    m_hAccel = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return TRUE;
}

std::unique_ptr<CBarDlg> CBarApp::MakeBar(CRunningCopies& copies, CStartTurn startTurn)
{
    return std::make_unique<CBarDlg>(copies, std::move(startTurn));
}

int CBarApp::ExitInstance()
{
    m_pMainWnd = nullptr;
    m_pBarDlg.reset();
    return CWinApp::ExitInstance();
}

BOOL CBarApp::ProcessMessageFilter(int nCode, LPMSG pMsg)
{
    // Escape reaches the bar as its hide command before the dialog's own cancel handling. Inside
    // the popup menu's own loop it is the menu's: it closes the menu, and the bar stays. Taken
    // there, it would hide the bar and leave its menu open on the screen. In a dialog that the
    // bar opened it cancels that dialog.
    const bool bForBar = pMsg->hwnd == g_hBarWnd || ::IsChild(g_hBarWnd, pMsg->hwnd);
    if (nCode != MSGF_MENU && g_hBarWnd && bForBar && m_hAccel &&
        ::TranslateAcceleratorA(g_hBarWnd, m_hAccel, pMsg))
        return TRUE;
    return CWinApp::ProcessMessageFilter(nCode, pMsg);
}
