// The test build of the program: copies started on one simulated card set take value changes
// from a test driver, as if another program had made them, and log every change.
#include "BarProcess.h"
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

class TestBuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings.Clear();
        m_strSession = UseSimulatedCards(kSampleCard);
        m_strLog = UseSimulatorLog();
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("SONOBAR_SIM_LOG", nullptr);
        m_settings.Clear();
    }

    CSharedSettings m_settings;
    std::string m_strSession;
    std::string m_strLog;
};

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

} // namespace
