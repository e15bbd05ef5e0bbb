// CWinApp: the one application object of a copy of the program. app/WinMain.cpp drives it:
// InitInstance, then the message loop (Run) until the main window is destroyed, then
// ExitInstance, whose result is the process exit code.
//
// Every message taken from the loop is offered to the main window's PreTranslateMessage (its
// dialog keyboard processing). A thread-wide message-filter hook hands each message that passes
// through a dialog's keyboard processing or a menu's own loop to ProcessMessageFilter, where an
// application can translate keys of its own (the way accelerators reach a dialog).
#pragma once

#include "fw/Dialog.h"
#include "fw/RegistryProfile.h"

#include <windows.h>

#include <memory>
#include <string>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the application: what WinMain does with it.
    int Main();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }
    virtual BOOL ProcessMessageFilter(int nCode, LPMSG pMsg);

    // Settings of section pszSection, under the key that SetRegistryKey chose; before it is
    // chosen reads give the default and writes fail.
    void SetRegistryKey(const char* pszCompany);
    int GetProfileInt(const char* pszSection, const char* pszEntry, int nDefault) const;
    BOOL WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue) const;
    // A text in Unicode; empty when there is none.
    std::wstring GetProfileWideString(const char* pszSection, const char* pszEntry) const;
    BOOL WriteProfileWideString(const char* pszSection, const char* pszEntry,
                                const std::wstring& wstrValue) const;

    std::string m_strAppName;
    CDialog* m_pMainWnd = nullptr;
    int m_nExitCode = 0;

private:
    static LRESULT CALLBACK MessageFilterHook(int nCode, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<CRegistryProfile> m_pProfile;
};

// The application object of this process, or null before one exists.
CWinApp* AfxGetApp();
