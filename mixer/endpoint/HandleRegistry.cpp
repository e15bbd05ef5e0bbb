#include "mixer/endpoint/HandleRegistry.h"

void CHandleRegistry::Attach(std::weak_ptr<CChangeSink> pSink)
{
    const CCriticalSectionLock lock(m_mutex);
    m_pSink = std::move(pSink);
}

std::shared_ptr<CChangeSink> CHandleRegistry::Sink() const
{
    const CCriticalSectionLock lock(m_mutex);
    return m_pSink.lock();
}

void CHandleRegistry::PostControlChange(HMIXER hMixer, DWORD dwControlID) const
{
    if (const auto pSink = Sink())
        pSink->ControlChanged(hMixer, dwControlID);
}

void CHandleRegistry::PostDeviceChange() const
{
    if (const auto pSink = Sink())
        pSink->CardsChanged();
}

void CHandleRegistry::SetKnownEndpoints(std::set<std::wstring> endpointIds)
{
    const CCriticalSectionLock lock(m_mutex);
    m_knownEndpoints = std::move(endpointIds);
}

bool CHandleRegistry::IsKnownEndpoint(const std::wstring& strEndpointId) const
{
    const CCriticalSectionLock lock(m_mutex);
    return m_knownEndpoints.count(strEndpointId) != 0;
}
