// CAboutBox: the modal box with the program's icon, name and version, opened from the bar's
// window menu.
//
//   CAboutBox().DoModal();
#pragma once

#include "fw/Dialog.h"
#include "res/resource.h"

class CAboutBox : public CDialog {
public:
    CAboutBox() : CDialog(IDD_ABOUTBOX) {}

protected:
    BOOL OnInitDialog() override;
};
