// The bar's global keys: the hotkey control's word turned into RegisterHotKey's modifiers (the two
// keep their flags in different orders), a key's name as the bar says it ("Ctrl+Alt+M"), and
// CBarHotKeys, the four keys of one bar registered on its window.
//
//   m_hotKeys.Take(m_hWnd, ReadBarKeys("r0"));       // at start; a refused key stays wanted
//   WM_HOTKEY: const int nKey = m_hotKeys.KeyOfID(nID);
//              if (nKey >= 0 && m_hotKeys.TakePress(nKey)) ... act
//   m_hotKeys.LetGo();                                // at the end
#pragma once

#include "app/KeySettings.h"
#include "fw/HotKey.h"

#include <windows.h>

#include <array>
#include <string>

// RegisterHotKey's MOD_* for a hotkey control word's HOTKEYF_* (the two keep their flags in
// different orders). HOTKEYF_EXT only tells the key's place on the keyboard and has no modifier.
UINT HotKeyModifiers(WORD wHotKey);
// The modifiers in the order the system names them, then the key as the keyboard names it:
// "Ctrl+Shift+Alt+F5".
std::string HotKeyName(WORD wHotKey);

class CBarHotKeys {
public:
    // The timer that watches a held key.
    static constexpr UINT_PTR kHeldTimer = 0x4B48;

    // Lets go of the keys held so far and registers each of these that is set on hWnd. A key that
    // another program holds stays wanted (FirstRefused); the answer is that key, or 0.
    WORD Take(HWND hWnd, const CBarKeys& keys);
    // Lets go of every key; they stay wanted.
    void LetGo();
    const CBarKeys& Keys() const { return m_keys; }
    // The first key that is wanted but not registered, or 0.
    WORD FirstRefused() const;
    // The key of a WM_HOTKEY's id, or -1 for an id that is not the bar's.
    static int KeyOfID(int nID);
    // Whether a press acts. The volume steps act at the keyboard's repeat while held; Mute and Show
    // or Hide act once per press: a timer watches the held key until it is released, and only
    // while it is held. (MOD_NOREPEAT would do it only from Windows 7 on, and Wine takes the flag
    // but repeats all the same.)
    bool TakePress(int nKey);
    // The held keys' timer; FALSE for a timer that is not this one.
    BOOL OnTimer(UINT_PTR nIDEvent);

private:
    HWND m_hWnd = nullptr;
    CBarKeys m_keys{};
    std::array<CHotKey, kBarKeyCount> m_registered;
    std::array<bool, kBarKeyCount> m_bHeld{};
};
