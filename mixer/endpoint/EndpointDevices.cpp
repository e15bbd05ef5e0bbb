#include "mixer/endpoint/EndpointDevices.h"

#include "fw/ComMemory.h"
#include "mixer/endpoint/EndpointCards.h"

#include <mmsystem.h>
// The property keys are defined (not only declared) where initguid.h comes first.
#include <initguid.h>
#include <functiondiscoverykeys_devpkey.h>

#include <algorithm>

namespace {

// Channel counts beyond any speaker layout are taken as a broken answer.
constexpr UINT kMaxChannels = 32;

std::wstring DeviceId(IMMDevice* pDevice)
{
    CTaskMemString strId;
    return SUCCEEDED(pDevice->GetId(strId.Put())) ? strId.Str() : std::wstring();
}

std::wstring TextProperty(IPropertyStore* pStore, const PROPERTYKEY& key)
{
    CPropVariant value;
    if (SUCCEEDED(pStore->GetValue(key, value.Put())) && value->vt == VT_LPWSTR && value->pwszVal != nullptr)
        return value->pwszVal;
    return {};
}

// A GUID property as text; empty when the endpoint has none.
std::wstring GuidProperty(IPropertyStore* pStore, const PROPERTYKEY& key)
{
    CPropVariant value;
    wchar_t szGuid[40] = {};
    if (SUCCEEDED(pStore->GetValue(key, value.Put())) && value->vt == VT_CLSID && value->puuid != nullptr &&
        ::StringFromGUID2(*value->puuid, szGuid, 40) != 0)
        return szGuid;
    return {};
}

struct SFoundEndpoint {
    SEndpointInfo info;
    CComPtr<IMMDevice> pDevice;
    CComPtr<IAudioEndpointVolume> pVolume;
};

std::vector<SFoundEndpoint> ActiveEndpoints(IMMDeviceEnumerator* pEnumerator, EDataFlow flow)
{
    std::vector<SFoundEndpoint> found;
    CComPtr<IMMDeviceCollection> pCollection;
    UINT nCount = 0;
    if (FAILED(pEnumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, pCollection.Put())) ||
        !pCollection || FAILED(pCollection->GetCount(&nCount)))
        return found;
    for (UINT i = 0; i < nCount; ++i) {
        CComPtr<IMMDevice> pDevice;
        if (FAILED(pCollection->Item(i, pDevice.Put())) || !pDevice)
            continue;
        SFoundEndpoint endpoint;
        endpoint.info.strId = DeviceId(pDevice.Get());
        if (endpoint.info.strId.empty())
            continue;
        if (FAILED(pDevice->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                     endpoint.pVolume.PutVoid())) ||
            !endpoint.pVolume)
            continue;
        CComPtr<IPropertyStore> pStore;
        if (SUCCEEDED(pDevice->OpenPropertyStore(STGM_READ, pStore.Put())) && pStore) {
            endpoint.info.strName = TextProperty(pStore.Get(), PKEY_Device_FriendlyName);
            endpoint.info.strAdapter = TextProperty(pStore.Get(), PKEY_DeviceInterface_FriendlyName);
            endpoint.info.strContainer = GuidProperty(pStore.Get(), kContainerIdKey);
        }
        endpoint.pDevice = std::move(pDevice);
        found.push_back(std::move(endpoint));
    }
    return found;
}

// The channels of the endpoint's volume, which follow its format; 0 when it cannot tell.
UINT ChannelCount(IMMDevice* pDevice)
{
    CComPtr<IAudioEndpointVolume> pVolume;
    UINT cChannels = 0;
    if (FAILED(pDevice->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, pVolume.PutVoid())) ||
        !pVolume || FAILED(pVolume->GetChannelCount(&cChannels)))
        return 0;
    return cChannels;
}

std::wstring DefaultEndpointId(IMMDeviceEnumerator* pEnumerator, EDataFlow flow)
{
    CComPtr<IMMDevice> pDevice;
    if (FAILED(pEnumerator->GetDefaultAudioEndpoint(flow, eConsole, pDevice.Put())) || !pDevice)
        return {};
    return DeviceId(pDevice.Get());
}

std::vector<SEndpointInfo> Infos(const std::vector<SFoundEndpoint>& endpoints)
{
    std::vector<SEndpointInfo> infos;
    for (const SFoundEndpoint& endpoint : endpoints)
        infos.push_back(endpoint.info);
    return infos;
}

SEndpointLine MakeLine(DWORD dwComponentType, const SFoundEndpoint& endpoint)
{
    SEndpointLine line;
    line.dwComponentType = dwComponentType;
    line.strEndpointId = endpoint.info.strId;
    line.pDevice = endpoint.pDevice;
    line.pVolume = endpoint.pVolume;
    UINT cChannels = 0;
    if (SUCCEEDED(endpoint.pVolume->GetChannelCount(&cChannels)))
        line.cChannels = std::clamp<UINT>(cChannels, 1, kMaxChannels);
    UINT nStep = 0;
    UINT cPositions = 0;
    // GetVolumeStepInfo counts positions, 0 to n - 1, so there are n - 1 steps between them: at
    // least 1, and no more than a packed steps value's 16-bit half can count.
    line.cSteps = SUCCEEDED(endpoint.pVolume->GetVolumeStepInfo(&nStep, &cPositions))
                      ? std::clamp<UINT>(cPositions, 2, 0x10000) - 1
                      : kDefaultVolumeSteps;
    return line;
}

} // namespace

CEndpointCards ReadEndpointCards(IMMDeviceEnumerator* pEnumerator)
{
    const std::vector<SFoundEndpoint> renders = ActiveEndpoints(pEnumerator, eRender);
    const std::vector<SFoundEndpoint> captures = ActiveEndpoints(pEnumerator, eCapture);
    CEndpointCards cards;
    for (const SCardPlan& plan :
         PlanCards(Infos(renders), Infos(captures), DefaultEndpointId(pEnumerator, eRender),
                   DefaultEndpointId(pEnumerator, eCapture))) {
        auto pCard = std::make_shared<SEndpointCard>();
        if (plan.nRender)
            pCard->lines.push_back(MakeLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, renders[*plan.nRender]));
        if (plan.nCapture)
            pCard->lines.push_back(MakeLine(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, captures[*plan.nCapture]));
        pCard->strName =
            CardName((plan.nRender ? renders[*plan.nRender] : captures[*plan.nCapture]).info.strName);
        cards.push_back(std::move(pCard));
    }
    return cards;
}

SEndpointState ReadEndpointState(IMMDeviceEnumerator* pEnumerator)
{
    SEndpointState state{
        {}, DefaultEndpointId(pEnumerator, eRender), DefaultEndpointId(pEnumerator, eCapture)};
    CComPtr<IMMDeviceCollection> pCollection;
    UINT nCount = 0;
    if (FAILED(pEnumerator->EnumAudioEndpoints(eAll, DEVICE_STATE_ACTIVE, pCollection.Put())) ||
        !pCollection || FAILED(pCollection->GetCount(&nCount)))
        return state;
    for (UINT i = 0; i < nCount; ++i) {
        CComPtr<IMMDevice> pDevice;
        if (SUCCEEDED(pCollection->Item(i, pDevice.Put())) && pDevice)
            state.activeChannels[DeviceId(pDevice.Get())] = ChannelCount(pDevice.Get());
    }
    return state;
}
