// How endpoints become cards, as plain values: which render endpoint is card 0, which capture
// endpoint joins which card (by device, never by a name that two adapters share), which is a
// card of its own, and how a long or foreign name fits MIXERCAPSA::szPname.
#include "mixer/endpoint/EndpointCards.h"

#include <gtest/gtest.h>

namespace {

TEST(EndpointCardsTest, DefaultsMakeCardZeroAndAdaptersPairTheRest)
{
    const std::vector<SEndpointInfo> renders = {
        {L"r-hda", L"Speakers (HDA)", L"HDA"},
        {L"r-usb", L"Headset (USB)", L"USB"},
        {L"r-hdmi", L"Monitor (HDMI)", L"HDMI"},
    };
    const std::vector<SEndpointInfo> captures = {
        {L"c-usb", L"Headset Microphone (USB)", L"USB"},
        {L"c-hda", L"Microphone (HDA)", L"HDA"},
        {L"c-hda2", L"Line In (HDA)", L"HDA"},
    };
    const struct {
        const char* pszCase;
        std::wstring strDefaultRender;
        std::wstring strDefaultCapture;
        std::vector<SCardPlan> expected;
    } cases[] = {
        {"first render is default", L"r-hda", L"c-hda", {{0, 1}, {1, 0}, {2, std::nullopt}}},
        {"a later render is default", L"r-usb", L"c-usb", {{1, 0}, {0, 1}, {2, std::nullopt}}},
        // Card 0 takes the default capture endpoint even from another adapter; that adapter's
        // own card still pairs with it.
        {"default capture elsewhere", L"r-hdmi", L"c-usb", {{2, 0}, {0, 1}, {1, 0}}},
        {"no default at all", L"", L"", {{0, 1}, {1, 0}, {2, std::nullopt}}},
        {"a default that no longer exists", L"r-gone", L"c-gone", {{0, 1}, {1, 0}, {2, std::nullopt}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlanCards(renders, captures, c.strDefaultRender, c.strDefaultCapture), c.expected)
            << c.pszCase;
}

TEST(EndpointCardsTest, MicrophonesWithoutARenderEndpointAreCardsOfTheirOwnAndNamelessAdaptersNeverPair)
{
    // A PC whose speakers are unplugged, with a webcam: each microphone is a card.
    const std::vector<SEndpointInfo> captures = {{L"c", L"Microphone", L"", L"{PC}"},
                                                 {L"cam", L"Microphone", L"USB Camera", L"{CAM}"}};
    const std::vector<SCardPlan> microphones = {{std::nullopt, 0}, {std::nullopt, 1}};
    EXPECT_EQ(PlanCards({}, captures, L"", L"c"), microphones);

    // Nothing tells which device a microphone without a container or an adapter name is of.
    const std::vector<SEndpointInfo> renders = {{L"r0", L"Speakers", L""}, {L"r1", L"Headphones", L""}};
    const std::vector<SEndpointInfo> nameless = {{L"c", L"Microphone", L""}};
    const std::vector<SCardPlan> expected = {{0, std::nullopt}, {1, std::nullopt}, {std::nullopt, 0}};
    EXPECT_EQ(PlanCards(renders, nameless, L"r0", L""), expected);
}

TEST(EndpointCardsTest, ContainersTellTheDeviceAndANameDecidesOnlyWhereItIsUnique)
{
    using Endpoints = std::vector<SEndpointInfo>;
    const struct {
        const char* pszCase;
        Endpoints renders;
        Endpoints captures;
        std::wstring strDefaultCapture;
        std::vector<SCardPlan> expected;
    } cases[] = {
        {"two identical USB headsets: each its own microphone",
         {{L"hs1", L"Headset", L"USB Headset", L"{A}"}, {L"hs2", L"Headset", L"USB Headset", L"{B}"}},
         {{L"m2", L"Microphone", L"USB Headset", L"{B}"}, {L"m1", L"Microphone", L"USB Headset", L"{A}"}},
         L"",
         {{0, 1}, {1, 0}}},
        {"onboard and HDMI codecs, both on the inbox driver, in the PC's container: no guess",
         {{L"spk", L"Speakers", L"High Definition Audio Device", L"{PC}"},
          {L"hdmi", L"Monitor", L"High Definition Audio Device", L"{PC}"}},
         {{L"mic", L"Microphone", L"High Definition Audio Device", L"{PC}"}},
         L"",
         {{0, std::nullopt}, {1, std::nullopt}}},
        {"the same, with the microphone the default: card 0 only",
         {{L"spk", L"Speakers", L"High Definition Audio Device", L"{PC}"},
          {L"hdmi", L"Monitor", L"High Definition Audio Device", L"{PC}"}},
         {{L"mic", L"Microphone", L"High Definition Audio Device", L"{PC}"}},
         L"mic",
         {{0, 0}, {1, std::nullopt}}},
        {"onboard and HDMI codecs of different names in one container",
         {{L"hdmi", L"Monitor", L"NVIDIA High Definition Audio", L"{PC}"},
          {L"spk", L"Speakers", L"Realtek Audio", L"{PC}"}},
         {{L"mic", L"Microphone", L"Realtek Audio", L"{PC}"}},
         L"",
         {{0, std::nullopt}, {1, 0}}},
        {"a container id on one side only: the name, unique, decides",
         {{L"spk", L"Speakers", L"Realtek Audio", L"{PC}"}},
         {{L"mic", L"Microphone", L"Realtek Audio", L""}},
         L"",
         {{0, 0}}},
        {"a webcam's microphone: a card of its own after the render cards",
         {{L"spk", L"Speakers", L"Realtek Audio", L"{PC}"}, {L"hdmi", L"Monitor", L"NVIDIA", L"{PC}"}},
         {{L"cam", L"Microphone", L"USB Camera", L"{CAM}"},
          {L"mic", L"Microphone", L"Realtek Audio", L"{PC}"}},
         L"",
         {{0, 1}, {1, std::nullopt}, {std::nullopt, 0}}},
        {"the same, with the webcam the default: on card 0 too",
         {{L"spk", L"Speakers", L"Realtek Audio", L"{PC}"}},
         {{L"cam", L"Microphone", L"USB Camera", L"{CAM}"},
          {L"mic", L"Microphone", L"Realtek Audio", L"{PC}"}},
         L"cam",
         {{0, 0}, {std::nullopt, 0}}},
        {"no container ids and two adapters of one name: no guess",
         {{L"hs1", L"Headset", L"USB Headset", L""}, {L"hs2", L"Headset", L"USB Headset", L""}},
         {{L"m1", L"Microphone", L"USB Headset", L""}},
         L"",
         {{0, std::nullopt}, {1, std::nullopt}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlanCards(c.renders, c.captures, c.renders[0].strId, c.strDefaultCapture), c.expected)
            << c.pszCase;
}

TEST(EndpointCardsTest, NamesAreCutToWhatWinmmHolds)
{
    const struct {
        std::wstring strName;
        std::string expected;
    } cases[] = {
        {L"Speakers (USB Audio)", "Speakers (USB Audio)"},
        {L"", ""},
        {std::wstring(31, L'a'), std::string(31, 'a')},
        {L"Speakers (High Definition Audio Device)", "Speakers (High Definition Audio"},
        // A cut through a surrogate pair drops its first half rather than make a '?' of it.
        {std::wstring(30, L'a') + L"\xD83D\xDD0A", std::string(30, 'a')},
    };
    for (const auto& c : cases) {
        const std::string strName = CardName(c.strName);
        EXPECT_EQ(strName, c.expected);
        EXPECT_LE(strName.size(), 31u);
    }
}

} // namespace
