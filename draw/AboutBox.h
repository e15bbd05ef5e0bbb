// CAboutBox: the modal box with the program's icon, name and version, opened from the bar's
// window menu.
//
//   CAboutBox().DoModal();
#pragma once

#include "fw/Dialog.h"

class CAboutBox : public CDialog {
public:
    CAboutBox();
    ~CAboutBox() override;

protected:
    BOOL OnInitDialog() override;
};
