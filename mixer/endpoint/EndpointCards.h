// The rules that make WINMM-style cards out of Core Audio endpoints, over plain values:
// card 0 is the default render endpoint with the default capture endpoint; cards 1 and on are
// the other render endpoints in enumeration order, each with the first capture endpoint of the
// same adapter when there is one. A card's name is its render endpoint's name, cut to the 31
// characters that MIXERCAPSA::szPname holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One active endpoint as Core Audio describes it.
struct CEndpointInfo {
    std::wstring strId;
    // PKEY_Device_FriendlyName, e.g. "Speakers (USB Audio)".
    std::wstring strName;
    // PKEY_DeviceInterface_FriendlyName: the adapter's name, shared by its endpoints.
    std::wstring strAdapter;
};

// A card as positions in the render and capture lists.
struct CCardPlan {
    size_t nRender = 0;
    std::optional<size_t> nCapture;

    bool operator==(const CCardPlan&) const = default;
};

// The cards, card 0 first. A default id that names no endpoint of the list (there is no
// default) makes card 0 the first render endpoint, and pairs it by adapter like the others.
std::vector<CCardPlan> PlanCards(const std::vector<CEndpointInfo>& renders,
                                 const std::vector<CEndpointInfo>& captures,
                                 const std::wstring& strDefaultRender, const std::wstring& strDefaultCapture);

// The ANSI name of a card: at most 31 bytes, never a split character.
std::string CardName(const std::wstring& strName);
