#include "mixer/endpoint/ChangeHandover.h"

CChangeHandover::CChangeHandover()
{
    m_hWnd = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    if (m_hWnd != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    }
}

CChangeHandover::~CChangeHandover()
{
    if (m_hWnd == nullptr)
        return;
    // Events still on their way are let go of unread: nobody is left to hear them.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, kEvent, kEvent, PM_REMOVE))
        std::unique_ptr<CHandedEvent>(reinterpret_cast<CHandedEvent*>(msg.lParam)).reset();
    ::DestroyWindow(m_hWnd);
}

void CChangeHandover::Post(HWND hWnd, std::unique_ptr<CHandedEvent> pEvent)
{
    if (hWnd != nullptr && ::PostMessageA(hWnd, kEvent, 0, reinterpret_cast<LPARAM>(pEvent.get())))
        pEvent.release();
}

void CChangeHandover::Keep(CComPtr<IUnknown> pCallback)
{
    m_kept.push_back(std::move(pCallback));
    // Without the window no callback could post anything either.
    if (m_hWnd == nullptr || !::PostMessageA(m_hWnd, kReleaseKept, 0, 0))
        m_kept.pop_back();
}

LRESULT CALLBACK CChangeHandover::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pHandover = reinterpret_cast<CChangeHandover*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg == kReleaseKept && !pHandover->m_kept.empty()) {
        pHandover->m_kept.pop_front();
        return 0;
    }
    if (uMsg == kEvent) {
        std::unique_ptr<CHandedEvent>(reinterpret_cast<CHandedEvent*>(lParam))->Deliver();
        return 0;
    }
    return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
