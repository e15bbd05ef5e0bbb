#include "mixer/endpoint/DeviceChangeClient.h"

#include "mixer/endpoint/HandleRegistry.h"

CDeviceChangeClient::CDeviceChangeClient(std::weak_ptr<CHandleRegistry> pRegistry)
    : m_pRegistry(std::move(pRegistry))
{
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDeviceStateChanged(LPCWSTR pwstrDeviceId, DWORD dwNewState)
{
    // An endpoint that becomes active, or one of the cards' endpoints that stops being active;
    // state changes among devices that were never usable change no card.
    if (dwNewState == DEVICE_STATE_ACTIVE || IsKnown(pwstrDeviceId))
        DevicesChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDeviceAdded(LPCWSTR)
{
    DevicesChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDeviceRemoved(LPCWSTR pwstrDeviceId)
{
    if (IsKnown(pwstrDeviceId))
        DevicesChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnDefaultDeviceChanged(EDataFlow, ERole role, LPCWSTR)
{
    // Windows reports a new default once per role; card 0 follows the console role only.
    if (role == eConsole)
        DevicesChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceChangeClient::OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY)
{
    return S_OK;
}

bool CDeviceChangeClient::IsKnown(LPCWSTR pwstrDeviceId) const
{
    const auto pRegistry = m_pRegistry.lock();
    return pRegistry && pwstrDeviceId != nullptr && pRegistry->IsKnownEndpoint(pwstrDeviceId);
}

void CDeviceChangeClient::DevicesChanged() const
{
    if (const auto pRegistry = m_pRegistry.lock()) {
        pRegistry->MarkCardsStale();
        pRegistry->PostDeviceChange();
    }
}
