// The bar created in the test process against simulated cards, with the settings it starts from
// and the messages it is driven by.
#pragma once

#include "bar/BarDlg.h"
#include "fw/WinApp.h"
#include "support/ShellIcon.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class BarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the cards (topology text) that the next bar finds.
    void UseCards(const std::string& strTopology);
    // A setting that the next bar reads. A running bar ends first: its shutdown would write
    // over the setting.
    void Store(const char* pszName, int nValue);
    // A fresh bar (this one, when given), initialised from the settings and the cards; ends the
    // previous one.
    CBarDlg& StartBar(std::unique_ptr<CBarDlg> pBar = nullptr);
    void EndBar();

    // Handles every message waiting in this thread's queue: the mixer's notifications among them.
    static void Pump();
    // Writes to any control of the simulated cards so far.
    static unsigned Writes();
    // A trackbar notification as the slider sends it, and a click of the mute button.
    void Scroll(UINT nCode, int nPos = 0);
    void ClickMute();
    // The tooltip text of a control of the bar.
    std::string TipOf(HWND hTool) const { return m_pBar->m_toolTip.GetText(hTool); }

    // Notes the role word of a copy that a bar would start into m_vecStarted, and starts none:
    // the program here is the test itself.
    CRunningCopies::CCopyStarter RecordStarts()
    {
        return [this](const std::string& strRoleWord) {
            m_vecStarted.push_back(strRoleWord);
            return CScopedKernelHandle();
        };
    }

    CWinApp m_app;
    std::vector<std::string> m_vecStarted;
    CRunningCopies m_copies{RecordStarts()};
    std::unique_ptr<CBarDlg> m_pBar;
};

// Runs an action that may open a popup menu or a message box of this thread; a timer finds
// either while it is up and closes it. Where the menu stood, when one opened.
std::optional<RECT> MenuOpenedBy(const std::function<void()>& action);
