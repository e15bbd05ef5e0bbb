#include "bar/KeysDlg.h"

#include "bar/HotKeys.h"
#include "fw/AnsiText.h"
#include "fw/ResourceString.h"
#include "res/resource.h"

#include <commctrl.h>

#include <utility>

namespace {

// A string table text with its one "%s" filled in.
std::string Filled(UINT nID, const std::string& strValue)
{
    std::string strText = LoadResourceString(nID);
    if (const size_t nAt = strText.find("%s"); nAt != std::string::npos)
        strText.replace(nAt, 2, strValue);
    return strText;
}

} // namespace

CKeysDlg::CKeysDlg(std::wstring wstrLineName, const CBarKeys& keys, WORD wInUse, CTakeKeys takeKeys,
                   CWnd* pParent)
    : CDialog(IDD_KEYS, pParent), m_wstrLineName(std::move(wstrLineName)), m_keys(keys), m_wInUse(wInUse),
      m_takeKeys(std::move(takeKeys))
{
}

BOOL CKeysDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Wide, as a program's name may be in any script.
    if (std::wstring wstrTitle = ToWide(LoadResourceString(IDS_KEYS_TITLE));
        !m_wstrLineName.empty() && wstrTitle.find(L"%s") != std::wstring::npos)
        ::SetWindowTextW(m_hWnd, wstrTitle.replace(wstrTitle.find(L"%s"), 2, m_wstrLineName).c_str());
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey) {
        const HWND hControl = ::GetDlgItem(m_hWnd, IDC_KEY_VOLUME_UP + nKey);
        // A key alone, or with Shift alone, would be taken from every program the user types in:
        // the control adds Ctrl+Alt to it.
        ::SendMessageA(hControl, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                       MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        ::SendMessageA(hControl, HKM_SETHOTKEY, m_keys[nKey], 0);
    }
    if (m_wInUse != 0)
        SayInUse(m_wInUse);
    return TRUE;
}

void CKeysDlg::OnOK()
{
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey)
        m_keys[nKey] =
            static_cast<WORD>(::SendDlgItemMessageA(m_hWnd, IDC_KEY_VOLUME_UP + nKey, HKM_GETHOTKEY, 0, 0));
    if (const WORD wRefused = m_takeKeys(m_keys); wRefused != 0) {
        SayInUse(wRefused);
        return;
    }
    CDialog::OnOK();
}

void CKeysDlg::SayInUse(WORD wKey)
{
    ::SetDlgItemTextA(m_hWnd, IDC_KEYS_MESSAGE, Filled(IDS_KEY_IN_USE, HotKeyName(wKey)).c_str());
}
