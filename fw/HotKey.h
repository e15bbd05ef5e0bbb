// CHotKey: one global key registered on a window (RegisterHotKey), let go with UnregisterHotKey
// when its owner goes or is reset. The window then receives WM_HOTKEY with the id whichever
// program has the keyboard.
//
//   CHotKey key;
//   if (!key.Register(hWnd, 1, MOD_CONTROL | MOD_ALT, 'M'))
//       ... another program (or another window) holds Ctrl+Alt+M
#pragma once

#include <windows.h>

#include <utility>

class CHotKey {
public:
    CHotKey() = default;
    ~CHotKey() { Reset(); }
    CHotKey(const CHotKey&) = delete;
    CHotKey& operator=(const CHotKey&) = delete;

    // Lets go of any key held so far, then registers this one; FALSE when the system refused it,
    // which leaves nothing registered.
    BOOL Register(HWND hWnd, int nID, UINT fsModifiers, UINT nVirtualKey)
    {
        Reset();
        if (!::RegisterHotKey(hWnd, nID, fsModifiers, nVirtualKey))
            return FALSE;
        m_hWnd = hWnd;
        m_nID = nID;
        return TRUE;
    }
    void Reset()
    {
        if (m_hWnd)
            ::UnregisterHotKey(std::exchange(m_hWnd, nullptr), m_nID);
    }
    bool IsRegistered() const { return m_hWnd != nullptr; }

private:
    HWND m_hWnd = nullptr;
    int m_nID = 0;
};
