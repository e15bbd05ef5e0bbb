// CBarApp: start-up and end of one copy of the program. Start-up names the application, points
// the settings at the registry, finds out whether another copy is running, takes the role word
// from the command tail and creates the bar as the copy's only main window. The message filter
// turns the Escape key into the bar's hide command.
#pragma once

#include "app/RunningCopies.h"
#include "fw/WinApp.h"

#include <windows.h>

#include <memory>

class CBarDlg;

class CBarApp : public CWinApp {
public:
    CBarApp();
    ~CBarApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL ProcessMessageFilter(int nCode, LPMSG pMsg) override;

protected:
    // The bar of this copy; a benchmark makes one that reports each part of its start.
    virtual std::unique_ptr<CBarDlg> MakeBar(CRunningCopies& copies, CStartTurn startTurn);

private:
    // Made with the application object, before anything else, so that a change of the sound
    // hardware while this copy starts is not missed; the bar asks it until the bar is deleted.
    CRunningCopies m_copies;

public:
    std::unique_ptr<CBarDlg> m_pBarDlg;
    HACCEL m_hAccel = nullptr;
};
