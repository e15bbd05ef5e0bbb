// The record the tray icon hands to the shell.
#include "bar/TrayIcon.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TrayIconTest, PreparedRecordCallsTheOwnerBackAndKeepsAShortTip)
{
    const HWND hWnd = ::GetDesktopWindow();
    const std::string strLongest(63, 'a');
    const struct {
        const char* pszTip;
        std::string expected;
    } cases[] = {
        {"Sonobar", "Sonobar"},
        {nullptr, ""},
        {"", ""},
        {strLongest.c_str(), strLongest},
    };
    for (const auto& c : cases) {
        CTrayIcon icon;
        icon.Prepare(hWnd, IDI_BAR, IDI_BAR, c.pszTip);
        // The bar handles its icon's mouse messages only when they come back as WM_TRAYNOTIFY.
        const NOTIFYICONDATAA& nid = icon.m_nid;
        EXPECT_EQ(hWnd, nid.hWnd);
        EXPECT_EQ(WM_TRAYNOTIFY, nid.uCallbackMessage);
        EXPECT_TRUE(nid.uFlags & NIF_MESSAGE);
        EXPECT_NE(nullptr, nid.hIcon);
        EXPECT_EQ(c.expected, nid.szTip);
    }
}

TEST(TrayIconTest, LongTipIsCutTo63CharactersAndModifyLoadsTheNewPicture)
{
    const std::string strLong(100, 'x');
    CTrayIcon icon;
    icon.Prepare(::GetDesktopWindow(), IDI_BAR, IDI_BAR, strLong.c_str());
    EXPECT_EQ(std::string(63, 'x'), icon.m_nid.szTip);

    const HICON hBefore = icon.m_nid.hIcon;
    icon.Modify(IDI_MUTED, "Sonobar");
    EXPECT_NE(nullptr, icon.m_nid.hIcon);
    EXPECT_NE(hBefore, icon.m_nid.hIcon);
    EXPECT_STREQ("Sonobar", icon.m_nid.szTip);

    // An icon the program does not have leaves the record without a picture.
    icon.Modify(9999, "Sonobar");
    EXPECT_EQ(nullptr, icon.m_nid.hIcon);
}

} // namespace
