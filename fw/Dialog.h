// CDialog: a dialog built from a template, modeless (Create) or modal (DoModal).
//
// The dialog window is subclassed when it receives WM_INITDIALOG, so from then on every message
// passes through WindowProc: WM_DRAWITEM goes back to the bound control that sent it, WM_COMMAND
// to the command handlers of the message map (with the command's state step first when the
// command comes from a menu or an accelerator, never for a button), IDOK and IDCANCEL without a
// handler to OnOK and OnCancel, and everything else to the map or the dialog manager.
//
// The window menu's entries are commands however they are chosen. A WM_SYSCOMMAND (the platform's
// own window menu, the taskbar, Alt+F4) runs the map's command for its id, state step first, and
// goes on to the map's messages and the platform only when there is none. A platform entry chosen
// from the window menu shown as a popup, which arrives as WM_COMMAND, goes to the platform as the
// system command it is when the map has no command for it.
//
//   class CAboutBox : public CDialog {
//   public:
//       CAboutBox() : CDialog(IDD_ABOUTBOX) {}
//   protected:
//       BOOL OnInitDialog() override;
//   };
//   CAboutBox().DoModal();
#pragma once

#include "fw/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog modelessly; FALSE when the window could not be created.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Runs the dialog in its own modal loop, owned by the given parent or else by the
    // application's main window, and returns the value passed to EndDialog.
    INT_PTR DoModal();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

    // Keyboard processing of the dialog (tab, mnemonics, Enter and Escape) for a message taken
    // from the application's message loop. TRUE when the message was consumed.
    virtual BOOL PreTranslateMessage(MSG* pMsg) { return m_hWnd && ::IsDialogMessageA(m_hWnd, pMsg); }

protected:
    // Base: binds the template's controls (DoDataExchange). Returns TRUE to let the dialog
    // manager set the focus.
    virtual BOOL OnInitDialog()
    {
        DoDataExchange();
        return TRUE;
    }
    virtual void DoDataExchange() {}
    void BindControl(UINT nID, CWnd& control) { control.SubclassDlgItem(nID, *this); }

    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    BOOL HandleCommand(WPARAM wParam, LPARAM lParam);
    // A command from a menu or an accelerator: its state step, then the command unless the step
    // disabled it. FALSE when the map has neither.
    BOOL RunMenuCommand(UINT nID);
    HWND ParentHandle() const { return m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr; }

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
