// The endpoint mixer under the front end, over fake Core Audio: the cards it makes of endpoints,
// how its controls map onto an endpoint's volume and mute, and the notifications that reach the
// handles for changes made elsewhere, for its own writes and for device changes, including a
// close racing a notification under way. The answers of the mixer functions are the contract's
// (ContractTest.cpp).
#include "mixer/endpoint/EndpointFixture.h"

#include <audioclient.h>
#include <dbt.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr DWORD kSpeakersVolume = 0;
constexpr DWORD kSpeakersMute = 1;
constexpr DWORD kWaveInVolume = 2;

SFakeEndpointSetup Render(const wchar_t* pszId, const wchar_t* pszName, const wchar_t* pszAdapter,
                          float fLevel = 0.5f)
{
    SFakeEndpointSetup setup;
    setup.strId = pszId;
    setup.flow = eRender;
    setup.strName = pszName;
    setup.strAdapter = pszAdapter;
    setup.fLevel = fLevel;
    return setup;
}

SFakeEndpointSetup Capture(const wchar_t* pszId, const wchar_t* pszAdapter, float fLevel)
{
    SFakeEndpointSetup setup = Render(pszId, L"Microphone", pszAdapter, fLevel);
    setup.flow = eCapture;
    return setup;
}

DWORD ValueOf(float fLevel)
{
    return static_cast<DWORD>(fLevel * 0xFFFF + 0.5f);
}

HMIXEROBJ Object(HMIXER hMixer)
{
    return reinterpret_cast<HMIXEROBJ>(hMixer);
}

// The messages of one kind waiting for a window.
std::vector<MSG> TakeMessages(HWND hWnd, UINT uMessage)
{
    return TakeMessages(hWnd, uMessage, uMessage);
}

class EndpointMixerTest : public EndpointFixture {
protected:
    // The first channel of a control on a card addressed by its index.
    DWORD ReadOnCard(UINT nCard, DWORD dwControlID)
    {
        std::vector<DWORD> values(1, 0xDEAD);
        EXPECT_EQ(Transfer(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(nCard)), MIXER_OBJECTF_MIXER,
                           dwControlID, values, false),
                  MMSYSERR_NOERROR);
        return values[0];
    }

    // One adapter's speakers "r" and microphone "c", both the defaults.
    void AddSpeakersAndMicrophone()
    {
        m_audio.Add(Render(L"r", L"Speakers", L"HDA"));
        m_audio.Add(Capture(L"c", L"HDA", 0.5f));
        m_audio.SetDefault(eRender, L"r");
        m_audio.SetDefault(eCapture, L"c");
    }
};

TEST_F(EndpointMixerTest, CardsAndDestinationsFollowTheEndpoints)
{
    struct SExpectedCard {
        const char* pszName;
        // The level of the capture endpoint that the card's wave-in destination drives; 0 for
        // a card without one.
        float fCaptureLevel;
    };
    const struct {
        const char* pszCase;
        std::vector<SFakeEndpointSetup> endpoints;
        const wchar_t* pszDefaultRender;
        const wchar_t* pszDefaultCapture;
        std::vector<SExpectedCard> expected;
    } cases[] = {
        {"one adapter",
         {Render(L"r1", L"Speakers (Realtek Audio)", L"Realtek"), Capture(L"c1", L"Realtek", 0.25f)},
         L"r1",
         L"c1",
         {{"Speakers (Realtek Audio)", 0.25f}}},
        {"two adapters, the second the default",
         {Render(L"r1", L"Speakers (Realtek Audio)", L"Realtek"), Capture(L"c1", L"Realtek", 0.25f),
          Render(L"r2", L"Headset Earphone (USB Headset)", L"USB Headset"),
          Capture(L"c2", L"USB Headset", 0.75f)},
         L"r2",
         L"c2",
         {{"Headset Earphone (USB Headset)", 0.75f}, {"Speakers (Realtek Audio)", 0.25f}}},
        {"three adapters, one of them without capture",
         {Render(L"r1", L"Speakers (Realtek Audio)", L"Realtek"),
          Render(L"r3", L"LG TV (NVIDIA HDMI)", L"NVIDIA"), Capture(L"c2", L"USB Headset", 0.75f),
          Capture(L"c1", L"Realtek", 0.25f),
          Render(L"r2", L"Headset Earphone (USB Headset)", L"USB Headset")},
         L"r1",
         L"c1",
         {{"Speakers (Realtek Audio)", 0.25f},
          {"LG TV (NVIDIA HDMI)", 0.0f},
          {"Headset Earphone (USB Headset)", 0.75f}}},
        {"a render endpoint without capture",
         {Render(L"r1", L"Speakers (High Definition Audio Device)", L"HDA")},
         L"r1",
         L"",
         {{"Speakers (High Definition Audio", 0.0f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        m_pMixer.reset();
        m_audio = CFakeCoreAudio();
        for (const SFakeEndpointSetup& setup : c.endpoints)
            m_audio.Add(setup);
        m_audio.SetDefault(eRender, c.pszDefaultRender);
        m_audio.SetDefault(eCapture, c.pszDefaultCapture);

        ASSERT_EQ(Mixer().GetNumDevs(), c.expected.size());
        for (UINT nCard = 0; nCard < c.expected.size(); ++nCard) {
            const SExpectedCard& expected = c.expected[nCard];
            const bool bCapture = expected.fCaptureLevel != 0.0f;
            MIXERCAPSA caps{};
            ASSERT_EQ(Mixer().GetDevCaps(nCard, &caps, sizeof caps), MMSYSERR_NOERROR);
            EXPECT_STREQ(caps.szPname, expected.pszName);
            EXPECT_EQ(caps.cDestinations, bCapture ? 2u : 1u);

            const DWORD adwTypes[] = {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
                                      MIXERLINE_COMPONENTTYPE_DST_WAVEIN};
            for (DWORD d = 0; d < caps.cDestinations; ++d) {
                MIXERLINEA line{};
                line.cbStruct = sizeof line;
                line.dwDestination = d;
                ASSERT_EQ(Mixer().GetLineInfo(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(nCard)),
                                              &line, MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_DESTINATION),
                          MMSYSERR_NOERROR);
                EXPECT_EQ(line.dwComponentType, adwTypes[d]);
                EXPECT_EQ(line.dwLineID, 0xFFFF0000 + d);
                EXPECT_EQ(line.cConnections, 0u);
                EXPECT_EQ(line.cControls, 2u);
                EXPECT_STREQ(line.Target.szPname, expected.pszName);
            }
            if (bCapture) {
                EXPECT_EQ(ReadOnCard(nCard, kWaveInVolume), ValueOf(expected.fCaptureLevel));
            }
        }
    }
}

TEST_F(EndpointMixerTest, ControlsTakeTheirStepsAndChannelsFromTheEndpoint)
{
    const struct {
        UINT cSteps;
        HRESULT hrStepInfo;
        UINT cChannels;
        HRESULT hrChannelCount;
        DWORD cExpectedSteps;
        DWORD cExpectedChannels;
    } cases[] = {
        // GetVolumeStepInfo counts positions: n of them make n - 1 steps.
        {101, S_OK, 2, S_OK, 100, 2},        {1, S_OK, 6, S_OK, 1, 6},
        {0x20000, S_OK, 1, S_OK, 0xFFFF, 1}, {51, E_NOTIMPL, 2, E_NOTIMPL, 100, 1},
        {51, S_OK, 1000, S_OK, 50, 32},
    };
    for (const auto& c : cases) {
        m_pMixer.reset();
        m_audio = CFakeCoreAudio();
        SFakeEndpointSetup setup = Render(L"r", L"Speakers", L"HDA");
        setup.cSteps = c.cSteps;
        setup.hrStepInfo = c.hrStepInfo;
        setup.cChannels = c.cChannels;
        setup.hrChannelCount = c.hrChannelCount;
        m_audio.Add(setup);
        m_audio.SetDefault(eRender, L"r");

        const auto hDevice = reinterpret_cast<HMIXEROBJ>(0);
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        ASSERT_EQ(Mixer().GetLineInfo(hDevice, &line, MIXER_GETLINEINFOF_COMPONENTTYPE), MMSYSERR_NOERROR);
        EXPECT_EQ(line.cChannels, c.cExpectedChannels);

        MIXERCONTROLA controls[2]{};
        MIXERLINECONTROLSA mxlc{};
        mxlc.cbStruct = sizeof mxlc;
        mxlc.dwLineID = line.dwLineID;
        mxlc.cControls = 2;
        mxlc.cbmxctrl = sizeof(MIXERCONTROLA);
        mxlc.pamxctrl = controls;
        ASSERT_EQ(Mixer().GetLineControls(hDevice, &mxlc, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_NOERROR);
        EXPECT_EQ(controls[0].dwControlType, MIXERCONTROL_CONTROLTYPE_VOLUME);
        EXPECT_EQ(controls[0].Bounds.dwMaximum, 0xFFFFu);
        EXPECT_EQ(controls[0].Metrics.cSteps, c.cExpectedSteps);
        EXPECT_EQ(controls[1].dwControlType, MIXERCONTROL_CONTROLTYPE_MUTE);
        EXPECT_EQ(controls[1].Bounds.dwMaximum, 1u);
    }
}

TEST_F(EndpointMixerTest, AWriteSetsEachChannelOrTheMasterAndEveryChannelReadsItsOwn)
{
    m_audio.Add(Render(L"r", L"Speakers", L"HDA", 0.5f));
    m_audio.SetDefault(eRender, L"r");
    CFakeEndpointVolume& volume = m_audio.Volume(L"r");
    const CNotifyWindow window;
    const HMIXER hMixer = Open(0, window);
    const auto transfer = [&](DWORD dwControlID, std::vector<DWORD> values, bool bWrite) {
        EXPECT_EQ(Transfer(Object(hMixer), MIXER_OBJECTF_HMIXER, dwControlID, values, bWrite),
                  MMSYSERR_NOERROR);
        return values;
    };

    EXPECT_EQ(transfer(kSpeakersVolume, {0, 0}, false), (std::vector<DWORD>{0x8000, 0x8000}));
    // Channels of different levels keep them, each its own.
    transfer(kSpeakersVolume, {0x4000, 0xC000}, true);
    EXPECT_EQ(ValueOf(volume.ChannelLevel(0)), 0x4000u);
    EXPECT_EQ(ValueOf(volume.ChannelLevel(1)), 0xC000u);
    EXPECT_EQ(transfer(kSpeakersVolume, {0, 0}, false), (std::vector<DWORD>{0x4000, 0xC000}));
    // One level for both is the master: the louder channel takes it, the balance stays.
    transfer(kSpeakersVolume, {0xFFFF, 0xFFFF}, true);
    EXPECT_EQ(volume.Level(), 1.0f);
    EXPECT_NEAR(volume.ChannelLevel(0), 1.0f / 3, 1e-4f);
    transfer(kSpeakersVolume, {0x8000}, true);
    EXPECT_EQ(ValueOf(volume.Level()), 0x8000u);

    transfer(kSpeakersMute, {1}, true);
    EXPECT_TRUE(volume.Muted());
    EXPECT_EQ(transfer(kSpeakersMute, {0}, false), std::vector<DWORD>{1});
    Mixer().Close(hMixer);
}

TEST_F(EndpointMixerTest, AnEndpointThatFailsIsADeviceChangeOncePerBurst)
{
    AddSpeakersAndMicrophone();
    const CNotifyWindow bar;
    const CNotifyWindow other;
    const HMIXER hBar = Open(0, bar);
    const HMIXER hOther = Open(0, other);
    const struct {
        const char* pszCase;
        HRESULT hrFailure;
        size_t cDeviceChanges;
    } cases[] = {
        {"unplugged without a word", AUDCLNT_E_DEVICE_INVALIDATED, 1},
        {"the audio service restarted", AUDCLNT_E_SERVICE_NOT_RUNNING, 1},
        {"a refusal that is no failure of the device", E_ACCESSDENIED, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        for (const wchar_t* pszId : {L"r", L"c"})
            m_audio.Volume(pszId).Fail(c.hrFailure);
        // Every call that meets the failure fails; the bars hear of it once.
        for (const auto& [dwControlID, bWrite] : {std::pair{kSpeakersVolume, false},
                                                  {kSpeakersMute, true},
                                                  {kWaveInVolume, false},
                                                  {kSpeakersVolume, true}}) {
            std::vector<DWORD> values(2, 0);
            EXPECT_EQ(Transfer(Object(hBar), MIXER_OBJECTF_HMIXER, dwControlID, values, bWrite),
                      MMSYSERR_ERROR);
        }
        for (const CNotifyWindow* pWindow : {&bar, &other}) {
            const auto messages = TakeMessages(pWindow->Get(), WM_DEVICECHANGE);
            ASSERT_EQ(messages.size(), c.cDeviceChanges);
            if (c.cDeviceChanges != 0) {
                EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(DBT_DEVNODES_CHANGED));
                EXPECT_EQ(messages[0].lParam, kMixerCardsChanged);
            }
        }
        // The bars restart and read the cards again; the endpoints work once more.
        for (const wchar_t* pszId : {L"r", L"c"})
            m_audio.Volume(pszId).Fail(S_OK);
        EXPECT_EQ(Mixer().GetNumDevs(), 1u);
    }
    for (const HMIXER h : {hBar, hOther})
        Mixer().Close(h);
}

TEST_F(EndpointMixerTest, ABarWithNoCardHearsWhenAnEndpointAppears)
{
    const CNotifyWindow bar;
    EXPECT_EQ(Mixer().GetNumDevs(), 0u);
    HMIXER hMixer = nullptr;
    EXPECT_EQ(Mixer().Open(&hMixer, 0, reinterpret_cast<DWORD_PTR>(bar.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_BADDEVICEID);

    OnOtherThread(
        [&] { m_audio.Fake().AddLater(Render(L"r", L"Headphones", L"USB"), DEVICE_STATE_NOTPRESENT); });
    EXPECT_TRUE(TakeMessages(bar.Get(), WM_DEVICECHANGE).empty());
    OnOtherThread([&] { m_audio.Fake().SetState(L"r", DEVICE_STATE_ACTIVE); });
    const auto messages = TakeMessages(bar.Get(), WM_DEVICECHANGE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(DBT_DEVNODES_CHANGED));
    EXPECT_EQ(messages[0].lParam, kMixerCardsChanged);
    EXPECT_EQ(Mixer().GetNumDevs(), 1u);
}

TEST_F(EndpointMixerTest, AWriteTheEndpointRefusesIsAnErrorAndAnnouncesNothing)
{
    SFakeEndpointSetup setup = Render(L"r", L"Speakers", L"HDA");
    setup.hrWrite = E_NOTIMPL;
    m_audio.Add(setup);
    m_audio.SetDefault(eRender, L"r");
    const CNotifyWindow window;
    const HMIXER hMixer = Open(0, window);
    for (const DWORD dwControlID : {kSpeakersVolume, kSpeakersMute}) {
        std::vector<DWORD> values = {1};
        EXPECT_EQ(Transfer(Object(hMixer), MIXER_OBJECTF_HMIXER, dwControlID, values, true), MMSYSERR_ERROR);
    }
    EXPECT_TRUE(window.TakeNotifications().empty());
    Mixer().Close(hMixer);
}

TEST_F(EndpointMixerTest, ChangesMadeElsewhereArriveOncePerHandleOfTheCard)
{
    m_audio.Add(Render(L"r1", L"Speakers", L"HDA"));
    m_audio.Add(Capture(L"c1", L"HDA", 0.5f));
    m_audio.Add(Render(L"r2", L"Headphones", L"USB"));
    m_audio.SetDefault(eRender, L"r1");
    m_audio.SetDefault(eCapture, L"c1");
    const CNotifyWindow bar;
    const CNotifyWindow other;
    const HMIXER hBar = Open(0, bar);
    const HMIXER hProbe = Open(0, bar);
    const HMIXER hOther = Open(1, other);

    const struct {
        const char* pszCase;
        std::function<void()> change;
        DWORD dwControlID;
    } cases[] = {
        {"volume", [&] { m_audio.Volume(L"r1").SetLevelElsewhere(0.8f); }, kSpeakersVolume},
        {"mute", [&] { m_audio.Volume(L"r1").SetMuteElsewhere(TRUE); }, kSpeakersMute},
        {"volume while muted", [&] { m_audio.Volume(L"r1").SetLevelElsewhere(0.2f); }, kSpeakersVolume},
        {"recording volume", [&] { m_audio.Volume(L"c1").SetLevelElsewhere(0.1f); }, kWaveInVolume},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        OnOtherThread(c.change);
        const auto messages = bar.TakeNotifications();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].wParam, reinterpret_cast<WPARAM>(hBar));
        EXPECT_EQ(messages[1].wParam, reinterpret_cast<WPARAM>(hProbe));
        for (const MSG& msg : messages)
            EXPECT_EQ(msg.lParam, static_cast<LPARAM>(c.dwControlID));
        EXPECT_TRUE(other.TakeNotifications().empty());
    }
    for (const HMIXER h : {hBar, hProbe, hOther})
        Mixer().Close(h);
}

TEST_F(EndpointMixerTest, OwnWritesAreAnnouncedOnceAndOtherCopiesHearTheChanges)
{
    m_audio.Add(Render(L"r", L"Speakers", L"HDA"));
    m_audio.SetDefault(eRender, L"r");
    // Another copy of the program: its own mixer on the same endpoints.
    CMixerFrontEnd copy(std::make_unique<CEndpointMixer>(m_audio.Enumerator()));
    const CNotifyWindow window;
    const CNotifyWindow copyWindow;
    const HMIXER hMixer = Open(0, window);
    HMIXER hCopy = nullptr;
    ASSERT_EQ(copy.Open(&hCopy, 0, reinterpret_cast<DWORD_PTR>(copyWindow.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);

    // Every write is announced to the writer, as WINMM announces every write; the endpoint tells
    // the other copies only of a write that changes its volume.
    for (const size_t cCopyHears : {1u, 0u}) {
        std::vector<DWORD> values = {0x4000, 0x4000};
        ASSERT_EQ(Transfer(Object(hMixer), MIXER_OBJECTF_HMIXER, kSpeakersVolume, values, true),
                  MMSYSERR_NOERROR);
        m_audio.WaitUntilDelivered();
        const auto messages = window.TakeNotifications();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].wParam, reinterpret_cast<WPARAM>(hMixer));
        EXPECT_EQ(messages[0].lParam, static_cast<LPARAM>(kSpeakersVolume));
        const auto copyMessages = copyWindow.TakeNotifications();
        ASSERT_EQ(copyMessages.size(), cCopyHears);
        if (cCopyHears != 0) {
            EXPECT_EQ(copyMessages[0].wParam, reinterpret_cast<WPARAM>(hCopy));
        }
    }
    copy.Close(hCopy);
    Mixer().Close(hMixer);
}

TEST_F(EndpointMixerTest, CoreAudiosThreadOnlyHandsAChangeOverAndTheMixersThreadTellsTheHandle)
{
    AddSpeakersAndMicrophone();
    const CNotifyWindow bar;
    const HMIXER hMixer = Open(0, bar);
    // Delivered on Core Audio's thread while the mixer's thread does nothing: the callback has
    // returned without touching the handles, which only the mixer's thread does, once its
    // message loop runs.
    OnOtherThread([&] { m_audio.Volume(L"r").SetLevelElsewhere(0.25f); });
    OnOtherThread([&] { m_audio.Fake().SetState(L"r", DEVICE_STATE_UNPLUGGED); });
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, bar.Get(), 0, 0, PM_NOREMOVE));
    const auto messages = bar.TakeNotifications();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].lParam, static_cast<LPARAM>(kSpeakersVolume));
    EXPECT_EQ(TakeMessages(bar.Get(), WM_DEVICECHANGE).size(), 1u);
    Mixer().Close(hMixer);
}

TEST_F(EndpointMixerTest, NothingIsPostedAfterCloseEvenWithANotificationUnderWay)
{
    m_audio.Add(Render(L"r", L"Speakers", L"HDA"));
    m_audio.SetDefault(eRender, L"r");
    CFakeEndpointVolume& volume = m_audio.Volume(L"r");
    const CNotifyWindow window;
    for (int nRun = 0; nRun < 200; ++nRun) {
        SCOPED_TRACE(nRun);
        const HMIXER hMixer = Open(0, window);
        // The notifying thread holds the callbacks as Core Audio does while it calls them, so
        // it goes on calling them after they have been unregistered.
        const auto callbacks = volume.Callbacks();
        ASSERT_EQ(callbacks.size(), 1u);
        std::atomic<bool> bStop = false;
        std::atomic<unsigned> nCalls = 0;
        std::thread notifier([&] {
            AUDIO_VOLUME_NOTIFICATION_DATA data{};
            data.fMasterVolume = 0.3f;
            data.nChannels = 1;
            while (!bStop) {
                data.bMuted = !data.bMuted;
                for (const auto& pCallback : callbacks)
                    pCallback->OnNotify(&data);
                ++nCalls;
            }
        });
        while (nCalls < static_cast<unsigned>(nRun % 7))
            std::this_thread::yield();

        EXPECT_EQ(Mixer().Close(hMixer), MMSYSERR_NOERROR);
        EXPECT_EQ(volume.RegisteredCount(), 0u);
        window.TakeNotifications();
        const unsigned nAfterClose = nCalls;
        while (nCalls < nAfterClose + 20)
            std::this_thread::yield();
        bStop = true;
        notifier.join();
        EXPECT_TRUE(window.TakeNotifications().empty());
    }
}

TEST_F(EndpointMixerTest, DeviceChangesReachEveryWindowOnceAndTheCardsFollow)
{
    m_audio.Add(Render(L"r1", L"Speakers", L"HDA"));
    m_audio.Add(Render(L"r2", L"Headphones", L"USB"));
    m_audio.SetDefault(eRender, L"r1");
    const CNotifyWindow bar;
    const CNotifyWindow other;
    HMIXER hHandles[] = {Open(0, bar), Open(0, bar), Open(1, other)};
    const auto expectOneEach = [&](const char* pszCase) {
        for (const CNotifyWindow* pWindow : {&bar, &other}) {
            const auto messages = TakeMessages(pWindow->Get(), WM_DEVICECHANGE);
            ASSERT_EQ(messages.size(), 1u) << pszCase;
            EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(DBT_DEVNODES_CHANGED)) << pszCase;
            EXPECT_EQ(messages[0].lParam, kMixerCardsChanged) << pszCase;
        }
    };

    OnOtherThread([&] { m_audio.SetDefault(eRender, L"r2"); });
    expectOneEach("new default");
    MIXERCAPSA caps{};
    ASSERT_EQ(Mixer().GetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Headphones");
    // An open handle drives the endpoint it was opened on, which is now another card.
    const auto cardOf = [&](HMIXER hMixer, UINT& uMxId) {
        uMxId = 9;
        return Mixer().GetID(Object(hMixer), &uMxId, MIXER_OBJECTF_HMIXER);
    };
    UINT uMxId = 9;
    ASSERT_EQ(cardOf(hHandles[0], uMxId), MMSYSERR_NOERROR);
    EXPECT_EQ(uMxId, 1u);
    ASSERT_EQ(cardOf(hHandles[2], uMxId), MMSYSERR_NOERROR);
    EXPECT_EQ(uMxId, 0u);

    OnOtherThread([&] { m_audio.Fake().SetState(L"r1", DEVICE_STATE_UNPLUGGED); });
    expectOneEach("a card's endpoint unplugged");
    EXPECT_EQ(Mixer().GetNumDevs(), 1u);
    // A handle whose endpoint has gone drives no card, and says so with -1 as WINMM does.
    EXPECT_EQ(cardOf(hHandles[0], uMxId), MMSYSERR_NODRIVER);
    EXPECT_EQ(uMxId, static_cast<UINT>(-1));
    ASSERT_EQ(cardOf(hHandles[2], uMxId), MMSYSERR_NOERROR);
    EXPECT_EQ(uMxId, 0u);

    // A device that no card uses and that does not become active changes no card.
    OnOtherThread([&] { m_audio.Fake().SetState(L"unknown", DEVICE_STATE_NOTPRESENT); });
    EXPECT_TRUE(TakeMessages(bar.Get(), WM_DEVICECHANGE).empty());

    for (const HMIXER h : hHandles)
        Mixer().Close(h);
    OnOtherThread([&] { m_audio.Fake().SetState(L"r1", DEVICE_STATE_ACTIVE); });
    EXPECT_TRUE(TakeMessages(bar.Get(), WM_DEVICECHANGE).empty());
    EXPECT_EQ(Mixer().GetNumDevs(), 2u);
}

TEST_F(EndpointMixerTest, TheMixerLetsGoOfEveryCallbackWhenItGoes)
{
    AddSpeakersAndMicrophone();
    const CNotifyWindow window;
    Open(0, window);
    Open(0, window);
    // One callback per endpoint, however many handles are open on its card.
    EXPECT_EQ(m_audio.Volume(L"r").RegisteredCount(), 1u);
    EXPECT_EQ(m_audio.Volume(L"c").RegisteredCount(), 1u);
    EXPECT_EQ(m_audio.Fake().ClientCount(), 1u);
    m_pMixer.reset();
    EXPECT_EQ(m_audio.Volume(L"r").RegisteredCount(), 0u);
    EXPECT_EQ(m_audio.Volume(L"c").RegisteredCount(), 0u);
    EXPECT_EQ(m_audio.Fake().ClientCount(), 0u);
}

} // namespace
