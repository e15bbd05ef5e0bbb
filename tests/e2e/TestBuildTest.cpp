// The test build of the program: copies started on one simulated card set take value changes
// from a test driver, as if another program had made them, and log every change.
#include "BarProcess.h"
#include "CopyTest.h"
#include "XInput.h"
#include "BarScreen.h"
#include "support/ProcessWindows.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

using TestBuildTest = CCopyTestOn<kSampleCard>;

TEST_F(TestBuildTest, EveryRunningCopyTakesADriversChangeAndLogsIt)
{
    CBarProcess first;
    CBarProcess second("v0");
    ASSERT_NE(nullptr, first.BarWindow());
    ASSERT_NE(nullptr, second.BarWindow());

    EXPECT_EQ(2, SimDriverSetValues(m_strSession, 0, 1, {0x4000, 0x4000}));
    // A change the card cannot take (above the control's maximum) is refused by every copy.
    EXPECT_EQ(0, SimDriverSetValues(m_strSession, 0, 2, {7}));
    // Copies on another card set do not hear it.
    EXPECT_EQ(0, SimDriverSetValues(m_strSession + ".other", 0, 1, {0, 0}));

    ASSERT_TRUE(first.Close());
    ASSERT_TRUE(second.Close());
    const std::string strLog = ReadFile(m_strLog);
    size_t nDriverLines = 0;
    std::istringstream lines(strLog);
    for (std::string strLine; std::getline(lines, strLine);) {
        if (strLine.rfind("driver ", 0) == 0) {
            ++nDriverLines;
            EXPECT_NE(std::string::npos, strLine.find(" 0 1 16384 16384")) << strLine;
        }
    }
    EXPECT_EQ(2u, nDriverLines) << strLog;
}

// A card file the simulator refuses leaves the copy with no mixer device at all: it says so,
// as on a machine without a sound driver, and runs on until it is closed.
TEST_F(TestBuildTest, ACardFileWithAbsurdCountsIsRefusedAndTheCopyRunsOnWithoutACard)
{
    const struct {
        const char* pszWhat;
        std::string strTopology;
        const char* pszLogged;
    } cases[] = {
        {"item count", std::string(kSampleCard) + "control 9 mux 1 2 0x10000000\n",
         "error line 12: items must be 0 to 256"},
        {"channel count", "card Sim Audio\ndest 0x0 4 0xFFFFFFFF Speakers\n",
         "error line 2: channels must be 1 to 32"},
    };
    for (const auto& c : cases) {
        m_settings.Clear();
        m_strSession = UseSimulatedCards(c.strTopology);
        m_strLog = UseSimulatorLog();
        CBarProcess bar;
        ASSERT_TRUE(bar.Started()) << c.pszWhat;
        // The message box over the bar: a window of the copy that its bar owns.
        HWND hMessage = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hMessage = VisibleWindowOf(bar.ProcessId(), true)) != nullptr; }))
            << c.pszWhat << ": no message box; exit code " << bar.WaitForExit().value_or(STILL_ACTIVE);
        const HWND hBar = ::GetWindow(hMessage, GW_OWNER);
        EXPECT_EQ(c.pszLogged + std::string("\n"), ReadFile(m_strLog)) << c.pszWhat;

        // A click on the box's body gives it the keyboard, as a user would before pressing Enter.
        // The pointer comes from elsewhere: under Wine, xdotool's synchronous move waits about
        // 15 seconds for motion when the pointer already rests on the target.
        RECT rcMessage{};
        ::GetWindowRect(hMessage, &rcMessage);
        ASSERT_TRUE(XMove(POINT{::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1}));
        ASSERT_TRUE(XClick(POINT{rcMessage.left + 8, rcMessage.bottom - 8})) << c.pszWhat;
        ASSERT_TRUE(XKeys("Return")) << c.pszWhat;
        EXPECT_TRUE(WaitFor([&] { return VisibleWindowOf(bar.ProcessId(), true) == nullptr; })) << c.pszWhat;
        EXPECT_TRUE(::IsWindowVisible(hBar)) << c.pszWhat;
        EXPECT_EQ(1u, m_settings.Read("Instance Count").value_or(0)) << c.pszWhat;
        // A driver's change finds no card to apply to.
        EXPECT_EQ(0, SimDriverSetValues(m_strSession, 0, 1, {0, 0})) << c.pszWhat;

        ASSERT_TRUE(bar.Close()) << c.pszWhat;
        EXPECT_EQ(0u, bar.WaitForExit(0).value_or(STILL_ACTIVE)) << c.pszWhat;
        EXPECT_EQ(0u, m_settings.Read("Instance Count").value_or(1)) << c.pszWhat;
    }
}

} // namespace
