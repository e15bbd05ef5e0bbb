#include "mixer/frontend/MixerCallback.h"

#include <dbt.h>

void CMixerCallback::Notify(HMIXER hMixer, UINT uMsg, DWORD dwParam) const
{
    if (m_dwTarget == 0)
        return;
    const auto wParam = reinterpret_cast<WPARAM>(hMixer);
    const auto lParam = static_cast<LPARAM>(dwParam);
    switch (m_dwType) {
    case CALLBACK_WINDOW:
        ::PostMessageA(reinterpret_cast<HWND>(m_dwTarget), uMsg, wParam, lParam);
        break;
    case CALLBACK_THREAD:
        ::PostThreadMessageA(static_cast<DWORD>(m_dwTarget), uMsg, wParam, lParam);
        break;
    case CALLBACK_EVENT:
        ::SetEvent(reinterpret_cast<HANDLE>(m_dwTarget));
        break;
    default:
        break;
    }
}

void PostCardsChanged(HWND hWnd)
{
    if (hWnd != nullptr && ::IsWindow(hWnd))
        ::PostMessageA(hWnd, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, kMixerCardsChanged);
}
