// Programs' audio sessions as the speakers' source lines of the endpoint mixer, over fake Core
// Audio: how sessions are grouped and named, the lines' states, the announcements of sessions
// that come, go and change, writes to every session of a program, and the registrations that
// the mixer lets go of.
#include "fw/AnsiText.h"
#include "mixer/endpoint/EndpointFixture.h"
#include "mixer/endpoint/SessionCallbacks.h"
#include "mixer/endpoint/SessionNaming.h"
#include "mixer/frontend/CardLayout.h"

#include <dbt.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kActive = MIXERLINE_LINEF_ACTIVE;
constexpr DWORD kSilent = 0;
constexpr DWORD kGone = MIXERLINE_LINEF_DISCONNECTED;
const GUID kGrouping = {0x6a0c1d2e, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
// No process has this id: ids are multiples of four.
constexpr DWORD kNoSuchProcess = 0x7FFFFFF1;

SFakeSessionSetup Program(const wchar_t* pszSession, const wchar_t* pszInstance, const wchar_t* pszName,
                          AudioSessionState state = AudioSessionStateActive)
{
    SFakeSessionSetup setup;
    setup.strSession = pszSession;
    setup.strInstance = pszInstance;
    setup.strDisplayName = pszName;
    setup.dwProcessId = kNoSuchProcess;
    setup.state = state;
    return setup;
}

// A session without a display name, played by this test program.
SFakeSessionSetup Unnamed(const wchar_t* pszSession, const wchar_t* pszInstance)
{
    SFakeSessionSetup setup = Program(pszSession, pszInstance, L"");
    setup.dwProcessId = ::GetCurrentProcessId();
    return setup;
}

struct SExpectedLine {
    std::wstring strName;
    DWORD fdwState;

    bool operator==(const SExpectedLine&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SExpectedLine& line)
{
    return out << '"' << ToAnsi(line.strName) << "\" 0x" << std::hex << line.fdwState;
}

// On the fixture's single-threaded apartment the fake's rule for new sessions holds the mixer to
// its own apartment for them.
class EndpointSessionsTest : public EndpointFixture {
protected:
    EndpointSessionsTest()
    {
        SFakeEndpointSetup speakers;
        speakers.strId = L"r";
        speakers.strName = L"Speakers";
        speakers.strAdapter = L"HDA";
        m_audio.Add(speakers);
        m_audio.SetDefault(eRender, L"r");
    }

    CFakeSessionManager& Sessions() { return m_audio.Sessions(L"r"); }

    // The mixer goes, and the handle that the lines are read through with it.
    void Reset()
    {
        m_pMixer.reset();
        m_hLines = nullptr;
    }

    // Programs are heard while a handle of their card is open: the lines are read through one.
    HMIXEROBJ LinesObject()
    {
        if (m_hLines == nullptr)
            m_hLines = Open(0, m_linesWindow);
        return reinterpret_cast<HMIXEROBJ>(m_hLines);
    }

    // The speakers' source lines of card 0, each checked to be an application's line, in the wide
    // records that hold a program's name in Unicode.
    std::vector<MIXERLINEW> SourceLines()
    {
        const HMIXEROBJ hDevice = LinesObject();
        constexpr DWORD fdwHandle = MIXER_OBJECTF_HMIXER;
        MIXERLINEW speakers{};
        speakers.cbStruct = sizeof speakers;
        EXPECT_EQ(Mixer().GetLineInfo(hDevice, &speakers, fdwHandle | MIXER_GETLINEINFOF_DESTINATION),
                  MMSYSERR_NOERROR);
        std::vector<MIXERLINEW> lines(speakers.cConnections);
        for (DWORD s = 0; s < lines.size(); ++s) {
            MIXERLINEW& line = lines[s];
            line.cbStruct = sizeof line;
            line.dwSource = s;
            EXPECT_EQ(Mixer().GetLineInfo(hDevice, &line, fdwHandle | MIXER_GETLINEINFOF_SOURCE),
                      MMSYSERR_NOERROR);
            // The line's id finds it again.
            MIXERLINEW byId{};
            byId.cbStruct = sizeof byId;
            byId.dwLineID = line.dwLineID;
            EXPECT_EQ(Mixer().GetLineInfo(hDevice, &byId, fdwHandle | MIXER_GETLINEINFOF_LINEID),
                      MMSYSERR_NOERROR);
            EXPECT_EQ(byId.dwSource, s);
            EXPECT_EQ(line.dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT));
            EXPECT_EQ(line.dwUser, kApplicationLine);
            EXPECT_EQ(line.cChannels, 1u);
            EXPECT_EQ(line.cControls, 2u);
            EXPECT_NE(line.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
            EXPECT_NE(line.Target.dwDeviceID, 0u);
        }
        return lines;
    }

    // The control of one type on the nLine-th program's line.
    DWORD ControlOf(size_t nLine, DWORD dwControlType)
    {
        MIXERCONTROLW control{};
        MIXERLINECONTROLSW mxlc{};
        mxlc.cbStruct = sizeof mxlc;
        mxlc.dwLineID = SourceLines().at(nLine).dwLineID;
        mxlc.dwControlType = dwControlType;
        mxlc.cControls = 1;
        mxlc.cbmxctrl = sizeof control;
        mxlc.pamxctrl = &control;
        EXPECT_EQ(Mixer().GetLineControls(LinesObject(), &mxlc,
                                          MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
                  MMSYSERR_NOERROR);
        return control.dwControlID;
    }

    // A notice as the mixer sends it: of the nLine-th program's line, or of its control of a type.
    std::pair<UINT, DWORD> Notice(UINT uMsg, size_t nLine, DWORD dwControlType = 0)
    {
        return {uMsg, uMsg == MM_MIXM_LINE_CHANGE ? SourceLines().at(nLine).dwLineID
                                                  : ControlOf(nLine, dwControlType)};
    }

    std::vector<SExpectedLine> Lines()
    {
        std::vector<SExpectedLine> lines;
        for (const MIXERLINEW& line : SourceLines())
            lines.push_back({line.szName, line.fdwLine & ~MIXERLINE_LINEF_SOURCE});
        return lines;
    }

    MMRESULT Transfer(HMIXER hMixer, DWORD dwControlID, DWORD& dwValue, bool bWrite)
    {
        std::vector<DWORD> values{dwValue};
        const MMRESULT mmr = EndpointFixture::Transfer(reinterpret_cast<HMIXEROBJ>(hMixer),
                                                       MIXER_OBJECTF_HMIXER, dwControlID, values, bWrite);
        dwValue = values[0];
        return mmr;
    }

    const CNotifyWindow m_linesWindow;
    HMIXER m_hLines = nullptr;
};

// The mixer messages waiting for a window, as (message, parameter), taken off its queue.
std::vector<std::pair<UINT, DWORD>> TakeMixerMessages(HWND hWnd)
{
    std::vector<std::pair<UINT, DWORD>> messages;
    for (const MSG& msg : TakeMessages(hWnd, MM_MIXM_LINE_CHANGE, MM_MIXM_CONTROL_CHANGE))
        messages.emplace_back(msg.message, static_cast<DWORD>(msg.lParam));
    return messages;
}

size_t TakeDeviceChanges(HWND hWnd)
{
    const std::vector<MSG> changes = TakeMessages(hWnd, WM_DEVICECHANGE, WM_DEVICECHANGE);
    return static_cast<size_t>(std::count_if(
        changes.begin(), changes.end(), [](const MSG& msg) { return msg.wParam == DBT_DEVNODES_CHANGED; }));
}

// A notice to expect: of a program's line (its place among the lines), or of its control of a type.
struct SNotice {
    UINT uMsg;
    size_t nLine;
    DWORD dwControlType;
};

SNotice LineChange(size_t nLine)
{
    return {MM_MIXM_LINE_CHANGE, nLine, 0};
}

SNotice ControlChange(size_t nLine, DWORD dwControlType)
{
    return {MM_MIXM_CONTROL_CHANGE, nLine, dwControlType};
}

TEST(SessionNameTest, TheVolumeMixersOrderOfNames)
{
    const struct {
        SSessionNameFacts facts;
        const wchar_t* pszExpected;
    } cases[] = {
        {{L"Groove Music", L"", false, L"C:\\Apps\\Music.exe", L"Media Player"}, L"Groove Music"},
        {{L"@%SystemRoot%\\System32\\AudioSrv.Dll,-202", L"Systemsounds", true, L"", L""}, L"Systemsounds"},
        {{L"@%SystemRoot%\\System32\\AudioSrv.Dll,-202", L"", true, L"", L""}, L"System Sounds"},
        {{L"@C:\\Apps\\gone.dll,-1", L"", false, L"C:\\Apps\\Player.exe", L"Best Player"}, L"Best Player"},
        {{L"", L"", false, L"C:\\Program Files\\Mozilla Firefox\\firefox.exe", L"Firefox"}, L"Firefox"},
        {{L"", L"", false, L"C:\\Games\\DOOM.EXE", L""}, L"DOOM"},
        {{L"", L"", false, L"C:\\Tools\\player", L""}, L"player"},
        {{L"", L"", false, L"", L""}, L"Name Not Available"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SessionName(c.facts), c.pszExpected);
}

TEST_F(EndpointSessionsTest, ProgramsAreGroupedAndNamedAsWindowsVolumeMixerShowsThem)
{
    SFakeSessionSetup systemSounds = Program(L"sys", L"sys/1", L"@%SystemRoot%\\System32\\AudioSrv.Dll,-202");
    systemSounds.bSystemSounds = true;
    systemSounds.dwProcessId = 0;
    SFakeSessionSetup acrossProcesses = Unnamed(L"shared", L"shared/1");
    acrossProcesses.bCrossProcess = true;
    SFakeSessionSetup unresolvable = Unnamed(L"ind", L"ind/1");
    unresolvable.strDisplayName = L"@C:\\Apps\\gone.dll,-7";
    SFakeSessionSetup grouped1 = Program(L"call", L"call/1", L"Call");
    SFakeSessionSetup grouped2 = Program(L"call-helper", L"helper/1", L"Call Helper");
    grouped1.grouping = grouped2.grouping = kGrouping;
    std::vector<SFakeSessionSetup> fifty;
    std::vector<SExpectedLine> fiftyLines;
    for (int n = 0; n < 50; ++n) {
        const std::wstring strId = L"p" + std::to_wstring(n);
        fifty.push_back(Program(strId.c_str(), (strId + L"/1").c_str(), (L"Program " + strId).c_str()));
        fiftyLines.push_back({L"Program p" + std::to_wstring(n), kActive});
    }

    const struct {
        const char* pszCase;
        std::vector<SFakeSessionSetup> sessions;
        std::vector<SExpectedLine> expected;
    } cases[] = {
        {"no program plays", {}, {}},
        {"a browser's three processes are one program, named after its file",
         {Unnamed(L"web", L"web/1"), Unnamed(L"web", L"web/2"), Unnamed(L"web", L"web/3")},
         {{L"endpoint_mixer_tests", kActive}}},
        {"the system sounds, whose indirect name Wine cannot resolve",
         {systemSounds},
         {{L"System Sounds", kActive}}},
        {"a process that cannot be opened", {Program(L"x", L"x/1", L"")}, {{L"Name Not Available", kActive}}},
        {"a session across processes is named after the process that made it",
         {acrossProcesses},
         {{L"endpoint_mixer_tests", kActive}}},
        {"an indirect name that cannot be resolved gives way to the program's",
         {unresolvable},
         {{L"endpoint_mixer_tests", kActive}}},
        {"two programs with one name stay two",
         {Program(L"a", L"a/1", L"Player"), Program(L"b", L"b/1", L"Player")},
         {{L"Player", kActive}, {L"Player", kActive}}},
        {"a grouping parameter joins two programs", {grouped1, grouped2}, {{L"Call", kActive}}},
        {"one program's first session names it; one playing session makes it play",
         {Program(L"m", L"m/1", L"Music", AudioSessionStateInactive), Program(L"m", L"m/2", L"Other")},
         {{L"Music", kActive}}},
        {"a paused program is listed silent, an expired one not at all",
         {Program(L"m", L"m/1", L"Music", AudioSessionStateInactive),
          Program(L"old", L"old/1", L"Old", AudioSessionStateExpired)},
         {{L"Music", kSilent}}},
        {"fifty programs", fifty, fiftyLines},
        {"a name in Japanese with an emoji comes whole",
         {Program(L"jp", L"jp/1", L"\u97f3\u697d \U0001F3B5")},
         {{L"\u97f3\u697d \U0001F3B5", kActive}}},
        {"a long name is cut to 62 characters and an ellipsis",
         {Program(L"long", L"long/1", std::wstring(300, L'x').c_str())},
         {{std::wstring(62, L'x') + L"\u2026", kActive}}},
        {"a cut never splits a character of two units",
         {Program(L"pair", L"pair/1", (std::wstring(61, L'x') + L"\U0001F3B5 and more").c_str())},
         {{std::wstring(61, L'x') + L"\u2026", kActive}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        Reset();
        m_audio = CFakeCoreAudio();
        SFakeEndpointSetup speakers;
        speakers.strId = L"r";
        m_audio.Add(speakers);
        m_audio.SetDefault(eRender, L"r");
        for (const SFakeSessionSetup& session : c.sessions)
            Sessions().Add(session);
        EXPECT_EQ(Lines(), c.expected);
    }
}

TEST_F(EndpointSessionsTest, ChangesElsewhereAreAnnouncedAndTheLinesFollow)
{
    Sessions().Add(Program(L"player", L"player/1", L"Player"));
    SFakeSessionSetup browser = Program(L"web", L"web/1", L"Browser");
    browser.grouping = kGrouping;
    Sessions().Add(browser);
    browser.strInstance = L"web/2";
    Sessions().Add(browser);
    const CNotifyWindow bar;
    const HMIXER hMixer = Open(0, bar);
    const auto session = [&](const wchar_t* pszInstance) -> CFakeSession& {
        return Sessions().Session(pszInstance);
    };

    const struct {
        const char* pszCase;
        std::function<void()> change;
        SNotice notice;
        size_t nLine;
        SExpectedLine expected;
    } cases[] = {
        {"a program starts playing",
         [&] { Sessions().Play(Program(L"chat", L"chat/1", L"Chat")); },
         LineChange(2),
         2,
         {L"Chat", kActive}},
        {"the player pauses",
         [&] { session(L"player/1").SetStateElsewhere(AudioSessionStateInactive); },
         LineChange(0),
         0,
         {L"Player", kSilent}},
        {"the player names itself anew",
         [&] { session(L"player/1").Rename(L"Jukebox"); },
         LineChange(0),
         0,
         {L"Jukebox", kSilent}},
        {"the player's volume",
         [&] { session(L"player/1").SetLevelElsewhere(0.25f); },
         ControlChange(0, MIXERCONTROL_CONTROLTYPE_VOLUME),
         0,
         {L"Jukebox", kSilent}},
        {"the player's mute",
         [&] { session(L"player/1").SetMuteElsewhere(TRUE); },
         ControlChange(0, MIXERCONTROL_CONTROLTYPE_MUTE),
         0,
         {L"Jukebox", kSilent}},
        {"one of the browser's sessions expires",
         [&] { session(L"web/2").Expire(); },
         LineChange(1),
         1,
         {L"Browser", kActive}},
        {"the last one expires", [&] { session(L"web/1").Expire(); }, LineChange(1), 1, {L"Browser", kGone}},
        {"the browser plays again in the expired session, which Windows does not report as new",
         [&] { session(L"web/1").SetStateElsewhere(AudioSessionStateActive); },
         LineChange(1),
         1,
         {L"Browser", kActive}},
        {"the browser plays again under its number",
         [&] { Sessions().Play(Program(L"web", L"web/3", L"Browser")); },
         LineChange(1),
         1,
         {L"Browser", kActive}},
        {"a new stream format ends the chat's session only",
         [&] { session(L"chat/1").Disconnect(DisconnectReasonFormatChanged); },
         LineChange(2),
         2,
         {L"Chat", kGone}},
        {"a call starts",
         [&] { Sessions().Play(Program(L"call", L"call/1", L"Call")); },
         LineChange(3),
         3,
         {L"Call", kActive}},
        {"the call joins the browser's group, and its own line goes",
         [&] { session(L"call/1").SetGroupingElsewhere(kGrouping); },
         LineChange(3),
         3,
         {L"Call", kGone}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        OnOtherThread(c.change);
        const std::vector<std::pair<UINT, DWORD>> messages = TakeMixerMessages(bar.Get());
        EXPECT_EQ(messages, std::vector{Notice(c.notice.uMsg, c.notice.nLine, c.notice.dwControlType)});
        const std::vector<SExpectedLine> lines = Lines();
        ASSERT_GT(lines.size(), c.nLine);
        EXPECT_EQ(lines[c.nLine], c.expected);
        EXPECT_EQ(TakeDeviceChanges(bar.Get()), 0u);
    }
    DWORD dwValue = 0;
    EXPECT_EQ(Transfer(hMixer, ControlOf(0, MIXERCONTROL_CONTROLTYPE_VOLUME), dwValue, false),
              MMSYSERR_NOERROR);
    EXPECT_EQ(dwValue, 0x4000u);
    EXPECT_EQ(Transfer(hMixer, ControlOf(0, MIXERCONTROL_CONTROLTYPE_MUTE), dwValue, false),
              MMSYSERR_NOERROR);
    EXPECT_EQ(dwValue, 1u);
    // A program with no session left can be neither read nor written.
    const DWORD dwChatVolume = ControlOf(2, MIXERCONTROL_CONTROLTYPE_VOLUME);
    EXPECT_EQ(Transfer(hMixer, dwChatVolume, dwValue, false), MMSYSERR_ERROR);
    EXPECT_EQ(Transfer(hMixer, dwChatVolume, dwValue, true), MMSYSERR_ERROR);
    Mixer().Close(hMixer);
}

TEST_F(EndpointSessionsTest, AWriteSetsEveryLiveSessionOfTheProgramAndItsEchoIsSkipped)
{
    for (const wchar_t* pszInstance : {L"web/1", L"web/2", L"web/3"})
        Sessions().Add(Program(L"web", pszInstance, L"Browser"));
    const CNotifyWindow bar;
    const HMIXER hMixer = Open(0, bar);
    // Another copy of the program, with its own mixer, hears only what changes.
    CMixerFrontEnd copy(std::make_unique<CEndpointMixer>(m_audio.Enumerator()));
    const CNotifyWindow copyWindow;
    HMIXER hCopy = nullptr;
    ASSERT_EQ(copy.Open(&hCopy, 0, reinterpret_cast<DWORD_PTR>(copyWindow.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    Lines();
    Sessions().Session(L"web/3").Expire();
    TakeMixerMessages(bar.Get());
    TakeMixerMessages(copyWindow.Get());

    const struct {
        const char* pszCase;
        DWORD dwControlType;
        DWORD dwValue;
        size_t cCopyHears;
    } cases[] = {
        {"half volume", MIXERCONTROL_CONTROLTYPE_VOLUME, 0x8000, 2},
        {"the same again", MIXERCONTROL_CONTROLTYPE_VOLUME, 0x8000, 0},
        {"mute", MIXERCONTROL_CONTROLTYPE_MUTE, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        DWORD dwValue = c.dwValue;
        const DWORD dwControlID = ControlOf(0, c.dwControlType);
        ASSERT_EQ(Transfer(hMixer, dwControlID, dwValue, true), MMSYSERR_NOERROR);
        m_audio.WaitUntilDelivered();
        EXPECT_EQ(TakeMixerMessages(bar.Get()),
                  (std::vector<std::pair<UINT, DWORD>>{{MM_MIXM_CONTROL_CHANGE, dwControlID}}));
        EXPECT_EQ(TakeMixerMessages(copyWindow.Get()).size(), c.cCopyHears);
    }
    for (const wchar_t* pszInstance : {L"web/1", L"web/2"}) {
        EXPECT_NEAR(Sessions().Session(pszInstance).Level(), 0.5f, 1e-4f);
        EXPECT_TRUE(Sessions().Session(pszInstance).Muted());
    }
    EXPECT_EQ(Sessions().Session(L"web/3").WriteCount(), 0u);
    copy.Close(hCopy);
    Mixer().Close(hMixer);
}

TEST_F(EndpointSessionsTest, AProgramHasTheSameIdentityInEveryCopyAndEveryRun)
{
    Sessions().Add(Program(L"player", L"player/1", L"Player"));
    Sessions().Add(Program(L"web", L"web/1", L"Player"));
    const auto identities = [&] {
        std::vector<DWORD> ids;
        for (const MIXERLINEW& line : SourceLines())
            ids.push_back(line.Target.dwDeviceID);
        return ids;
    };
    const std::vector<DWORD> first = identities();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_NE(first[0], first[1]);
    // Another run: the other program is seen first, and the player with another instance.
    Reset();
    m_audio = CFakeCoreAudio();
    SFakeEndpointSetup speakers;
    speakers.strId = L"r";
    m_audio.Add(speakers);
    m_audio.SetDefault(eRender, L"r");
    Sessions().Add(Program(L"web", L"web/7", L"Player"));
    Sessions().Add(Program(L"player", L"player/9", L"Player"));
    EXPECT_EQ(identities(), (std::vector<DWORD>{first[1], first[0]}));
}

TEST_F(EndpointSessionsTest, ADisconnectedSessionEndsItselfOrChangesTheCards)
{
    const struct {
        AudioSessionDisconnectReason reason;
        // The audio service stops with it; otherwise the endpoint stays.
        bool bServiceStops;
        size_t cDeviceChanges;
    } cases[] = {
        {DisconnectReasonDeviceRemoval, false, 0},         {DisconnectReasonServerShutdown, true, 1},
        {DisconnectReasonServerShutdown, false, 0},        {DisconnectReasonFormatChanged, false, 0},
        {DisconnectReasonSessionLogoff, false, 0},         {DisconnectReasonSessionDisconnected, false, 0},
        {DisconnectReasonExclusiveModeOverride, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        SCOPED_TRACE(c.bServiceStops);
        const std::wstring strInstance =
            L"player/" + std::to_wstring(c.reason) + (c.bServiceStops ? L"s" : L"");
        Sessions().Play(Program(L"player", strInstance.c_str(), L"Player"));
        const CNotifyWindow bar;
        const HMIXER hMixer = Open(0, bar);
        ASSERT_EQ(Lines().size(), 1u);
        if (c.bServiceStops)
            m_audio.Fake().StopService();
        OnOtherThread([&] { Sessions().Session(strInstance).Disconnect(c.reason); });
        EXPECT_EQ(TakeDeviceChanges(bar.Get()), c.cDeviceChanges);
        // The session has ended, whether or not the cards changed.
        EXPECT_EQ(Lines().front().fdwState, kGone);
        m_audio.Fake().StartService();
        Mixer().Close(hMixer);
        Reset();
        Sessions().Session(strInstance).Expire();
    }
}

TEST_F(EndpointSessionsTest, ASessionReportedBothByTheListAndAsNewIsOne)
{
    // A first copy has read the list, so Windows reports new sessions to every copy from now on.
    CMixerFrontEnd first(std::make_unique<CEndpointMixer>(m_audio.Enumerator()));
    EXPECT_EQ(first.GetNumDevs(), 1u);
    MIXERCAPSA caps{};
    ASSERT_EQ(first.GetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    const CNotifyWindow firstWindow;
    HMIXER hFirst = nullptr;
    ASSERT_EQ(first.Open(&hFirst, 0, reinterpret_cast<DWORD_PTR>(firstWindow.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    // The program starts while this copy registers and reads the list.
    Sessions().PlayWhenListed(Program(L"player", L"player/1", L"Player"));
    EXPECT_EQ(Lines(), (std::vector<SExpectedLine>{{L"Player", kActive}}));
    m_audio.WaitUntilDelivered();
    EXPECT_EQ(Lines(), (std::vector<SExpectedLine>{{L"Player", kActive}}));
    // This copy listens to it once; the first copy has not looked at its sessions since.
    EXPECT_EQ(Sessions().Session(L"player/1").ClientCount(), 1u);
    first.Close(hFirst);
}

TEST_F(EndpointSessionsTest, WithoutASessionListThereAreNoProgramLines)
{
    // Wine's session manager answers E_NOTIMPL, so Windows' gate never opens.
    Sessions().AnswerEnumerator(E_NOTIMPL);
    Sessions().Add(Program(L"player", L"player/1", L"Player"));
    const CNotifyWindow bar;
    const HMIXER hMixer = Open(0, bar);
    EXPECT_TRUE(Lines().empty());
    Sessions().Play(Program(L"web", L"web/1", L"Browser"));
    EXPECT_TRUE(TakeMixerMessages(bar.Get()).empty());
    EXPECT_TRUE(Lines().empty());
    Mixer().Close(hMixer);
}

TEST_F(EndpointSessionsTest, TheMixerLetsGoOfEverySessionCallbackWhenItGoes)
{
    Sessions().Add(Program(L"player", L"player/1", L"Player"));
    Sessions().Add(Program(L"web", L"web/1", L"Browser"));
    const CNotifyWindow bar;
    Open(0, bar);
    Lines();
    Sessions().Play(Program(L"chat", L"chat/1", L"Chat"));
    RunHandedOver();
    Lines();
    EXPECT_EQ(Sessions().ClientCount(), 1u);
    EXPECT_EQ(Sessions().ListenedCount(), 3u);
    Sessions().Session(L"web/1").Expire();
    RunHandedOver();
    Lines();
    // The browser's expired session is still heard, as the browser may play in it again.
    EXPECT_EQ(Sessions().ListenedCount(), 3u);
    Sessions().Play(Program(L"web", L"web/2", L"Browser"));
    Sessions().Session(L"web/2").Expire();
    RunHandedOver();
    Lines();
    // Of its expired sessions, the last.
    EXPECT_EQ(Sessions().ListenedCount(), 3u);
    Reset();
    EXPECT_EQ(Sessions().ClientCount(), 0u);
    EXPECT_EQ(Sessions().ListenedCount(), 0u);
}

TEST_F(EndpointSessionsTest, ACardWithoutAHandleHoldsNothingOfItsProgramsHoweverLongTheyPlay)
{
    SFakeEndpointSetup headset;
    headset.strId = L"h";
    headset.strName = L"Headset";
    headset.strAdapter = L"USB";
    m_audio.Add(headset);
    CFakeSessionManager& programs = m_audio.Sessions(L"h");
    const CNotifyWindow bar;
    const HMIXER hSpeakers = Open(0, bar);
    const auto headsetLines = [&](HMIXER hHeadset) {
        RunHandedOver();
        MIXERLINEA speakers{};
        speakers.cbStruct = sizeof speakers;
        EXPECT_EQ(Mixer().GetLineInfo(reinterpret_cast<HMIXEROBJ>(hHeadset), &speakers,
                                      MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
                  MMSYSERR_NOERROR);
        return speakers.cConnections;
    };

    // A bar of the headset comes for a while: programs start, pause, play and end under it.
    HMIXER hHeadset = nullptr;
    ASSERT_EQ(Mixer().Open(&hHeadset, 1, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    for (int nProgram = 0; nProgram < 20; ++nProgram) {
        const std::wstring strProgram = L"p" + std::to_wstring(nProgram);
        for (int nStream = 0; nStream < 5; ++nStream) {
            const std::wstring strInstance = strProgram + L"/" + std::to_wstring(nStream);
            programs.Play(Program(strProgram.c_str(), strInstance.c_str(), L"Program"));
            EXPECT_EQ(headsetLines(hHeadset), static_cast<DWORD>(nProgram + 1));
            CFakeSession& session = programs.Session(strInstance);
            for (int nToggle = 0; nToggle < 5; ++nToggle) {
                session.SetStateElsewhere(AudioSessionStateInactive);
                session.SetStateElsewhere(AudioSessionStateActive);
            }
            session.Expire();
        }
        EXPECT_EQ(headsetLines(hHeadset), static_cast<DWORD>(nProgram + 1));
    }
    ASSERT_EQ(Mixer().Close(hHeadset), MMSYSERR_NOERROR);
    RunHandedOver();
    EXPECT_EQ(programs.ClientCount(), 0u);
    EXPECT_EQ(programs.ListenedCount(), 0u);
    EXPECT_EQ(programs.HeldCount(), 0u);

    // Then only the menu names the cards, while the headset's programs go on.
    for (int nProgram = 0; nProgram < 20; ++nProgram) {
        const std::wstring strInstance = L"late" + std::to_wstring(nProgram) + L"/1";
        programs.Play(Program(strInstance.c_str(), strInstance.c_str(), L"Late"));
        for (int nToggle = 0; nToggle < 25; ++nToggle) {
            MIXERCAPSA caps{};
            EXPECT_EQ(Mixer().GetDevCaps(1, &caps, sizeof caps), MMSYSERR_NOERROR);
            programs.Session(strInstance)
                .SetStateElsewhere(nToggle % 2 ? AudioSessionStateActive : AudioSessionStateInactive);
        }
    }
    RunHandedOver();
    EXPECT_EQ(programs.ClientCount(), 0u);
    EXPECT_EQ(programs.ListenedCount(), 0u);
    EXPECT_EQ(programs.HeldCount(), 0u);
    Mixer().Close(hSpeakers);

    // An event with no handover window to go to is let go of at once, not posted to the thread
    // of the callback, which would never take it in.
    SSessionEvent event;
    event.pControl = CComPtr<IAudioSessionControl2>::Share(&programs.Session(L"late0/1"));
    CSessionInbox::HandOver(nullptr, {}, std::move(event));
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(programs.HeldCount(), 0u);
}

} // namespace
