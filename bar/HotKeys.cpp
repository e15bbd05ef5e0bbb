#include "bar/HotKeys.h"

#include <commctrl.h>

namespace {

// A key's id on the bar window: ids from 0 to 0xBFFF belong to the program.
constexpr int kFirstHotKeyID = 1;
// How often a held key is looked at: a press this soon after its release counts as still held.
constexpr UINT kHeldCheckMilliseconds = 50;

bool Repeats(int nKey)
{
    return nKey == kKeyVolumeUp || nKey == kKeyVolumeDown;
}

} // namespace

UINT HotKeyModifiers(WORD wHotKey)
{
    const BYTE nFlags = HIBYTE(wHotKey);
    UINT fsModifiers = 0;
    if (nFlags & HOTKEYF_ALT)
        fsModifiers |= MOD_ALT;
    if (nFlags & HOTKEYF_CONTROL)
        fsModifiers |= MOD_CONTROL;
    if (nFlags & HOTKEYF_SHIFT)
        fsModifiers |= MOD_SHIFT;
    return fsModifiers;
}

std::string HotKeyName(WORD wHotKey)
{
    const BYTE nFlags = HIBYTE(wHotKey);
    std::string strName;
    if (nFlags & HOTKEYF_CONTROL)
        strName += "Ctrl+";
    if (nFlags & HOTKEYF_SHIFT)
        strName += "Shift+";
    if (nFlags & HOTKEYF_ALT)
        strName += "Alt+";
    // GetKeyNameText takes the key as WM_KEYDOWN's lParam: the scan code, and bit 24 for a key
    // of the extended set (the arrows beside the number pad, which share their scan codes).
    const UINT nScanCode = ::MapVirtualKeyA(LOBYTE(wHotKey), MAPVK_VK_TO_VSC);
    const LONG lKey = static_cast<LONG>((nScanCode << 16) | ((nFlags & HOTKEYF_EXT) ? 1u << 24 : 0u));
    char szKey[64] = {};
    ::GetKeyNameTextA(lKey, szKey, sizeof szKey);
    return strName + szKey;
}

WORD CBarHotKeys::Take(HWND hWnd, const CBarKeys& keys)
{
    m_hWnd = hWnd;
    m_keys = keys;
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey) {
        m_registered[nKey].Reset();
        if (m_keys[nKey] != 0)
            m_registered[nKey].Register(hWnd, kFirstHotKeyID + nKey, HotKeyModifiers(m_keys[nKey]),
                                        LOBYTE(m_keys[nKey]));
    }
    return FirstRefused();
}

void CBarHotKeys::LetGo()
{
    for (CHotKey& key : m_registered)
        key.Reset();
    if (m_hWnd)
        ::KillTimer(m_hWnd, kHeldTimer);
    m_bHeld = {};
}

WORD CBarHotKeys::FirstRefused() const
{
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey)
        if (m_keys[nKey] != 0 && !m_registered[nKey].IsRegistered())
            return m_keys[nKey];
    return 0;
}

int CBarHotKeys::KeyOfID(int nID)
{
    const int nKey = nID - kFirstHotKeyID;
    return nKey >= 0 && nKey < kBarKeyCount ? nKey : -1;
}

bool CBarHotKeys::TakePress(int nKey)
{
    if (Repeats(nKey))
        return true;
    if (m_bHeld[nKey])
        return false;
    m_bHeld[nKey] = true;
    ::SetTimer(m_hWnd, kHeldTimer, kHeldCheckMilliseconds, nullptr);
    return true;
}

BOOL CBarHotKeys::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHeldTimer)
        return FALSE;
    bool bAnyHeld = false;
    for (int nKey = 0; nKey < kBarKeyCount; ++nKey) {
        m_bHeld[nKey] = m_bHeld[nKey] && (::GetAsyncKeyState(LOBYTE(m_keys[nKey])) & 0x8000) != 0;
        bAnyHeld = bAnyHeld || m_bHeld[nKey];
    }
    if (!bAnyHeld)
        ::KillTimer(m_hWnd, kHeldTimer);
    return TRUE;
}
