// The endpoint mixer's cards as read from Core Audio. Each card lists its destinations: the
// render endpoint as the speakers destination, then, when the card has one, the capture endpoint
// as the wave-in destination; a microphone's card of its own has the wave-in destination alone.
// A destination drives its endpoint's volume and mute.
#pragma once

#include "fw/ComPtr.h"

#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <memory>
#include <map>
#include <set>
#include <string>
#include <vector>

struct SEndpointLine {
    // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS or MIXERLINE_COMPONENTTYPE_DST_WAVEIN.
    DWORD dwComponentType = 0;
    std::wstring strEndpointId;
    // The endpoint, for its audio sessions (AudioSessions.h).
    CComPtr<IMMDevice> pDevice;
    CComPtr<IAudioEndpointVolume> pVolume;
    DWORD cChannels = 1;
    // The volume control's step count, from GetVolumeStepInfo.
    DWORD cSteps = 0;
};

struct SEndpointCard {
    std::string strName;
    std::vector<SEndpointLine> lines;
};

using CEndpointCards = std::vector<std::shared_ptr<const SEndpointCard>>;

// How a card's lines and controls are numbered: destination d has the line id 0xFFFF0000 + d
// (the destination's index in the low word, as drivers number them), a VOLUME control 2d and a
// MUTE control 2d + 1.
constexpr DWORD kLineIdBase = 0xFFFF0000;
constexpr DWORD kControlsPerLine = 2;
constexpr DWORD LineIdOf(DWORD dwDestination)
{
    return kLineIdBase + dwDestination;
}
constexpr DWORD VolumeControlOf(DWORD dwDestination)
{
    return dwDestination * kControlsPerLine;
}
constexpr DWORD MuteControlOf(DWORD dwDestination)
{
    return dwDestination * kControlsPerLine + 1;
}

// An application (AudioSessions.h) is source n of the speakers destination: line id n << 16
// (the source's index in the high word, the destination's, 0, in the low word), a VOLUME control
// 0x100 + 2n and a MUTE control 0x101 + 2n.
constexpr DWORD kApplicationControlBase = 0x100;
constexpr DWORD ApplicationLineIdOf(DWORD dwApplication)
{
    return dwApplication << 16;
}
constexpr DWORD ApplicationVolumeOf(DWORD dwApplication)
{
    return kApplicationControlBase + dwApplication * kControlsPerLine;
}
constexpr DWORD ApplicationMuteOf(DWORD dwApplication)
{
    return ApplicationVolumeOf(dwApplication) + 1;
}

// PKEY_Device_ContainerId: the id of the physical device that an endpoint belongs to, the same
// for all its endpoints. Not every SDK's headers define it.
constexpr PROPERTYKEY kContainerIdKey = {
    {0x8c7ed206, 0x3f8a, 0x4827, {0xb3, 0xab, 0xae, 0x9e, 0x1f, 0xae, 0xfc, 0x6c}}, 2};

// PKEY_AudioEngine_DeviceFormat: the format that the endpoint runs in shared mode, which the user
// changes with the speaker configuration; its channels are the endpoint volume's. The SDK's
// headers declare it but define it only where initguid.h comes first.
constexpr PROPERTYKEY kDeviceFormatKey = {
    {0xf19f064d, 0x082c, 0x4e27, {0xbc, 0x73, 0x68, 0x82, 0xa1, 0xbb, 0x8e, 0x4c}}, 0};

// The active endpoints made into cards (mixer/endpoint/EndpointCards.h). Endpoints whose id or
// volume cannot be had are left out; a failed enumeration gives no cards.
CEndpointCards ReadEndpointCards(IMMDeviceEnumerator* pEnumerator);

// What the cards are made of, as far as a change of them goes: the active endpoints by id with
// the channels of each (a new format changes them) and the ids of the console defaults.
// Whatever cannot be read is left empty, or 0 channels.
struct SEndpointState {
    std::map<std::wstring, UINT> activeChannels;
    std::wstring strDefaultRender;
    std::wstring strDefaultCapture;

    bool operator==(const SEndpointState&) const = default;
};

SEndpointState ReadEndpointState(IMMDeviceEnumerator* pEnumerator);

// The volume control's steps when the endpoint cannot tell: the percent steps of the system's
// own volume flyout.
constexpr DWORD kDefaultVolumeSteps = 100;
