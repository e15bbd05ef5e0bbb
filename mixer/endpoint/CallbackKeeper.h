// CCallbackKeeper keeps the callbacks that the mixer has unregistered from Core Audio until the
// process ends. Windows may still be inside a callback when the call that unregisters it returns
// (a volume notification under way on another thread), without a reference of its own for that
// call; releasing the callback then would delete an object that is running. They are small and
// few (one or two per closed mixer handle).
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/endpoint/ComPtr.h"

#include <vector>

class CCallbackKeeper {
public:
    // The process's keeper. The endpoint mixer asks for it when it starts, so that it is made
    // before the mixer and, as a static, outlives it.
    static CCallbackKeeper& Process();

    void Keep(CComPtr<IUnknown> pCallback);

private:
    CCallbackKeeper() = default;

    CCriticalSection m_mutex;
    std::vector<CComPtr<IUnknown>> m_callbacks;
};
