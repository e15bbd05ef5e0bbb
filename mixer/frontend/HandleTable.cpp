#include "mixer/frontend/HandleTable.h"

#include <algorithm>
#include <atomic>

CHandleTable::CHandleTable()
{
    ::CoCreateGuid(&m_guidWrites);
}

HMIXER CHandleTable::NewHandle()
{
    static std::atomic<UINT_PTR> s_nNext{0x6E000};
    return reinterpret_cast<HMIXER>(s_nNext.fetch_add(4));
}

std::vector<CHandleTable::CEntry>::const_iterator CHandleTable::Entry(HMIXER hMixer) const
{
    return std::find_if(m_handles.begin(), m_handles.end(),
                        [&](const CEntry& entry) { return entry.first == hMixer; });
}

void CHandleTable::Insert(HMIXER hMixer, SOpenHandle handle)
{
    m_handles.emplace_back(hMixer, std::move(handle));
}

bool CHandleTable::Remove(HMIXER hMixer, SOpenHandle& handle)
{
    const auto it = Entry(hMixer);
    if (it == m_handles.end())
        return false;
    handle = std::move(m_handles[it - m_handles.begin()].second);
    m_handles.erase(it);
    return true;
}

void CHandleTable::RemoveAll()
{
    // Empty before the records go, so that a listening that ends finds no handle.
    std::vector<CEntry> handles;
    handles.swap(m_handles);
}

size_t CHandleTable::OpenCount() const
{
    return m_handles.size();
}

bool CHandleTable::Find(HMIXER hMixer, UINT& nCard, std::shared_ptr<CModelCard>& pCard) const
{
    const auto it = Entry(hMixer);
    if (it == m_handles.end())
        return false;
    nCard = it->second.nCard;
    pCard = it->second.pCard;
    return true;
}

void CHandleTable::NotifyCard(const CModelCard* pCard, UINT uMsg, DWORD dwParam,
                              const GUID& guidContext) const
{
    // GUID_NULL is no one's: Windows hands it on for a write that gave no context.
    if (!IsEqualGUID(guidContext, GUID_NULL) && IsEqualGUID(guidContext, m_guidWrites))
        return;
    for (const auto& [hMixer, handle] : m_handles)
        if (handle.pCard.get() == pCard)
            handle.callback.Notify(hMixer, uMsg, dwParam);
}

void CHandleTable::ControlChanged(const CModelCard* pCard, DWORD dwControlID, const GUID& guidContext)
{
    NotifyCard(pCard, MM_MIXM_CONTROL_CHANGE, dwControlID, guidContext);
}

void CHandleTable::LineChanged(const CModelCard* pCard, DWORD dwLineID, const GUID& guidContext)
{
    NotifyCard(pCard, MM_MIXM_LINE_CHANGE, dwLineID, guidContext);
}

void CHandleTable::AddWaitingWindow(HWND hWnd)
{
    if (std::find(m_waitingWindows.begin(), m_waitingWindows.end(), hWnd) == m_waitingWindows.end())
        m_waitingWindows.push_back(hWnd);
}

void CHandleTable::CardsChanged()
{
    // Each window once: those that hold handles, and those that waited for a card.
    std::vector<HWND> windows;
    windows.swap(m_waitingWindows);
    for (const CEntry& entry : m_handles)
        windows.push_back(entry.second.callback.Window());
    for (size_t i = 0; i < windows.size(); ++i) {
        const HWND hWnd = windows[i];
        if (std::find(windows.begin(), windows.begin() + i, hWnd) == windows.begin() + i)
            PostCardsChanged(hWnd);
    }
}
