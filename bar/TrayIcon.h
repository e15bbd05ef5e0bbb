// CTrayIcon: the bar's one icon in the taskbar's notification area. Prepare fills the record
// that every Shell_NotifyIconA call passes; Add and Remove show and take away the icon, Modify
// changes its picture and tip. The shell's answers are not examined: a duplicate add or a
// remove of an icon that is not there is refused by the shell and changes nothing.
#pragma once

#include "fw/ScopedHandles.h"
#include "fw/SystemLibrary.h"

#include <windows.h>
#include <shellapi.h>

// The message the shell sends to the bar for mouse events over its icon.
constexpr UINT WM_TRAYNOTIFY = 0x8384;

// The shell's library, found in the system directory at first use and kept until the process ends.
const CSystemLibrary& ShellLibrary();

// The message that a starting shell sends to every top-level window: the icons shown before it
// (re)started are gone and must be added again.
UINT TaskbarCreatedMessage();

class CTrayIcon {
public:
    CTrayIcon();
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Sets the owner, the identifier, the small picture (icon resource nIconID of the program,
    // 16 x 16 at 96 DPI) and the tip (at most 63 characters kept; null for none). Talks to no
    // shell.
    void Prepare(HWND hWnd, UINT nID, WORD nIconID, const char* pszTip);
    void Add();
    void Remove();
    void Modify(WORD nIconID, const char* pszTip);

    // The icon resource last prepared, whether or not it loaded.
    WORD GetIconID() const { return m_nIconID; }

    UINT m_nID = 0;
    CScopedIcon m_hIcon;
    NOTIFYICONDATAA m_nid{};

private:
    WORD m_nIconID = 0;
};
