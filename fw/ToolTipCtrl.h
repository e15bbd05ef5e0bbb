// CToolTipCtrl: the tooltip window of a dialog. Tools are whole windows (the dialog itself or one
// of its controls); the dialog relays its mouse messages with RelayEvent, so the tooltip sees the
// pointer over controls that do not forward it themselves.
#pragma once

#include "fw/Wnd.h"

#include <commctrl.h>

#include <string>

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    BOOL Create(const CWnd& owner);
    BOOL AddTool(HWND hTool, const std::string& strText);
    // A new text for a tool that is there, in Unicode: the tool itself stays.
    void SetText(HWND hTool, const std::wstring& wstrText);
    void RelayEvent(MSG* pMsg);
    // The text of a tool, or empty when there is no such tool.
    std::string GetText(HWND hTool) const;

private:
    TTTOOLINFOA ToolInfo(HWND hTool) const;

    HWND m_hWnd = nullptr;
    HWND m_hOwner = nullptr;
};
