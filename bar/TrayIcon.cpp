#include "bar/TrayIcon.h"

const CSystemLibrary& ShellLibrary()
{
    // SHELL32 is loaded at the first call to the shell, not with the program: under Wine, loading
    // it with all it brings along is a good part of a start, and a bar that starts shown needs the
    // shell only once it is on the screen. Like an imported library, it stays until the process
    // ends.
    static const CSystemLibrary shell32("shell32.dll");
    return shell32;
}

namespace {

BOOL NotifyShell(DWORD dwMessage, NOTIFYICONDATAA* pnid)
{
    using PFNSHELLNOTIFYICON = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static const auto pfnNotify = ShellLibrary().Find<PFNSHELLNOTIFYICON>("Shell_NotifyIconA");
    return pfnNotify != nullptr && pfnNotify(dwMessage, pnid);
}

} // namespace

UINT TaskbarCreatedMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageA("TaskbarCreated");
    return nMessage;
}

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon() = default;

void CTrayIcon::Prepare(HWND hWnd, UINT nID, WORD nIconID, const char* pszTip)
{
    m_nID = nID;
    m_nIconID = nIconID;
    // The small-icon size of the screen's DPI (16 at 96 DPI), which the icon resources hold
    // drawn to the pixel.
    m_hIcon.Reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIconID),
                                                  IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                  ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    // The record of the first shell version: every shell accepts it, and the tip holds 64 bytes.
    m_nid = NOTIFYICONDATAA{};
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.hWnd = hWnd;
    m_nid.uID = m_nID;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAYNOTIFY;
    m_nid.hIcon = m_hIcon.Get();
    ::lstrcpynA(m_nid.szTip, pszTip ? pszTip : "", 64);
}

void CTrayIcon::Add()
{
    NotifyShell(NIM_ADD, &m_nid);
}

void CTrayIcon::Remove()
{
    NotifyShell(NIM_DELETE, &m_nid);
}

void CTrayIcon::Modify(WORD nIconID, const char* pszTip)
{
    Prepare(m_nid.hWnd, m_nID, nIconID, pszTip);
    NotifyShell(NIM_MODIFY, &m_nid);
}
