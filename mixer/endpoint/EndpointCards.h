// The rules that make WINMM-style cards out of Core Audio endpoints, over plain values:
// card 0 is the default render endpoint with the default capture endpoint; cards 1 and on are
// the other render endpoints in enumeration order, each with the first capture endpoint of the
// same device when there is one; then each capture endpoint of a device without a render
// endpoint (a webcam, a USB microphone) is a card of its own, in enumeration order, so that a
// PC with microphones alone still has cards. The device is told by the container id that
// Windows gives all the endpoints of one physical device (two identical USB headsets have two);
// where several render endpoints share a container (a PC's onboard and HDMI codecs), or a
// container id is missing, the adapter's name decides, but only a name that no other render
// endpoint there has: two adapters with the same name pair with nothing rather than with each
// other's microphone. A card's name is its first endpoint's name, cut to the 31 characters that
// MIXERCAPSA::szPname holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One active endpoint as Core Audio describes it.
struct SEndpointInfo {
    std::wstring strId;
    // PKEY_Device_FriendlyName, e.g. "Speakers (USB Audio)".
    std::wstring strName;
    // PKEY_DeviceInterface_FriendlyName: the adapter's name, shared by its endpoints.
    std::wstring strAdapter;
    // PKEY_Device_ContainerId as text, empty when the endpoint has none.
    std::wstring strContainer;
};

// A card as positions in the render and capture lists; at least one of them is set.
struct SCardPlan {
    std::optional<size_t> nRender;
    std::optional<size_t> nCapture;

    bool operator==(const SCardPlan&) const = default;
};

// The cards, card 0 first. A default id that names no endpoint of the list (there is no
// default) makes card 0 the first render endpoint, and pairs it by device like the others.
std::vector<SCardPlan> PlanCards(const std::vector<SEndpointInfo>& renders,
                                 const std::vector<SEndpointInfo>& captures,
                                 const std::wstring& strDefaultRender, const std::wstring& strDefaultCapture);

// The ANSI name of a card: at most 31 bytes, never a split character.
std::string CardName(const std::wstring& strName);
