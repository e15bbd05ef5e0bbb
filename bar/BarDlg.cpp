#include "bar/BarDlg.h"

#include "app/BarApp.h"
#include "app/InstanceRole.h"
#include "app/Settings.h"
#include "bar/BarPlacement.h"
#include "bar/TrayIcon.h"
#include "draw/AboutBox.h"
#include "draw/Border.h"
#include "draw/LineBitmaps.h"
#include "fw/ResourceString.h"
#include "fw/ScopedHandles.h"
#include "mixer/LineCatalogue.h"
#include "mixer/LineSelection.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"

#include <mmsystem.h>

namespace {

// The top-level window titled like a bar that is not hWndSelf; FindWindowA's title test
// ignores letter case and sees hidden windows.
HWND FindOtherBar(HWND hWndSelf)
{
    const std::string strTitle = LoadResourceString(IDS_APP_TITLE);
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, nullptr, strTitle.c_str())) != nullptr) {
        if (hWnd != hWndSelf)
            return hWnd;
    }
    return nullptr;
}

} // namespace

CBarDlg::CBarDlg(CWnd* pParent) : CDialog(IDD_BAR, pParent)
{
    m_hAppIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BAR));
}

CBarDlg::~CBarDlg() = default;

const CMessageMapBase* CBarDlg::GetMessageMap() const
{
    static const CMessageMap<CBarDlg> map{{
        OnMessage(WM_CLOSE, &CBarDlg::OnClose),
        OnMessage(WM_SYSCOMMAND, &CBarDlg::OnSysCommand),
        OnMessage(WM_PAINT, &CBarDlg::OnPaint),
        OnMessage(WM_NCCALCSIZE, &CBarDlg::OnNcCalcSize),
        OnMessage(WM_QUERYDRAGICON, &CBarDlg::OnQueryDragIcon),
        OnMessage(WM_ENDSESSION, &CBarDlg::OnEndSession),
        OnCommand(SC_RESTORE, &CBarDlg::OnRestore),
        OnCommand(SC_MINIMIZE, &CBarDlg::OnMinimize),
        OnCommand(SC_CLOSE, &CBarDlg::OnCloseCommand),
        OnCommand(ID_ABOUT, &CBarDlg::OnAbout),
        OnCommand(ID_HIDE_BAR, &CBarDlg::OnHideBar),
        OnMessage(WM_TRAYNOTIFY, &CBarDlg::OnTrayNotify),
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
    // 1. Controls created and bound.
    CDialog::OnInitDialog();

    // 2. The about entry at the end of the window menu.
    if (const std::string strAbout = LoadResourceString(IDS_ABOUT); !strAbout.empty()) {
        const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE);
        ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(hSysMenu, MF_STRING, ID_ABOUT, strAbout.c_str());
    }

    // 3. Icons.
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hAppIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hAppIcon));

    // 4. This copy's bar is known from here on.
    bool bShow = false;
    g_hBarWnd = m_hWnd;
    m_bClosing = 0;
    m_bAlwaysOnTop = 0;
    m_bFollowChanges = 1;

    // 5. One more copy running.
    WriteSetting(IDS_INSTANCE_COUNT, ReadSetting(IDS_INSTANCE_COUNT, 0) + 1);

    // 6.-7. Position and window options.
    POINT pt = InitialPosition();
    m_bStartInTray = ReadSetting(IDS_START_IN_TRAY, 0);
    m_bAlwaysOnTop = ReadSetting(IDS_ALWAYS_ON_TOP, 1);
    m_bInput = ReadSetting(IDS_INPUT_VOLUME, 0);

    // 8. Trackbar.
    m_sliderVolume.SetRange(0, 100, TRUE);
    m_sliderVolume.SetTicFreq(10);

    // 9. Owned objects; the tray icon is prepared, not shown.
    m_pCatalogue = std::make_unique<CLineCatalogue>();
    m_pMixer = std::make_unique<CMixerDevice>(m_hWnd);
    m_pTrayIcon = std::make_unique<CTrayIcon>();
    m_pTrayIcon->Prepare(m_hWnd, IDI_BAR, IDI_BAR, LoadResourceString(IDS_APP_TITLE).c_str());

    // 10.-14. Card, side and line.
    if (g_bRoleGiven)
        bShow = true;
    SelectStoredLine();

    // 16. Only the origin is kept on the screen.
    pt = ClampToScreen(pt, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));

    // 17. Start in the tray only when started without a role word; any other start shows the
    //     bar, so that no copy is left neither shown nor in the tray.
    if (m_bStartInTray && !g_bRoleGiven)
        m_pTrayIcon->Add();
    else
        bShow = true;

    // 18. Place the bar.
    ::SetWindowPos(m_hWnd, m_bAlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, pt.x, pt.y, 0, 0, SWP_NOSIZE);

    // 20.-21. No caption, no frame; shown unless it starts in the tray.
    TakeCaptionOff();
    if (bShow)
        ::ShowWindow(m_hWnd, SW_SHOW);

    // 22.-24. Tooltips: the buttons and the trackbar, the card's name on the bar body when
    //     there is more than one card, and the selected line's name.
    m_toolTip.Create(*this);
    m_toolTip.AddTool(m_btnMenu.m_hWnd, LoadResourceString(IDS_TIP_MENU));
    m_toolTip.AddTool(m_sliderVolume.m_hWnd, LoadResourceString(IDS_TIP_VOLUME));
    if (::mixerGetNumDevs() > 1) {
        std::string strCard;
        CMixerDevice::GetDeviceName(static_cast<UINT>(m_nCardIndex), strCard);
        m_toolTip.AddTool(m_hWnd, strCard);
    }
    SetLineToolTips(m_nMenuIndex);

    // 25. Pictures of the two buttons.
    LoadLineBitmaps();
    m_btnMenu.SetImage(&m_bmpMenu, SIZE{20, 20}, 0);

    // 26. Without any mixer device the bar cannot do anything; say so once.
    ShowNoDriverMessage();
    return TRUE;
}

POINT CBarDlg::InitialPosition() const
{
    // A later copy opens beside the bar of an earlier one. One that finds no other bar any
    // more (it has closed since start-up looked) takes the stored place like a first copy.
    if (!g_bFirstInstance) {
        if (const HWND hWndOther = FindOtherBar(m_hWnd)) {
            RECT rc{};
            ::GetWindowRect(hWndOther, &rc);
            return PlaceNextTo(rc, ::GetSystemMetrics(SM_CYSCREEN));
        }
    }
    const int x = ReadSetting(IDS_X_COORDINATE, 0);
    const int y = ReadSetting(IDS_Y_COORDINATE, 0);
    return {x, y};
}

void CBarDlg::SelectStoredLine()
{
    // A role word names the side and the card; otherwise the stored card is read.
    const auto role = g_bRoleGiven ? ParseRoleWord(g_strCmdLine) : std::nullopt;
    if (role)
        m_bInput = role->bInput;
    const int nCard = role ? role->nCardIndex : ReadSetting(IDS_CARD_INDEX, 0);
    const DWORD dwType =
        static_cast<DWORD>(ReadSetting(IDS_COMPONENT_TYPE, static_cast<int>(MasterComponentType(m_bInput))));
    const int nMenuIndex = ReadSetting(IDS_MENU_INDEX, kMasterMenuIndex);

    SLineSelection selection = MakeStartSelection(m_bInput, static_cast<UINT>(nCard), role.has_value(),
                                                  dwType, static_cast<UINT>(nMenuIndex), ::mixerGetNumDevs());
    OpenSelection(*m_pMixer, selection);
    m_nCardIndex = static_cast<int>(selection.m_nCardIndex);
    m_nMenuIndex = static_cast<int>(selection.m_nMenuIndex);
    m_dwComponentType = selection.m_dwComponentType;
}

void CBarDlg::SetLineToolTips(int nMenuIndex)
{
    // The master line has the bare texts; a numbered line puts its name in front.
    std::string strPrefix;
    if (nMenuIndex != static_cast<int>(kMasterMenuIndex)) {
        std::string strName;
        m_pCatalogue->GetLineName(nMenuIndex, strName);
        strPrefix = strName + " ";
    }
    m_toolTip.DelTool(m_sliderVolume.m_hWnd);
    m_toolTip.AddTool(m_sliderVolume.m_hWnd, strPrefix + LoadResourceString(IDS_TIP_VOLUME));
    m_toolTip.DelTool(m_btnMute.m_hWnd);
    m_toolTip.AddTool(m_btnMute.m_hWnd, strPrefix + LoadResourceString(IDS_TIP_MUTE));
}

void CBarDlg::TakeCaptionOff()
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    const int nHeight = rc.bottom - rc.top - ::GetSystemMetrics(SM_CYCAPTION);
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, nHeight, TRUE);
}

void CBarDlg::ShowNoDriverMessage()
{
    if (::mixerGetNumDevs() != 0)
        return;
    ::MessageBoxA(m_hWnd, LoadResourceString(IDS_NO_DRIVER).c_str(), AfxGetApp()->m_strAppName.c_str(),
                  MB_OK | MB_ICONSTOP);
}

void CBarDlg::LoadLineBitmaps()
{
    m_bmpMenu.Load(IDB_MENU);
    for (int i = 0; i < static_cast<int>(m_bmpLine.size()); ++i)
        m_bmpLine[i].Load(LineBitmapId(m_bInput, i));
}

BOOL CBarDlg::PreTranslateMessage(MSG* pMsg)
{
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CBarDlg::OnOK()
{
    // Enter does not close the bar.
}

void CBarDlg::OnCancel()
{
    // Only a close request ends the copy; the dialog's own Escape and Cancel do nothing.
    if (m_bClosing)
        DestroyWindow();
}

LRESULT CBarDlg::OnClose(WPARAM, LPARAM)
{
    m_bClosing = 1;
    return Default();
}

LRESULT CBarDlg::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    // F10, Alt alone and Alt+Space open nothing on a bar that is not minimised.
    if (wParam == SC_KEYMENU && !::IsIconic(m_hWnd) && (lParam == 0 || lParam == ' '))
        return 0;
    if ((wParam & 0xFFF0) == ID_ABOUT) {
        CAboutBox().DoModal();
        return 0;
    }
    return Default();
}

LRESULT CBarDlg::OnPaint(WPARAM, LPARAM)
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
        DrawBorder(dc.Get());
    }
    return 0;
}

void CBarDlg::DrawBorder(HDC hDC)
{
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    ::DrawBorder(hDC, rcClient);
}

LRESULT CBarDlg::OnNcCalcSize(WPARAM, LPARAM)
{
    // No caption and no frame: the whole window is client area.
    return 0;
}

LRESULT CBarDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hAppIcon);
}

LRESULT CBarDlg::OnEndSession(WPARAM, LPARAM)
{
    // Saved whatever the parameter says: the logon may still go on, and the copy with it.
    SaveSettings();
    return 0;
}

void CBarDlg::OnRestore(UINT)
{
    RestoreFromTray();
}

void CBarDlg::OnMinimize(UINT)
{
    HideToTray();
}

void CBarDlg::OnHideBar(UINT)
{
    HideToTray();
}

void CBarDlg::OnCloseCommand(UINT)
{
    DestroyWindow();
}

void CBarDlg::OnAbout(UINT)
{
    CAboutBox().DoModal();
}

BOOL CBarDlg::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    // 1. A hidden bar has its icon in the tray; it must not outlive the copy.
    if (!::IsWindowVisible(m_hWnd) && m_pTrayIcon)
        m_pTrayIcon->Remove();
    // 2.-4. The mixer connection, the catalogue and the tray icon.
    m_pMixer.reset();
    m_pCatalogue.reset();
    m_pTrayIcon.reset();
    // 5. Settings, with one copy less running.
    SaveSettings();
    // 6. The window; as the main window its end ends the copy.
    return CDialog::DestroyWindow();
}

void CBarDlg::SaveSettings()
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    WriteSetting(IDS_X_COORDINATE, rc.left);
    WriteSetting(IDS_Y_COORDINATE, rc.top);
    WriteSetting(IDS_START_IN_TRAY, m_bStartInTray ? 1 : 0);
    WriteSetting(IDS_ALWAYS_ON_TOP, m_bAlwaysOnTop ? 1 : 0);
    WriteSetting(IDS_COMPONENT_TYPE, static_cast<int>(m_dwComponentType));
    WriteSetting(IDS_MENU_INDEX, m_nMenuIndex);
    WriteSetting(IDS_CARD_INDEX, m_nCardIndex);
    WriteSetting(IDS_INSTANCE_COUNT, ReadSetting(IDS_INSTANCE_COUNT, 1) - 1);
    WriteSetting(IDS_INPUT_VOLUME, m_bInput);
}
