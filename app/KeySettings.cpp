#include "app/KeySettings.h"

#include "fw/ResourceString.h"
#include "fw/WinApp.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {

constexpr DWORD kModifierFlags = HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT;

std::string ValueName(int nKey, const std::string& strRoleWord)
{
    return LoadResourceString(IDS_KEY_VOLUME_UP + static_cast<UINT>(nKey)) + " " + strRoleWord;
}

} // namespace

WORD HotKeyOfStored(DWORD dwStored)
{
    const DWORD dwVirtualKey = dwStored & 0xFF;
    const DWORD dwModifiers = dwStored >> 8;
    if (dwVirtualKey == 0 || (dwModifiers & ~kModifierFlags) != 0)
        return 0;
    return static_cast<WORD>(dwStored);
}

CBarKeys ReadBarKeys(const std::string& strRoleWord)
{
    CBarKeys keys{};
    const CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return keys;
    const std::string strSection = LoadResourceString(IDS_SECTION_KEYS);
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey)
        keys[nKey] = HotKeyOfStored(static_cast<DWORD>(
            pApp->GetProfileInt(strSection.c_str(), ValueName(nKey, strRoleWord).c_str(), 0)));
    return keys;
}

void WriteBarKeys(const std::string& strRoleWord, const CBarKeys& keys)
{
    const CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    const std::string strSection = LoadResourceString(IDS_SECTION_KEYS);
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey)
        pApp->WriteProfileInt(strSection.c_str(), ValueName(nKey, strRoleWord).c_str(), keys[nKey]);
}
