// CBarApp: start-up and end of one copy of the program. Start-up names the application, points
// the settings at the registry, finds out whether another copy is running, takes the role word
// from the command tail and creates the bar as the copy's only main window. The message filter
// turns the Escape key into the bar's hide command.
#pragma once

#include "fw/WinApp.h"

#include <windows.h>

#include <memory>
#include <string>

class CBarDlg;

// Written during start-up, read by the bar's initialisation; one set per copy.
extern std::string g_strCmdLine; // the command tail, empty when there is none
extern int g_bRoleGiven;         // 1 when g_strCmdLine is one of the six role words
extern int g_bFirstInstance;     // 1 when no bar window existed at start-up
extern HWND g_hBarWnd;           // this copy's bar, set by the bar's initialisation

class CBarApp : public CWinApp {
public:
    CBarApp();
    ~CBarApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL ProcessMessageFilter(int nCode, LPMSG pMsg) override;

    std::unique_ptr<CBarDlg> m_pBarDlg;
    HACCEL m_hAccel = nullptr;
};
