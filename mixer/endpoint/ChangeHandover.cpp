#include "mixer/endpoint/ChangeHandover.h"

CChangeHandover::CChangeHandover(CHandler handler) : m_handler(std::move(handler))
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
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
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
    if (uMsg >= kControlChanged && uMsg <= kSessionEvent) {
        pHandover->m_handler(uMsg, lParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
