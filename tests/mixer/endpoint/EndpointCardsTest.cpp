// How endpoints become cards, as plain values: which render endpoint is card 0, which capture
// endpoint joins which card, and how a long or foreign name fits MIXERCAPSA::szPname.
#include "mixer/endpoint/EndpointCards.h"

#include <gtest/gtest.h>

namespace {

TEST(EndpointCardsTest, DefaultsMakeCardZeroAndAdaptersPairTheRest)
{
    const std::vector<CEndpointInfo> renders = {
        {L"r-hda", L"Speakers (HDA)", L"HDA"},
        {L"r-usb", L"Headset (USB)", L"USB"},
        {L"r-hdmi", L"Monitor (HDMI)", L"HDMI"},
    };
    const std::vector<CEndpointInfo> captures = {
        {L"c-usb", L"Headset Microphone (USB)", L"USB"},
        {L"c-hda", L"Microphone (HDA)", L"HDA"},
        {L"c-hda2", L"Line In (HDA)", L"HDA"},
    };
    const struct {
        const char* pszCase;
        std::wstring strDefaultRender;
        std::wstring strDefaultCapture;
        std::vector<CCardPlan> expected;
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

TEST(EndpointCardsTest, NoRenderEndpointMeansNoCardAndNamelessAdaptersNeverPair)
{
    const std::vector<CEndpointInfo> captures = {{L"c", L"Microphone", L""}};
    EXPECT_TRUE(PlanCards({}, captures, L"", L"c").empty());

    const std::vector<CEndpointInfo> renders = {{L"r0", L"Speakers", L""}, {L"r1", L"Headphones", L""}};
    const std::vector<CCardPlan> expected = {{0, std::nullopt}, {1, std::nullopt}};
    EXPECT_EQ(PlanCards(renders, captures, L"r0", L""), expected);
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
