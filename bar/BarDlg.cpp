#include "bar/BarDlg.h"

#include "app/BarWindows.h"
#include "app/Settings.h"
#include "app/StartupValues.h"
#include "bar/BarPlacement.h"
#include "bar/TrayIcon.h"
#include "draw/AboutBox.h"
#include "draw/Border.h"
#include "fw/AnsiText.h"
#include "fw/ResourceString.h"
#include "fw/ScopedHandles.h"
#include "fw/WinApp.h"
#include "mixer/MixerCards.h"
#include "mixer/LineCatalogue.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"

#include <mmsystem.h>

#include <utility>
#include <vector>

namespace {

constexpr int kSliderMax = 100;
constexpr int kSliderTicFrequency = 10;

BOOL CALLBACK AddMonitorArea(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(hMonitor, &info))
        reinterpret_cast<std::vector<SMonitorArea>*>(lParam)->push_back({info.rcMonitor, info.rcWork});
    return TRUE;
}

std::vector<SMonitorArea> MonitorAreas()
{
    std::vector<SMonitorArea> vecAreas;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitorArea, reinterpret_cast<LPARAM>(&vecAreas));
    return vecAreas;
}

RECT VirtualScreen()
{
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

BOOL CALLBACK AddOwnedWindow(HWND hWnd, LPARAM lParam)
{
    auto* pOwned = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) == pOwned->first)
        pOwned->second.push_back(hWnd);
    return TRUE;
}

RECT WindowRect(HWND hWnd)
{
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

} // namespace

CBarDlg::CBarDlg(CRunningCopies& copies, CStartTurn startTurn, CWnd* pParent)
    : CDialog(IDD_BAR, pParent), m_copies(copies), m_startTurn(std::move(startTurn))
{
    m_hAppIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BAR));
}

CBarDlg::~CBarDlg() = default;

const CMessageMapBase* CBarDlg::GetMessageMap() const
{
    // Grouped by the file that handles each entry, in the header's order. A command has one entry,
    // which the window menu's choice reaches however the menu was opened (CDialog).
    static const CMessageMap<CBarDlg> map{{
        // BarDlg.cpp
        OnMessage(WM_CLOSE, &CBarDlg::OnClose),
        OnSysCommandMessage(&CBarDlg::OnSysCommand),
        OnMessage(WM_MOVE, &CBarDlg::OnMove),
        OnMessage(WM_PAINT, &CBarDlg::OnPaint),
        OnMessage(WM_NCCALCSIZE, &CBarDlg::OnNcCalcSize),
        OnMessage(WM_QUERYDRAGICON, &CBarDlg::OnQueryDragIcon),
        OnMessage(WM_ENDSESSION, &CBarDlg::OnEndSession),
        OnCommand(SC_CLOSE, &CBarDlg::DestroyWindow),
        OnCommand(ID_ABOUT, &CBarDlg::OnAbout),
        // BarDlgDpi.cpp
        OnDpiMessage(&CBarDlg::OnDpiChanged),
        // BarDlgMenu.cpp
        OnMessage(WM_INITMENUPOPUP, &CBarDlg::OnInitMenuPopup),
        OnStateStep(ID_START_IN_TRAY, &CBarDlg::OnUpdateStartInTray),
        OnStateStep(ID_ALWAYS_ON_TOP, &CBarDlg::OnUpdateAlwaysOnTop),
        OnCommand(ID_ALWAYS_ON_TOP, &CBarDlg::OnAlwaysOnTop),
        OnCommand(ID_START_WITH_WINDOWS, &CBarDlg::OnStartWithWindows),
        OnCommand(ID_KEYS, &CBarDlg::OnKeys),
        OnCommandRange(ID_PROGRAM_FIRST, ID_PROGRAM_LAST, &CBarDlg::OnChooseProgram),
        OnCommand(ID_MASTER_VOLUME, &CBarDlg::OnMasterVolume),
        OnCommandRange(ID_CONTROL2, ID_CONTROL10, &CBarDlg::OnChooseLine),
        // BarDlgPopup.cpp
        OnPointMessage(WM_CONTEXTMENU, &CBarDlg::OnContextMenu),
        OnCommand(IDC_MENU_BUTTON, &CBarDlg::OnMenuButton),
        // BarDlgLaunch.cpp
        OnCommandRange(ID_OUTPUT_VOLUME, ID_INPUT_VOLUME, &CBarDlg::OnDirection),
        OnCommandRange(ID_CARD1, ID_CARD3, &CBarDlg::OnCard),
        OnMessage(WM_DEVICECHANGE, &CBarDlg::OnDeviceChange),
        // BarDlgKeys.cpp
        OnMessage(WM_HOTKEY, &CBarDlg::OnHotKey),
        OnMessage(WM_TIMER, &CBarDlg::OnTimer),
        // BarDlgVolume.cpp
        OnScrollMessage(WM_HSCROLL, &CBarDlg::OnHScroll),
        OnCommand(IDC_MUTE_BUTTON, &CBarDlg::OnMuteButton),
        OnMessage(MM_MIXM_CONTROL_CHANGE, &CBarDlg::OnControlChange),
        OnMessage(MM_MIXM_LINE_CHANGE, &CBarDlg::OnLineChange),
        OnMessage(WM_SYSCOLORCHANGE, &CBarDlg::OnSysColorChange),
        // BarDlgBody.cpp
        OnMessage(WM_LBUTTONDOWN, &CBarDlg::OnLButtonDown),
        OnMessage(WM_LBUTTONDBLCLK, &CBarDlg::OnLButtonDblClk),
        OnMessage(WM_RBUTTONDOWN, &CBarDlg::OnRButtonDown),
        // BarDlgTray.cpp
        OnMessage(WM_TRAYNOTIFY, &CBarDlg::OnTrayNotify),
        OnMessage(TaskbarCreatedMessage(), &CBarDlg::OnTaskbarCreated),
        OnCommand(SC_RESTORE, &CBarDlg::RestoreFromTray),
        // The taskbar button and minimise-all too: minimised to an icon, the bar would be neither
        // shown nor in the tray.
        OnCommand(SC_MINIMIZE, &CBarDlg::HideToTray),
        OnCommand(ID_HIDE_BAR, &CBarDlg::HideToTray),
    }};
    return &map;
}

void CBarDlg::DoDataExchange()
{
    BindControl(IDC_VOLUME_SLIDER, m_sliderVolume);
    BindControl(IDC_MUTE_BUTTON, m_btnMute);
    BindControl(IDC_MENU_BUTTON, m_btnMenu);
}

BOOL CBarDlg::OnInitDialog()
{
    // The initialisation is a handler too: the no-driver message's loop runs inside it.
    ++m_nHandlersRunning;

    // 1. The controls are created and bound first: everything below works on them.
    CDialog::OnInitDialog();
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hAppIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hAppIcon));
    StartupStepDone(EStartupStep::Controls);

    // 2. This copy's bar is known from here on, and counts as one more running copy.
    g_hBarWnd = m_hWnd;
    m_bClosing = 0;
    m_bFollowChanges = 1;
    m_copies.Raise();

    // 3. Position and window options, in the order the settings are read. A side other than 0
    //    or 1 is read as the output side, so that it is saved back repaired.
    const POINT ptWanted = InitialPosition();
    m_bStartInTray = ReadSetting(IDS_START_IN_TRAY, 0);
    m_bAlwaysOnTop = ReadSetting(IDS_ALWAYS_ON_TOP, 1);
    m_bInput = ReadSettingInRange(IDS_INPUT_VOLUME, 0, 0, 1);

    m_sliderVolume.SetRange(0, kSliderMax, TRUE);
    m_sliderVolume.SetTicFreq(kSliderTicFrequency);
    StartupStepDone(EStartupStep::Settings);

    // 4. The owned objects, the mixer with this window for its notifications. The tray icon is
    //    prepared but not shown.
    m_pCatalogue = std::make_unique<CLineCatalogue>();
    m_pMixer = std::make_unique<CMixerDevice>(m_hWnd);
    m_pTrayIcon = std::make_unique<CTrayIcon>();
    m_pTrayIcon->Prepare(m_hWnd, IDI_BAR, IDI_BAR, LoadResourceString(IDS_APP_TITLE).c_str());
    StartupStepDone(EStartupStep::Mixer);

    // 5. Card, side and line, from the role word or the settings.
    SelectStoredLine();
    StartupStepDone(EStartupStep::Line);

    // 6. The popup menu describes the card and side just chosen.
    BuildPopupMenu();
    StartupStepDone(EStartupStep::Menu);

    // 7. Take the caption off and make room for the pictures at the screen's DPI, so that the
    //    bar has its final size, and place it where it can be seen.
    TakeCaptionOff();
    TakeTemplateLayout();
    LayOut(m_nTemplateDpi);
    const RECT rcBar = WindowRect(m_hWnd);
    const POINT pt = KeepOnScreen(ptWanted, SIZE{rcBar.right - rcBar.left, rcBar.bottom - rcBar.top},
                                  VirtualScreen(), MonitorAreas());
    // Placed without being activated: the show below activates a bar that starts shown, and one
    // that starts in the tray takes no keyboard from the program the user is in. Activating the
    // hidden window here would also keep the bar off the screen the longer.
    ::SetWindowPos(m_hWnd, m_bAlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, pt.x, pt.y, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);

    // 8. The start's turn ends: a copy starting after this one finds the bar in its place, and a
    //    request for its card and side finds it. A copy that started while the sound hardware
    //    changed is never shown: it ends with the other bars. A bar started without a role word
    //    may start hidden in the tray; every other start shows it, so that no copy is left
    //    neither shown nor in the tray. It takes the keyboard only from a bar, whose menu started
    //    it, never from another program (a start at logon, fresh bars after a device change). The
    //    bar that runs the card and side takes their keys.
    const bool bEndsAtOnce = m_copies.MissedDeviceChange();
    m_startTurn.End();
    if (bEndsAtOnce)
        m_bDeviceChangeWaits = TRUE;
    else if (m_bStartInTray && !g_bRoleGiven)
        m_pTrayIcon->Add();
    else
        ::ShowWindow(m_hWnd, IsBarWindow(::GetForegroundWindow()) ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (!bEndsAtOnce) {
        PublishBarRole(m_hWnd, {m_bInput, m_nCardIndex});
        TakeKeys();
    }
    StartupStepDone(EStartupStep::Placement);

    // 9. Tooltips, the notes for screen readers that tell the same, and button pictures.
    m_accessibility.Start(CreateAccessibleNotes(), m_sliderVolume.m_hWnd, m_btnMute.m_hWnd);
    AddToolTips();
    StartupStepDone(EStartupStep::ToolTips);
    m_bmpMenu.Load(IDB_MENU);
    for (int i = 0; i < static_cast<int>(m_bmpLine.size()); ++i)
        m_bmpLine[i].Load(LineBitmapId(m_bInput, i));
    m_btnMenu.SetImage(&m_bmpMenu, kStripTileSize, 0);
    StartupStepDone(EStartupStep::Pictures);

    // 10. Without any mixer device the bar cannot do anything; say so once, unless the bar is
    //     about to end.
    if (!bEndsAtOnce && CountMixerCards() == 0)
        ::MessageBoxA(m_hWnd, LoadResourceString(IDS_NO_DRIVER).c_str(), AfxGetApp()->m_strAppName.c_str(),
                      MB_OK | MB_ICONSTOP);

    // 11. The slider, the mute button and the tray icon show the selected line, and only a
    //     control the line has can be used.
    RefreshMuteState();
    StartupStepDone(EStartupStep::ControlStates);

    // 12. A device change that the bar takes part in ends it from the message loop, after the
    //     window's creation has returned.
    if (--m_nHandlersRunning == 0 && m_bDeviceChangeWaits)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    return TRUE;
}

void CBarDlg::AddToolTips()
{
    // The buttons and the trackbar; the card's name on the bar body when there is more than one
    // card to tell apart; then the selected line's names.
    m_toolTip.Create(*this);
    m_toolTip.AddTool(m_btnMenu.m_hWnd, LoadResourceString(IDS_TIP_MENU));
    m_toolTip.AddTool(m_sliderVolume.m_hWnd, LoadResourceString(IDS_TIP_VOLUME));
    m_toolTip.AddTool(m_btnMute.m_hWnd, LoadResourceString(IDS_TIP_MUTE));
    if (CountMixerCards() > 1)
        m_toolTip.AddTool(m_hWnd, ToAnsi(m_wstrCardName));
    SetLineToolTips();
}

POINT CBarDlg::InitialPosition() const
{
    // A later copy opens in the column of an earlier bar, at the first place no bar covers, on
    // the part of the monitor that the taskbar leaves free. One that finds no other bar any more (it has
    // closed since start-up looked) takes the stored place like a first copy.
    if (!g_bFirstInstance) {
        const std::vector<HWND> vecOthers = FindOtherBars(m_hWnd);
        if (!vecOthers.empty()) {
            std::vector<RECT> vecRects;
            for (const HWND hWnd : vecOthers)
                vecRects.push_back(WindowRect(hWnd));
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            ::GetMonitorInfoA(::MonitorFromRect(&vecRects.front(), MONITOR_DEFAULTTONEAREST), &monitor);
            return FirstFreePlace(vecRects.front(), vecRects, monitor.rcWork);
        }
    }
    return {ReadSetting(IDS_X_COORDINATE, 0), ReadSetting(IDS_Y_COORDINATE, 0)};
}

void CBarDlg::SelectStoredLine()
{
    static_cast<SDrivenLine&>(*this) = ReadStoredLine(m_bInput);
    m_pMixer->Open(static_cast<UINT>(m_nCardIndex));
    if (m_dwProgram != 0) {
        SelectProgram();
        return;
    }
    // A line that no longer resolves (another card, a stale setting) falls back to the master.
    if (!SelectLine(m_nMenuIndex, m_dwComponentType))
        SelectLine(kMasterMenuIndex, MasterComponentType(m_bInput));
}

BOOL CBarDlg::SelectLine(int nMenuIndex, DWORD dwComponentType)
{
    TakeLine(*this, nMenuIndex, dwComponentType);
    return SelectMenuLine(*m_pMixer, static_cast<UINT>(m_nMenuIndex), m_dwComponentType, m_bInput);
}

void CBarDlg::SetLineToolTips()
{
    // The master line has the bare texts; a numbered line or a program puts its name in front.
    // The tools stay: only their texts change, and a reader hears only of a text that changed.
    const std::wstring wstrLabel = LineLabel(*this, *m_pCatalogue);
    const std::wstring wstrVolume = wstrLabel + ToWide(LoadResourceString(IDS_TIP_VOLUME));
    const std::wstring wstrMute = wstrLabel + ToWide(LoadResourceString(IDS_TIP_MUTE));
    m_toolTip.SetText(m_sliderVolume.m_hWnd, wstrVolume);
    m_toolTip.SetText(m_btnMute.m_hWnd, wstrMute);
    m_accessibility.DescribeLine(wstrVolume, wstrMute);
}

std::vector<HWND> CBarDlg::OwnedWindows() const
{
    std::pair<HWND, std::vector<HWND>> owned{m_hWnd, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &AddOwnedWindow, reinterpret_cast<LPARAM>(&owned));
    return owned.second;
}

void CBarDlg::ShowDrivenLine()
{
    SetLineToolTips();
    RefreshMuteState();
}

std::unique_ptr<IAccessibleNotes> CBarDlg::CreateAccessibleNotes()
{
    return CreateSystemAccessibleNotes();
}

void CBarDlg::TakeCaptionOff()
{
    const RECT rc = WindowRect(m_hWnd);
    const int nHeight = rc.bottom - rc.top - ::GetSystemMetrics(SM_CYCAPTION);
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, nHeight, TRUE);
}

BOOL CBarDlg::PreTranslateMessage(MSG* pMsg)
{
    m_toolTip.RelayEvent(pMsg);
    if (TakeMouseWheel(*pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CBarDlg::OnOK()
{
    // Enter does not close the bar. On a picture button it does what Space and a click do: the
    // dialog manager sends Enter to the dialog instead, as owner-drawn buttons are never its
    // default button.
    const HWND hFocus = ::GetFocus();
    if (hFocus == m_btnMenu.m_hWnd || hFocus == m_btnMute.m_hWnd)
        ::SendMessageA(hFocus, BM_CLICK, 0, 0);
}

void CBarDlg::OnCancel()
{
    // Only a close request ends the copy; the dialog's own Escape and Cancel do nothing.
    if (m_bClosing)
        DestroyWindow();
}

LRESULT CBarDlg::OnClose()
{
    m_bClosing = 1;
    return Default();
}

LRESULT CBarDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // F10, Alt alone and Alt+Space open nothing on a bar that is not minimised.
    if (nID == SC_KEYMENU && !::IsIconic(m_hWnd) && (lParam == 0 || lParam == ' '))
        return 0;
    // The bar has one size.
    if (nID == SC_MAXIMIZE || nID == SC_SIZE)
        return 0;
    return Default();
}

LRESULT CBarDlg::OnMove()
{
    // An icon's or a maximised window's place is not the bar's: the one it is restored to is.
    if (!::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd)) {
        const RECT rc = WindowRect(m_hWnd);
        m_ptRestored = {rc.left, rc.top};
    }
    return Default();
}

LRESULT CBarDlg::OnPaint()
{
    const CPaintDC dc(m_hWnd);
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    if (::IsIconic(m_hWnd)) {
        ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
        const int x = (rcClient.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rcClient.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc.Get(), x, y, m_hAppIcon);
    }
    else {
        ::DrawBorder(dc.Get(), rcClient, m_nPictureScale);
    }
    return 0;
}

LRESULT CBarDlg::OnNcCalcSize()
{
    // No caption and no frame: the whole window is client area.
    return 0;
}

LRESULT CBarDlg::OnQueryDragIcon()
{
    return reinterpret_cast<LRESULT>(m_hAppIcon);
}

LRESULT CBarDlg::OnEndSession(BOOL bEnding, UINT)
{
    // Saved whatever the parameter says. Only a session that really ends takes the copy off the
    // counter: after a cancelled one it runs on and is counted still.
    if (bEnding)
        SaveSettings();
    else
        SaveValues();
    return 0;
}

void CBarDlg::OnAbout()
{
    CAboutBox().DoModal();
}

BOOL CBarDlg::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    // 1. The keys go first, so that a fresh set started after a device change can take them. A
    //    hidden bar has its icon in the tray; it must not outlive the copy.
    ReleaseKeys();
    if (!::IsWindowVisible(m_hWnd) && m_pTrayIcon)
        m_pTrayIcon->Remove();
    // 2. The owned objects: the mixer connection (which closes the card), the catalogue and the
    //    tray icon; and the notes for screen readers, which outlive no control.
    m_accessibility.Stop();
    m_pMixer.reset();
    m_pCatalogue.reset();
    m_pTrayIcon.reset();
    // 3. Settings, with one copy less running.
    SaveSettings();
    // 4. The window; as the main window its end ends the copy. From here on a request for its
    //    card and side starts a new bar.
    WithdrawBarRole(m_hWnd);
    return CDialog::DestroyWindow();
}

void CBarDlg::SaveSettings()
{
    SaveValues();
    // Once per copy, however often it saves.
    m_copies.Lower();
}

void CBarDlg::SaveValues()
{
    // The place is the restored one, even while another program keeps the bar minimised or
    // maximised; the two options as 0 or 1, as their check marks show them.
    const RECT rc = WindowRect(m_hWnd);
    const bool bRestored = !::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd);
    WriteSetting(IDS_X_COORDINATE, bRestored ? rc.left : m_ptRestored.x);
    WriteSetting(IDS_Y_COORDINATE, bRestored ? rc.top : m_ptRestored.y);
    WriteSetting(IDS_START_IN_TRAY, m_bStartInTray ? 1 : 0);
    WriteSetting(IDS_ALWAYS_ON_TOP, m_bAlwaysOnTop ? 1 : 0);
    SaveDrivenLine(*this);
    WriteSetting(IDS_INPUT_VOLUME, m_bInput);
}
