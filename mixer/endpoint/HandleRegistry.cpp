#include "mixer/endpoint/HandleRegistry.h"

#include <dbt.h>

HMIXER CHandleRegistry::NewHandle()
{
    const CCriticalSectionLock lock(m_mutex);
    const auto hMixer = reinterpret_cast<HMIXER>(m_nNextHandle);
    m_nNextHandle += 4;
    return hMixer;
}

void CHandleRegistry::Insert(HMIXER hMixer, COpenHandle handle)
{
    const CCriticalSectionLock lock(m_mutex);
    m_handles.emplace(hMixer, std::move(handle));
}

std::optional<COpenHandle> CHandleRegistry::Remove(HMIXER hMixer)
{
    const CCriticalSectionLock lock(m_mutex);
    const auto it = m_handles.find(hMixer);
    if (it == m_handles.end())
        return std::nullopt;
    std::optional<COpenHandle> handle(std::move(it->second));
    m_handles.erase(it);
    return handle;
}

std::vector<HMIXER> CHandleRegistry::OpenHandles() const
{
    const CCriticalSectionLock lock(m_mutex);
    std::vector<HMIXER> handles;
    for (const auto& entry : m_handles)
        handles.push_back(entry.first);
    return handles;
}

bool CHandleRegistry::Find(HMIXER hMixer, UINT& nCard, std::shared_ptr<const CEndpointCard>& pCard) const
{
    const CCriticalSectionLock lock(m_mutex);
    const auto it = m_handles.find(hMixer);
    if (it == m_handles.end())
        return false;
    nCard = it->second.nCard;
    pCard = it->second.pCard;
    return true;
}

void CHandleRegistry::PostControlChange(HMIXER hMixer, DWORD dwControlID) const
{
    const CCriticalSectionLock lock(m_mutex);
    const auto it = m_handles.find(hMixer);
    if (it != m_handles.end() && it->second.hWndCallback != nullptr)
        ::PostMessageA(it->second.hWndCallback, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(hMixer),
                       static_cast<LPARAM>(dwControlID));
}

void CHandleRegistry::PostEndpointChange(const std::wstring& strEndpointId, bool bMute) const
{
    const CCriticalSectionLock lock(m_mutex);
    for (const auto& [hMixer, handle] : m_handles) {
        if (handle.hWndCallback == nullptr)
            continue;
        const auto& lines = handle.pCard->lines;
        for (DWORD d = 0; d < lines.size(); ++d)
            if (lines[d].strEndpointId == strEndpointId)
                ::PostMessageA(handle.hWndCallback, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(hMixer),
                               static_cast<LPARAM>(bMute ? MuteControlOf(d) : VolumeControlOf(d)));
    }
}

void CHandleRegistry::PostDeviceChange() const
{
    const CCriticalSectionLock lock(m_mutex);
    std::set<HWND> windows;
    for (const auto& entry : m_handles)
        if (entry.second.hWndCallback != nullptr && windows.insert(entry.second.hWndCallback).second)
            ::PostMessageA(entry.second.hWndCallback, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
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
