// What the scripted cards add to the front end: the topology text, a MUX that keeps one item,
// and the test build's driver window and write log. The answers of the mixer functions are the
// contract's (ContractTest.cpp).
#include "mixer/MixerTestSupport.h"
#include "sim/SimDriver.h"
#include "sim/SimMixer.h"

#include <fstream>
#include <sstream>

namespace {
const char kCard[] = R"(
card Sim
dest 0x0 4 2 Speakers
control 1 volume 0xFFFF 32 0 0x8000 0x8000
control 2 mute 1 1 0
dest 0x1 7 2 Recording
control 4 mux 1 2 2 1 0
source 0x10001 0x1003 1 Mic
)";

class SimCardsTest : public SimMixerTest {
protected:
    void SetUp() override
    {
        SimMixerTest::SetUp();
        LoadCards(kCard);
        ASSERT_EQ(mixerOpen(&m_hMixer, 0, reinterpret_cast<DWORD_PTR>(m_window.Get()), 0, CALLBACK_WINDOW),
                  MMSYSERR_NOERROR);
    }

    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(m_hMixer); }

    MMRESULT Write(DWORD dwControlID, DWORD cItems, std::vector<DWORD> values)
    {
        MIXERCONTROLDETAILS mxcd{};
        mxcd.cbStruct = sizeof mxcd;
        mxcd.dwControlID = dwControlID;
        mxcd.cChannels = 1;
        mxcd.cMultipleItems = cItems;
        mxcd.cbDetails = sizeof(DWORD);
        mxcd.paDetails = values.data();
        return mixerSetControlDetails(Object(), &mxcd, MIXER_OBJECTF_HMIXER);
    }

    CNotifyWindow m_window;
    HMIXER m_hMixer = nullptr;
};

TEST_F(SimCardsTest, AMuxKeepsExactlyOneItemSelected)
{
    ASSERT_EQ(Write(4, 2, {0, 1}), MMSYSERR_NOERROR);
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{0, 1}));
    ASSERT_EQ(sim::SetValues(0, 4, {1, 1}), MMSYSERR_NOERROR);
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{1, 0}));
}

TEST(SimTopology, BadTextNamesItsLineAndAddsNothing)
{
    const struct {
        const char* pszText;
        const char* pszError;
    } cases[] = {
        {"dest 0 4 2 Speakers", "line 1: dest before any card"},
        {"card A\nsource 1 0x1003 1 Mic", "line 2: source before any dest"},
        {"card A\ncontrol 1 volume 1 1 0", "line 2: control before any dest or source"},
        {"card A\ndest x 4 2 S", "line 2: expected <lineId> <componentType> <channels> <name>"},
        {"card A\ndest 0 4 2 S\ncontrol 1 fader 1 1 0", "line 3: expected <controlId>"},
        {"card A\ndest 0 4 2 S\ncontrol 1 mute 1 1 0 yes", "line 3: bad value 'yes'"},
        {"card A\nspeaker 0", "line 2: unknown item 'speaker'"},
        {"card A\napp 1 5 Firefox", "line 2: app before any dest"},
        {"card A\ndest 0 4 2 S\napp 1 0 Firefox", "line 3: expected <lineId> <identity other than 0>"},
        {"card A\ndest 0 4 2 S\ndest 0 7 2 R", "A: line id 0 repeats"},
        // Counts beyond the limits, and numbers that do not fit 32 bits or carry a sign.
        {"card A\ndest 0 4 0xFFFFFFFF S", "line 2: channels must be 1 to 32"},
        {"card A\ndest 0 4 0 S", "line 2: channels must be 1 to 32"},
        {"card A\ndest 0 4 2 S\nsource 1 0x1003 33 M", "line 3: channels must be 1 to 32"},
        {"card A\ndest 0 4 2 S\ncontrol 1 mux 1 2 0x10000000", "line 3: items must be 0 to 256"},
        {"card A\ndest 0 4 2 S\ncontrol 1 volume 0xFFFF 32 257", "line 3: items must be 0 to 256"},
        {"card A\ndest 0 4 0x100000002 S", "line 2: expected <lineId>"},
        {"card A\ndest 0 4 -1 S", "line 2: expected <lineId>"},
        {"card A\ndest 0 4 2 S\ncontrol 1 mute 1 1 0 +1", "line 3: bad value '+1'"},
        // Only the UTF-8 mark, and only once at the start.
        {"\xFF\xFE"
         "card A",
         "line 1: "},
        {"\xEF\xBB\xBF\xEF\xBB\xBF"
         "card A",
         "line 1: "},
        {"card A\ndest 0 4 2 S\ncard B\ndest 0 4 2 S\ncontrol 1 mute 1 1 0\ncontrol 1 mute 1 1 0",
         "B: control id 1 repeats"},
    };
    for (const auto& c : cases) {
        sim::Reset();
        std::string strError;
        EXPECT_FALSE(sim::LoadCardsText(c.pszText, &strError)) << c.pszText;
        EXPECT_EQ(strError.rfind(c.pszError, 0), 0u) << strError;
        EXPECT_EQ(mixerGetNumDevs(), 0u) << c.pszText;
    }
}

TEST(SimTopology, CommentsAndHexNumbersAreRead)
{
    sim::Reset();
    ASSERT_TRUE(sim::LoadCardsText("# two cards\ncard  Big Card  # first\n"
                                   "dest 0x10 4 2 Main Out\ncontrol 0x20 0x50030001 0x100 4 0 "
                                   "0x80\ncard Other\n"));
    EXPECT_EQ(mixerGetNumDevs(), 2u);
    MIXERCAPSA caps{};
    ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Big Card");
    EXPECT_EQ(sim::GetValues(0, 0x20), (std::vector<DWORD>{0x80, 0}));
    sim::Reset();
}

TEST(SimTopology, TextAtTheLimitsAndWithAByteOrderMarkLoads)
{
    const struct {
        const char* pszWhat;
        std::string strText;
        DWORD dwControlID;
        size_t cValues;
    } cases[] = {
        {"UTF-8 mark",
         "\xEF\xBB\xBF"
         "card A\ndest 0 4 2 S\ncontrol 1 volume 0xFFFF 32 0 7 7",
         1, 2},
        {"most channels", "card A\ndest 0 4 32 S\ncontrol 1 volume 0xFFFF 32 0", 1, 32},
        {"most items", "card A\ndest 0 7 2 R\ncontrol 1 mux 1 256 256 1", 1, 256},
        {"most items on most channels", "card A\ndest 0 4 32 S\ncontrol 1 volume 0xFFFF 32 256", 1, 32 * 256},
        {"largest number",
         "card A\ndest 0xFFFFFFFF 4 1 S\ncontrol 0xFFFFFFFF volume 0xFFFFFFFF 32 0 "
         "0xFFFFFFFF",
         0xFFFFFFFF, 1},
    };
    for (const auto& c : cases) {
        sim::Reset();
        std::string strError;
        ASSERT_TRUE(sim::LoadCardsText(c.strText, &strError)) << c.pszWhat << ": " << strError;
        EXPECT_EQ(sim::GetValues(0, c.dwControlID).size(), c.cValues) << c.pszWhat;
    }
    MIXERCAPSA caps{};
    sim::Reset();
    ASSERT_TRUE(sim::LoadCardsText(cases[0].strText));
    ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "A");
    sim::Reset();
}

TEST(SimTopology, CardsBuiltInCodeAreHeldToTheSameLimits)
{
    sim::Line huge{0x0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 0xFFFFFFFF, L"Speakers", {sim::Volume(1)}};
    sim::Line many{0x1, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 2, L"Recording", {sim::Mux(2, {1})}};
    many.controls[0].cMultipleItems = 0x10000000;
    const struct {
        sim::Line line;
        const char* pszError;
    } cases[] = {
        {huge, "C: line id 0: channels must be 1 to 32"},
        {many, "C: control id 2: items must be 0 to 256"},
    };
    for (const auto& c : cases) {
        sim::Reset();
        std::string strError;
        EXPECT_FALSE(sim::AddCard({L"C", {{c.line, {}}}}, &strError));
        EXPECT_EQ(strError, c.pszError);
        EXPECT_EQ(mixerGetNumDevs(), 0u);
    }
}

std::string WriteTempFile(const std::string& strName, const std::string& strText)
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    const std::string strPath = std::string(szTemp) + strName;
    std::ofstream(strPath, std::ios::binary | std::ios::trunc) << strText;
    return strPath;
}

TEST(SimTopology, FilesAreReadAsTheyAreWrittenAndRefusedWhenTooLarge)
{
    const std::string strCard = "\xEF\xBB\xBF"
                                "card Windows Card\r\ndest 0 4 2 Speakers\r\n";
    const std::string strLargest = strCard + std::string(sim::kMaxTopologyBytes - strCard.size(), '#');
    const struct {
        const char* pszWhat;
        std::string strText;
        const char* pszError;
    } cases[] = {
        {"a mark and CRLF line ends", strCard, nullptr},
        {"a file of the largest size", strLargest, nullptr},
        {"one byte more", strLargest + "#", "is larger than 1048576 bytes"},
        {"an absurd item count", strCard + "control 1 mux 1 2 0x10000000\r\n",
         "line 3: items must be 0 to 256"},
        // A NUL byte would cut the reason short where it is logged.
        {"a NUL byte", strCard + std::string("control 1 mute 1 1 0\0\r\n", 23), "line 3: a NUL byte"},
    };
    for (const auto& c : cases) {
        sim::Reset();
        const std::string strPath = WriteTempFile("sim-topology-test.txt", c.strText);
        std::string strError;
        const bool bLoaded = sim::LoadCardsFile(strPath, &strError);
        DeleteFileA(strPath.c_str());
        if (c.pszError == nullptr) {
            ASSERT_TRUE(bLoaded) << c.pszWhat << ": " << strError;
            MIXERCAPSA caps{};
            ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
            EXPECT_STREQ(caps.szPname, "Windows Card") << c.pszWhat;
        }
        else {
            EXPECT_FALSE(bLoaded) << c.pszWhat;
            EXPECT_NE(strError.find(c.pszError), std::string::npos) << c.pszWhat << ": " << strError;
            EXPECT_EQ(mixerGetNumDevs(), 0u) << c.pszWhat;
        }
    }
    sim::Reset();
}

std::vector<std::string> ReadLines(const std::string& strPath)
{
    std::ifstream file(strPath);
    std::vector<std::string> lines;
    for (std::string strLine; std::getline(file, strLine);)
        lines.push_back(strLine);
    return lines;
}

TEST_F(SimCardsTest, TheDriverWindowTakesChangesAndEveryWriteIsLogged)
{
    const std::string strPid = std::to_string(GetCurrentProcessId());
    const std::string strSession = "mixer-test-" + strPid;
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    const std::string strLog = std::string(szTemp) + strSession + ".log";
    DeleteFileA(strLog.c_str());
    sim::SetLogFile(strLog);
    ASSERT_NE(sim::CreateDriverWindow(strSession), nullptr);
    m_window.TakeNotifications();

    EXPECT_EQ(SimDriverSetValues(strSession, 0, 1, {0x100, 0x200}), 1);
    EXPECT_EQ(sim::GetValues(0, 1), (std::vector<DWORD>{0x100, 0x200}));
    const auto messages = m_window.TakeNotifications();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, reinterpret_cast<WPARAM>(m_hMixer));
    EXPECT_EQ(messages[0].lParam, 1);

    // Changes that cannot apply are refused without a notification.
    EXPECT_EQ(SimDriverSetValues(strSession, 0, 1, {0x100}), 0);
    EXPECT_EQ(SimDriverSetValues(strSession, 0, 99, {0}), 0);
    EXPECT_EQ(SimDriverSetValues("another-session", 0, 1, {1, 1}), 0);
    EXPECT_TRUE(m_window.TakeNotifications().empty());

    ASSERT_EQ(Write(2, 0, {1}), MMSYSERR_NOERROR);
    sim::SetLogFile("");
    EXPECT_EQ(ReadLines(strLog), (std::vector<std::string>{"driver " + strPid + " 0 1 256 512",
                                                           "program " + strPid + " 0 2 1"}));
    DeleteFileA(strLog.c_str());
}
} // namespace
