// A test of real copies of the test build on simulated cards: the shared settings cleared before
// and after, the cards' file (which also names the copies' session for drivers) and the log of
// the copies' writes.
//
//   class SoakTest : public CCopyTest {
//   protected:
//       SoakTest() : CCopyTest(kSampleCard) {}
//   };
#pragma once

#include "BarProcess.h"

#include <gtest/gtest.h>

#include <string>

class CCopyTest : public ::testing::Test {
protected:
    explicit CCopyTest(const char* pszCards) : m_pszCards(pszCards) {}

    void SetUp() override
    {
        m_settings.Clear();
        m_strSession = UseSimulatedCards(m_pszCards);
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

private:
    const char* m_pszCards;
};
