// The state of one menu or accelerator command, handed to the command's state step just before
// the command runs. A state step may disable the command, which then does not run; steps may
// also do work of their own (toggle a flag and its check mark, move a radio mark).
#pragma once

#include <windows.h>

class CCmdUI {
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}

    void Enable(BOOL bEnable = TRUE) { m_bEnabled = bEnable; }
    BOOL IsEnabled() const { return m_bEnabled; }

    const UINT m_nID;

private:
    BOOL m_bEnabled = TRUE;
};
