#include "mixer/frontend/HandleTable.h"

#include <dbt.h>

#include <atomic>
#include <set>

HMIXER CHandleTable::NewHandle()
{
    static std::atomic<UINT_PTR> s_nNext{0x6E000};
    return reinterpret_cast<HMIXER>(s_nNext.fetch_add(4));
}

void CHandleTable::Insert(HMIXER hMixer, COpenHandle handle)
{
    const CCriticalSectionLock lock(m_mutex);
    m_handles.emplace(hMixer, std::move(handle));
}

std::optional<COpenHandle> CHandleTable::Remove(HMIXER hMixer)
{
    const CCriticalSectionLock lock(m_mutex);
    const auto it = m_handles.find(hMixer);
    if (it == m_handles.end())
        return std::nullopt;
    std::optional<COpenHandle> handle(std::move(it->second));
    m_handles.erase(it);
    return handle;
}

std::vector<HMIXER> CHandleTable::OpenHandles() const
{
    const CCriticalSectionLock lock(m_mutex);
    std::vector<HMIXER> handles;
    for (const auto& entry : m_handles)
        handles.push_back(entry.first);
    return handles;
}

bool CHandleTable::Find(HMIXER hMixer, UINT& nCard, std::shared_ptr<CModelCard>& pCard) const
{
    const CCriticalSectionLock lock(m_mutex);
    const auto it = m_handles.find(hMixer);
    if (it == m_handles.end())
        return false;
    nCard = it->second.nCard;
    pCard = it->second.pCard;
    return true;
}

void CHandleTable::NotifyCard(const CModelCard* pCard, DWORD dwControlID) const
{
    const CCriticalSectionLock lock(m_mutex);
    for (const auto& [hMixer, handle] : m_handles)
        if (handle.pCard.get() == pCard)
            handle.callback.Notify(hMixer, MM_MIXM_CONTROL_CHANGE, dwControlID);
}

void CHandleTable::ControlChanged(HMIXER hMixer, DWORD dwControlID)
{
    const CCriticalSectionLock lock(m_mutex);
    const auto it = m_handles.find(hMixer);
    if (it != m_handles.end())
        it->second.callback.Notify(hMixer, MM_MIXM_CONTROL_CHANGE, dwControlID);
}

void CHandleTable::CardsChanged()
{
    const CCriticalSectionLock lock(m_mutex);
    std::set<HWND> windows;
    for (const auto& entry : m_handles) {
        const HWND hWnd = entry.second.callback.Window();
        if (hWnd != nullptr && windows.insert(hWnd).second)
            ::PostMessageA(hWnd, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    }
}
