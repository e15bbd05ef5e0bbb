// Which of Core Audio's device notifications change the cards, that a burst of them is reported
// once, and that the notifications only hand themselves over: the client on fake Core Audio,
// which delivers as Windows does.
#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/ChangeHandover.h"
#include "mixer/endpoint/DeviceChangeClient.h"
#include "mixer/endpoint/FakeCoreAudio.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace {

// PKEY_AudioEndpoint_JackSubType, one of the many properties whose changes Windows reports.
constexpr PROPERTYKEY kJackSubTypeKey = {
    {0x1da5d803, 0xd492, 0x4edd, {0x8c, 0x23, 0xe0, 0xc0, 0xff, 0xee, 0x7f, 0x0e}}, 8};

class DeviceChangeClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& [pszId, flow] : {std::pair{L"spk", eRender},
                                          {L"mic", eCapture},
                                          {L"hs", eRender},
                                          {L"hs-mic", eCapture},
                                          {L"tv", eRender}})
            m_audio.Add({pszId, flow, pszId, L"Adapter"});
        m_audio.SetDefault(eRender, L"hs");
        m_audio.SetDefault(eCapture, L"hs-mic");
        ASSERT_HRESULT_SUCCEEDED(m_audio.Enumerator()->RegisterEndpointNotificationCallback(m_pClient.Get()));
        CardsRead();
    }

    void TearDown() override
    {
        m_audio.Enumerator()->UnregisterEndpointNotificationCallback(m_pClient.Get());
    }

    // What the mixer does when it reads its cards again.
    void CardsRead() { m_pClient->ReadingCards(); }

    // The reports once the mixer's thread has run what the notifications handed over.
    int Reports()
    {
        RunHandedOver();
        return m_nReports;
    }

    CFakeCoreAudio m_audio;
    int m_nReports = 0;
    CChangeHandover m_handover;
    const CComPtr<CDeviceChangeClient> m_pClient = MakeComObject<CDeviceChangeClient>(
        m_audio.Enumerator(), m_handover.Window(), [this] { ++m_nReports; });
};

TEST_F(DeviceChangeClientTest, OnlyChangesOfTheActiveEndpointsAndTheConsoleDefaultAreReported)
{
    CFakeEnumerator& windows = m_audio.Fake();
    const auto endpoint = [](const wchar_t* pszId, EDataFlow flow) {
        return SFakeEndpointSetup{pszId, flow, L"Virtual Cable", L"Virtual Audio"};
    };
    const struct {
        const char* pszCase;
        std::function<void()> change;
        int nReports;
    } cases[] = {
        {"a virtual device installed disabled",
         [&] { windows.AddLater(endpoint(L"v1", eRender), DEVICE_STATE_DISABLED); }, 0},
        {"a device added not present",
         [&] { windows.AddLater(endpoint(L"v2", eCapture), DEVICE_STATE_NOTPRESENT); }, 0},
        {"an endpoint no card has changes between inactive states",
         [&] { windows.SetState(L"v1", DEVICE_STATE_UNPLUGGED); }, 0},
        {"an endpoint no card has is removed", [&] { windows.Remove(L"v2"); }, 0},
        {"the multimedia and communications defaults change",
         [&] {
             windows.SetDefault(eRender, eMultimedia, L"spk");
             windows.SetDefault(eCapture, eCommunications, L"mic");
         },
         0},
        {"an active device is added",
         [&] { windows.AddLater(endpoint(L"v3", eRender), DEVICE_STATE_ACTIVE); }, 1},
        {"an inactive endpoint changes its format", [&] { windows.SetChannelCount(L"v1", 6); }, 0},
        {"a card's endpoint changes its format", [&] { windows.SetChannelCount(L"tv", 6); }, 1},
        {"a card's endpoint changes a property that makes no card",
         [&] { windows.ChangeProperty(L"tv", kJackSubTypeKey); }, 0},
        {"an inactive endpoint becomes active", [&] { windows.SetState(L"v1", DEVICE_STATE_ACTIVE); }, 1},
        {"a card's endpoint is disabled", [&] { windows.SetState(L"tv", DEVICE_STATE_DISABLED); }, 1},
        {"a card's endpoint is removed", [&] { windows.Remove(L"spk"); }, 1},
        {"the console default changes", [&] { windows.SetDefault(eRender, eConsole, L"tv"); }, 1},
    };
    for (const auto& c : cases) {
        m_nReports = 0;
        c.change();
        EXPECT_EQ(Reports(), c.nReports) << c.pszCase;
        CardsRead();
    }
}

TEST_F(DeviceChangeClientTest, ABurstIsReportedOnceUntilTheCardsAreReadAgain)
{
    CFakeEnumerator& windows = m_audio.Fake();
    // Unplugging the headset: both its endpoints go, and Windows picks new defaults for every
    // role of both flows.
    windows.SetState(L"hs", DEVICE_STATE_UNPLUGGED);
    windows.SetState(L"hs-mic", DEVICE_STATE_UNPLUGGED);
    windows.SetDefault(eRender, L"spk");
    windows.SetDefault(eCapture, L"mic");
    EXPECT_EQ(Reports(), 1);

    CardsRead();
    windows.SetState(L"hs", DEVICE_STATE_ACTIVE);
    windows.SetDefault(eRender, L"hs");
    EXPECT_EQ(Reports(), 2);
}

TEST_F(DeviceChangeClientTest, ANotificationOnlyHandsItselfOverAndHoldsNoDevice)
{
    // A hundred virtual devices installed inactive, each announced on Core Audio's thread: none
    // is looked up there, nothing waits for the mixer's thread, and once that thread has run
    // there is one look at the endpoints, which changed no card, and no device is left held.
    for (int i = 0; i < 100; ++i)
        m_audio.Fake().AddLater({L"v" + std::to_wstring(i), eRender, L"Virtual", L"Virtual Audio"},
                                DEVICE_STATE_DISABLED);
    EXPECT_EQ(m_nReports, 0);
    EXPECT_EQ(m_audio.Fake().LiveDevices(), 0u);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, m_handover.Window(), CChangeHandover::kEvent, CChangeHandover::kEvent,
                               PM_REMOVE));
    EXPECT_FALSE(::PeekMessageA(&msg, m_handover.Window(), CChangeHandover::kEvent, CChangeHandover::kEvent,
                                PM_NOREMOVE));
    ::DispatchMessageA(&msg);
    EXPECT_EQ(Reports(), 0);
    EXPECT_EQ(m_audio.Fake().LiveDevices(), 0u);
}

} // namespace
