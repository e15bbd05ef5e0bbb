// CMultithreadedApartment runs calls on a thread of COM's multithreaded apartment and waits for
// each. Windows hears a registration for new audio sessions only from that apartment ("if the
// MTA is not initialized, the application does not receive session notifications"), while the
// mixer's thread, a user-interface thread, stays single-threaded. The thread ends with the
// object; where it cannot be started, a call runs on the calling thread.
//
// Usage: CMultithreadedApartment apartment; apartment.Run([&] { pManager->Register...(...); });
// Only one thread calls Run.
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <functional>

class CMultithreadedApartment {
public:
    CMultithreadedApartment();
    ~CMultithreadedApartment();
    CMultithreadedApartment(const CMultithreadedApartment&) = delete;
    CMultithreadedApartment& operator=(const CMultithreadedApartment&) = delete;

    void Run(const std::function<void()>& call);

private:
    static DWORD WINAPI ServeCalls(LPVOID pApartment);

    CScopedKernelHandle m_hCall;
    CScopedKernelHandle m_hDone;
    CScopedKernelHandle m_hThread;
    // The call waiting for the thread; null tells it to end.
    const std::function<void()>* m_pCall = nullptr;
};
