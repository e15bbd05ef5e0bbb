// CKeysDlg: the modal dialog that sets a bar's four global keys, one hotkey control each. OK hands
// the keys to the bar, which registers them; one that another program holds is said by name, and
// the dialog stays open until the user changes or clears it, or cancels.
//
//   CKeysDlg dlg(wstrLineName, keys, wInUse, [&](const CBarKeys& k) { return hotKeys.Take(hWnd, k); });
//   if (dlg.DoModal() == IDOK) WriteBarKeys(strRoleWord, dlg.Keys());
#pragma once

#include "app/KeySettings.h"
#include "fw/Dialog.h"

#include <functional>
#include <string>

class CKeysDlg : public CDialog {
public:
    // Takes the keys; answers the first that another program holds, or 0 when all are taken.
    using CTakeKeys = std::function<WORD(const CBarKeys&)>;

    // wstrLineName: the line or program the bar drives, for the title; wInUse: a key already known to be held
    // by another program, said as the dialog opens (0: none).
    CKeysDlg(std::wstring wstrLineName, const CBarKeys& keys, WORD wInUse, CTakeKeys takeKeys,
             CWnd* pParent = nullptr);

    const CBarKeys& Keys() const { return m_keys; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void SayInUse(WORD wKey);

    std::wstring m_wstrLineName;
    CBarKeys m_keys;
    WORD m_wInUse;
    CTakeKeys m_takeKeys;
};
