#include "mixer/endpoint/DeviceChangeClient.h"

#include "mixer/endpoint/EndpointDevices.h"

#include <utility>

CDeviceChangeClient::CDeviceChangeClient(CComPtr<IMMDeviceEnumerator> pEnumerator,
                                         std::function<void()> cardsChanged)
    : m_pEnumerator(std::move(pEnumerator)), m_cardsChanged(std::move(cardsChanged))
{
}

void CDeviceChangeClient::ReadingCards()
{
    std::vector<CComPtr<IMMDevice>> lookedUp;
    const CCriticalSectionLock lock(m_mutex);
    m_bReported = false;
    // Released when this function returns, after the lock.
    lookedUp.swap(m_lookedUp);
}

void CDeviceChangeClient::CardsRead(std::set<std::wstring> endpointIds)
{
    const CCriticalSectionLock lock(m_mutex);
    m_cardEndpoints = std::move(endpointIds);
}

void CDeviceChangeClient::DeviceFailed()
{
    CardsChanged();
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDeviceStateChanged(LPCWSTR pwstrDeviceId, DWORD dwNewState)
{
    if (dwNewState == DEVICE_STATE_ACTIVE || IsCardEndpoint(pwstrDeviceId))
        CardsChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDeviceAdded(LPCWSTR pwstrDeviceId)
{
    if (IsActive(pwstrDeviceId))
        CardsChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDeviceRemoved(LPCWSTR pwstrDeviceId)
{
    if (IsCardEndpoint(pwstrDeviceId))
        CardsChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDefaultDeviceChanged(EDataFlow, ERole role, LPCWSTR)
{
    // Windows reports a new default once per role; card 0 follows the console role only.
    if (role == eConsole)
        CardsChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnPropertyValueChanged(LPCWSTR pwstrDeviceId,
                                                                      const PROPERTYKEY key)
{
    // A new format (the user's speaker configuration) brings the volume a new channel count, so
    // the card is another one. Windows reports many other properties, which change no card.
    if (IsEqualPropertyKey(key, kDeviceFormatKey) && IsCardEndpoint(pwstrDeviceId))
        CardsChanged();
    return S_OK;
}

bool CDeviceChangeClient::IsCardEndpoint(LPCWSTR pwstrDeviceId) const
{
    const CCriticalSectionLock lock(m_mutex);
    return pwstrDeviceId != nullptr && m_cardEndpoints.count(pwstrDeviceId) != 0;
}

bool CDeviceChangeClient::IsActive(LPCWSTR pwstrDeviceId)
{
    // Looking a device up by the id that a notification names is what Core Audio offers for it.
    CComPtr<IMMDevice> pDevice;
    if (pwstrDeviceId == nullptr || FAILED(m_pEnumerator->GetDevice(pwstrDeviceId, pDevice.Put())) ||
        !pDevice)
        return false;
    DWORD dwState = 0;
    const bool bActive = SUCCEEDED(pDevice->GetState(&dwState)) && dwState == DEVICE_STATE_ACTIVE;
    const CCriticalSectionLock lock(m_mutex);
    m_lookedUp.push_back(std::move(pDevice));
    return bActive;
}

void CDeviceChangeClient::CardsChanged()
{
    {
        const CCriticalSectionLock lock(m_mutex);
        if (std::exchange(m_bReported, true))
            return;
    }
    m_cardsChanged();
}
