#include "mixer/endpoint/MultithreadedApartment.h"

#include "fw/ComApartment.h"

CMultithreadedApartment::CMultithreadedApartment()
    : m_hCall(::CreateSemaphoreW(nullptr, 0, 1, nullptr)), m_hDone(::CreateSemaphoreW(nullptr, 0, 1, nullptr))
{
    if (m_hCall && m_hDone)
        m_hThread.Reset(::CreateThread(nullptr, 0, &ServeCalls, this, 0, nullptr));
}

CMultithreadedApartment::~CMultithreadedApartment()
{
    if (!m_hThread)
        return;
    m_pCall = nullptr;
    ::ReleaseSemaphore(m_hCall.Get(), 1, nullptr);
    ::WaitForSingleObject(m_hThread.Get(), INFINITE);
}

void CMultithreadedApartment::Run(const std::function<void()>& call)
{
    if (!m_hThread) {
        call();
        return;
    }
    m_pCall = &call;
    ::ReleaseSemaphore(m_hCall.Get(), 1, nullptr);
    ::WaitForSingleObject(m_hDone.Get(), INFINITE);
}

DWORD WINAPI CMultithreadedApartment::ServeCalls(LPVOID pApartment)
{
    auto& apartment = *static_cast<CMultithreadedApartment*>(pApartment);
    const CComApartment multithreaded(COINIT_MULTITHREADED);
    while (::WaitForSingleObject(apartment.m_hCall.Get(), INFINITE) == WAIT_OBJECT_0 && apartment.m_pCall) {
        (*apartment.m_pCall)();
        ::ReleaseSemaphore(apartment.m_hDone.Get(), 1, nullptr);
    }
    return 0;
}
