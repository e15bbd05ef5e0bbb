// The clients registered with one of the fakes' Core Audio objects, for its Register and
// Unregister pair: a null client is refused with E_POINTER, one that is not registered is answered
// with the code the object's page gives. Where Windows keeps a reference to the client, THeld is
// CComPtr<TClient>; where it keeps none, TClient*. A registration may be deaf (a session
// manager's made outside the multithreaded apartment): it counts, but hears nothing.
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <type_traits>
#include <vector>

template <class TClient, class THeld = CComPtr<TClient>>
class TFakeClients {
public:
    explicit TFakeClients(HRESULT hrNotRegistered = E_INVALIDARG) : m_hrNotRegistered(hrNotRegistered) {}

    HRESULT Register(TClient* pClient, bool bHears = true)
    {
        if (pClient == nullptr)
            return E_POINTER;
        const std::lock_guard lock(m_mutex);
        if constexpr (std::is_pointer_v<THeld>)
            m_clients.push_back({pClient, bHears});
        else
            m_clients.push_back({THeld::Share(pClient), bHears});
        return S_OK;
    }

    HRESULT Unregister(TClient* pClient)
    {
        const std::lock_guard lock(m_mutex);
        const auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                     [&](const SClient& client) { return Raw(client.held) == pClient; });
        if (it == m_clients.end())
            return m_hrNotRegistered;
        m_clients.erase(it);
        return S_OK;
    }

    size_t Count() const
    {
        const std::lock_guard lock(m_mutex);
        return m_clients.size();
    }

    // Those that hear, as registered now: a delivery goes to the clients registered when it is
    // made.
    std::vector<THeld> Hearing() const
    {
        const std::lock_guard lock(m_mutex);
        std::vector<THeld> clients;
        for (const SClient& client : m_clients)
            if (client.bHears)
                clients.push_back(client.held);
        return clients;
    }

private:
    struct SClient {
        THeld held;
        bool bHears = true;
    };

    static TClient* Raw(const THeld& held)
    {
        if constexpr (std::is_pointer_v<THeld>)
            return held;
        else
            return held.Get();
    }

    const HRESULT m_hrNotRegistered;
    mutable std::mutex m_mutex;
    std::vector<SClient> m_clients;
};
