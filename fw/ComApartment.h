// COM on the calling thread for as long as this lives. Every successful CoInitializeEx, S_FALSE
// (the thread had COM already) included, is balanced by one CoUninitialize; RPC_E_CHANGED_MODE
// (the thread is in the other apartment already) is not ours to balance, but COM can be used.
//
//   const CComApartment apartment;                       // a single-threaded apartment
//   if (apartment) ::CoCreateInstance(...);              // false only when COM is not there
#pragma once

#include <windows.h>
#include <objbase.h>

class CComApartment {
public:
    // A user-interface thread needs a single-threaded apartment, the default.
    explicit CComApartment(DWORD dwCoInit = COINIT_APARTMENTTHREADED)
        : m_hrInit(::CoInitializeEx(nullptr, dwCoInit))
    {
    }
    ~CComApartment()
    {
        if (SUCCEEDED(m_hrInit))
            ::CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

    explicit operator bool() const { return SUCCEEDED(m_hrInit) || m_hrInit == RPC_E_CHANGED_MODE; }

private:
    const HRESULT m_hrInit;
};
