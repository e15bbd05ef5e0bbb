#include "mixer/endpoint/CallbackKeeper.h"

CCallbackKeeper& CCallbackKeeper::Process()
{
    static CCallbackKeeper keeper;
    return keeper;
}

void CCallbackKeeper::Keep(CComPtr<IUnknown> pCallback)
{
    const CCriticalSectionLock lock(m_mutex);
    m_callbacks.push_back(std::move(pCallback));
}
