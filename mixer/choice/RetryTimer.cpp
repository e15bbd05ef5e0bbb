#include "mixer/choice/RetryTimer.h"

CRetryTimer::CRetryTimer(UINT nMilliseconds, std::function<bool()> tryAgain)
    : m_tryAgain(std::move(tryAgain)),
      m_hWnd(::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr))
{
    if (m_hWnd)
        ::SetTimer(m_hWnd.Get(), reinterpret_cast<UINT_PTR>(this), nMilliseconds, &OnTimer);
}

void CALLBACK CRetryTimer::OnTimer(HWND hWnd, UINT, UINT_PTR idEvent, DWORD)
{
    if (reinterpret_cast<CRetryTimer*>(idEvent)->m_tryAgain())
        ::KillTimer(hWnd, idEvent);
}
