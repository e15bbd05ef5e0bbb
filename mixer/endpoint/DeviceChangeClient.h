// CDeviceChangeClient hears Core Audio's device notifications for the endpoint mixer. When the
// default endpoint or the set of active endpoints changes, the cards are read again at the next
// mixer call and every window with an open handle gets WM_DEVICECHANGE with
// DBT_DEVNODES_CHANGED, the message on which the bars restart on the new devices.
#pragma once

#include "mixer/endpoint/ComPtr.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <memory>

class CHandleRegistry;

class CDeviceChangeClient final : public CComObject<IMMNotificationClient> {
public:
    explicit CDeviceChangeClient(std::weak_ptr<CHandleRegistry> pRegistry);

    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR pwstrDeviceId, DWORD dwNewState) override;
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR pwstrDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR pwstrDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                     LPCWSTR pwstrDefaultDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR pwstrDeviceId, const PROPERTYKEY key) override;

private:
    bool IsKnown(LPCWSTR pwstrDeviceId) const;
    void DevicesChanged() const;

    const std::weak_ptr<CHandleRegistry> m_pRegistry;
};
