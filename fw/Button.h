// CButton: a push button bound to a template control. For an owner-drawn button the parent
// hands WM_DRAWITEM to DrawItem, so a derived class draws its own face.
#pragma once

#include "fw/Wnd.h"

class CButton : public CWnd {
public:
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

    BOOL OnChildNotify(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
};
