#include "mixer/endpoint/HandleRegistry.h"

#include "mixer/frontend/HandleTable.h"

void CHandleRegistry::Attach(std::weak_ptr<CHandleTable> pHandles)
{
    const CCriticalSectionLock lock(m_mutex);
    m_pHandles = std::move(pHandles);
}

std::shared_ptr<CHandleTable> CHandleRegistry::Handles() const
{
    const CCriticalSectionLock lock(m_mutex);
    return m_pHandles.lock();
}

void CHandleRegistry::PostControlChange(HMIXER hMixer, DWORD dwControlID) const
{
    if (const auto pHandles = Handles())
        pHandles->ControlChanged(hMixer, dwControlID);
}

void CHandleRegistry::PostDeviceChange() const
{
    if (const auto pHandles = Handles())
        pHandles->CardsChanged();
}
