// The bar's global keys: taken for the bar's card and side when it starts and let go when it
// ends, set in the Keys dialog, and acting from any program on what the bar drives, through the
// slider's and the mute button's own paths. A bar hidden in the tray shows for a moment while
// its keys act, as the on-screen display.
#include "bar/BarDlg.h"

#include "app/InstanceRole.h"
#include "app/KeySettings.h"
#include "bar/KeysDlg.h"
#include "bar/TrayIcon.h"
#include "fw/AnsiText.h"
#include "mixer/MixerDevice.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kDisplayTimer = 0x4B44;
// How long the bar stays in view after the last key.
constexpr UINT kDisplayMilliseconds = 2000;
// Two positions of the slider's 0 to 100, as the system's own volume keys step.
constexpr int kKeyStep = 2;

// Whether the user would welcome the bar over what the screen shows: not over a program in full
// screen or a presentation. Windows XP cannot tell, and the bar shows there.
bool DisplayWelcome()
{
    static const auto pfnQuery =
        ShellLibrary().Find<decltype(&SHQueryUserNotificationState)>("SHQueryUserNotificationState");
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (!pfnQuery || FAILED(pfnQuery(&state)))
        return true;
    return state != QUNS_BUSY && state != QUNS_RUNNING_D3D_FULL_SCREEN && state != QUNS_PRESENTATION_MODE;
}

} // namespace

void CBarDlg::TakeKeys()
{
    m_hotKeys.Take(m_hWnd, ReadBarKeys(MakeRoleWord(m_bInput, m_nCardIndex)));
}

void CBarDlg::ReleaseKeys()
{
    m_hotKeys.LetGo();
    HideKeyDisplay();
}

void CBarDlg::OnKeys()
{
    // The bar's own keys are let go while the dialog is open: typed into its controls they would
    // reach the bar instead. A key refused when the bar took it is said at once.
    const CBarKeys keysBefore = m_hotKeys.Keys();
    const WORD wInUse = m_hotKeys.FirstRefused();
    m_hotKeys.LetGo();
    const std::wstring wstrLine =
        m_dwProgram ? PlainName(m_wstrProgramName) : ToWide(m_pMixer ? m_pMixer->m_line.szName : "");
    CKeysDlg dlg(wstrLine, keysBefore, wInUse, [this](const CBarKeys& keys) {
        const WORD wRefused = m_hotKeys.Take(m_hWnd, keys);
        if (wRefused != 0)
            m_hotKeys.LetGo();
        return wRefused;
    });
    if (dlg.DoModal() == IDOK)
        WriteBarKeys(MakeRoleWord(m_bInput, m_nCardIndex), dlg.Keys());
    else
        m_hotKeys.Take(m_hWnd, keysBefore);
}

LRESULT CBarDlg::OnHotKey(int nID, LPARAM)
{
    // Inside a loop of the bar's own (its menu, a dialog, a move) the key is dropped: the bar may
    // be in the middle of a change.
    const int nKey = CBarHotKeys::KeyOfID(nID);
    if (m_nHandlersRunning > 1 || nKey < 0 || !m_hotKeys.TakePress(nKey))
        return 0;
    switch (nKey) {
    case kKeyVolumeUp:
    case kKeyVolumeDown:
        if (::IsWindowEnabled(m_sliderVolume.m_hWnd))
            MoveSliderBy(nKey == kKeyVolumeUp ? kKeyStep : -kKeyStep);
        break;
    case kKeyMute:
        if (::IsWindowEnabled(m_btnMute.m_hWnd))
            OnMuteButton();
        break;
    default:
        // Show or Hide, as the menu's entries do.
        if (::IsWindowVisible(m_hWnd) && !m_bShownForKeys)
            HideToTray();
        else
            RestoreFromTray();
        return 0;
    }
    ShowForKeys();
    return 0;
}

LRESULT CBarDlg::OnTimer(UINT_PTR nIDEvent, LPARAM)
{
    if (m_hotKeys.OnTimer(nIDEvent))
        return 0;
    // The display waits for a loop of the bar's own (its menu opened on it) to end.
    if (nIDEvent == kDisplayTimer && m_nHandlersRunning == 1)
        HideKeyDisplay();
    return 0;
}

void CBarDlg::ShowForKeys()
{
    // A bar in view only follows the change; the display's time starts again with every key.
    if (!m_bShownForKeys) {
        if (::IsWindowVisible(m_hWnd) || !DisplayWelcome())
            return;
        m_bShownForKeys = 1;
        SetTopmost(TRUE);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    }
    ::SetTimer(m_hWnd, kDisplayTimer, kDisplayMilliseconds, nullptr);
}

void CBarDlg::EndKeyDisplay()
{
    if (!m_bShownForKeys)
        return;
    m_bShownForKeys = 0;
    ::KillTimer(m_hWnd, kDisplayTimer);
    SetTopmost(m_bAlwaysOnTop);
}

void CBarDlg::HideKeyDisplay()
{
    if (!m_bShownForKeys)
        return;
    EndKeyDisplay();
    ::ShowWindow(m_hWnd, SW_HIDE);
}
