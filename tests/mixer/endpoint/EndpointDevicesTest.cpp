// The cards as read from Core Audio: the container id that pairs two identical headsets with
// their own microphones, and the volume steps between GetVolumeStepInfo's positions.
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/endpoint/FakeCoreAudio.h"

#include <gtest/gtest.h>

namespace {

GUID Container(unsigned long nDevice)
{
    return {nDevice, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
}

SFakeEndpointSetup Endpoint(const wchar_t* pszId, EDataFlow flow, unsigned long nDevice, UINT cSteps)
{
    SFakeEndpointSetup setup{pszId, flow, L"Headset", L"USB Audio Device"};
    setup.containerId = Container(nDevice);
    setup.cSteps = cSteps;
    return setup;
}

TEST(EndpointDevicesTest, IdenticalHeadsetsKeepTheirOwnMicrophonesAndStepsSitBetweenPositions)
{
    CFakeCoreAudio audio;
    audio.Add(Endpoint(L"hs1", eRender, 1, 101));
    audio.Add(Endpoint(L"hs2", eRender, 2, 16));
    audio.Add(Endpoint(L"mic2", eCapture, 2, 2));
    audio.Add(Endpoint(L"mic1", eCapture, 1, 0x10001));
    audio.SetDefault(eRender, L"hs1");

    const CEndpointCards cards = ReadEndpointCards(audio.Enumerator().Get());
    ASSERT_EQ(cards.size(), 2u);
    const struct {
        const wchar_t* pszRender;
        const wchar_t* pszCapture;
        DWORD cRenderSteps;
        DWORD cCaptureSteps;
    } expected[] = {
        {L"hs1", L"mic1", 100, 0xFFFF},
        {L"hs2", L"mic2", 15, 1},
    };
    for (size_t nCard = 0; nCard < cards.size(); ++nCard) {
        SCOPED_TRACE(nCard);
        const auto& lines = cards[nCard]->lines;
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].strEndpointId, expected[nCard].pszRender);
        EXPECT_EQ(lines[1].strEndpointId, expected[nCard].pszCapture);
        EXPECT_EQ(lines[0].cSteps, expected[nCard].cRenderSteps);
        EXPECT_EQ(lines[1].cSteps, expected[nCard].cCaptureSteps);
    }
}

} // namespace
