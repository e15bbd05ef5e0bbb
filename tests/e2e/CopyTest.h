// A test of real copies of the test build on simulated cards: the shared settings cleared before
// and after, the cards' file (which also names the copies' session for drivers) and the log of
// the copies' writes. A test may load other cards with UseSimulatedCards before it starts copies.
//
//   using SoakTest = CCopyTestOn<kSampleCard>;
#pragma once

#include "BarProcess.h"

#include <gtest/gtest.h>

#include <string>

class CCopyTest : public ::testing::Test {
protected:
    explicit CCopyTest(std::string strCards) : m_strCards(std::move(strCards)) {}

    void SetUp() override
    {
        m_settings.Clear();
        m_strSession = UseSimulatedCards(m_strCards);
        m_strLog = UseSimulatorLog();
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("SONOBAR_SIM_LOG", nullptr);
        m_settings.Clear();
    }

    // A shared setting; 0xDEADBEEF when it is not there.
    DWORD Setting(const char* pszName) const { return m_settings.Read(pszName).value_or(0xDEADBEEF); }

    CSharedSettings m_settings;
    std::string m_strSession;
    std::string m_strLog;

private:
    std::string m_strCards;
};

// The fixture of tests whose copies all start on one card set.
template <const char* pszCards>
class CCopyTestOn : public CCopyTest {
protected:
    CCopyTestOn() : CCopyTest(pszCards) {}
};
