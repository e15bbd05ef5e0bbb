// The tray icon as the shell has it: shown under its owner and taken away again, and the record
// of each change the bar makes, which hands the shell the picture, the tip and the message that
// brings the icon's mouse events back to the owner.
#include "bar/TrayIcon.h"
#include "res/resource.h"
#include "support/ShellIcon.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(TrayIconTest, TheShellShowsTheOwnersIconWithThePictureAndTipOfEachChange)
{
    const std::unique_ptr<HWND__, decltype(&::DestroyWindow)> owner(
        ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr),
        &::DestroyWindow);
    const std::string strLongest(63, 'a');
    const std::string strLong(100, 'x');
    // One change after the other on one icon.
    const struct {
        WORD nIconID;
        const char* pszTip;
        std::string expectedTip;
        bool bPicture;
    } changes[] = {
        {IDI_BAR, "Sonobar", "Sonobar", true},
        {IDI_MUTED, strLongest.c_str(), strLongest, true},
        {IDI_BAR, strLong.c_str(), std::string(63, 'x'), true},
        {IDI_MUTED, nullptr, "", true},
        // An icon the program does not have leaves the record without a picture.
        {9999, "Sonobar", "Sonobar", false},
    };
    CTrayIcon icon;
    icon.Prepare(owner.get(), IDI_BAR, IDI_BAR, nullptr);
    icon.Add();
    HICON hBefore = icon.m_nid.hIcon;
    for (const auto& c : changes) {
        SCOPED_TRACE(testing::Message() << "icon " << c.nIconID << ", tip of " << c.expectedTip.size());
        icon.Modify(c.nIconID, c.pszTip);
        EXPECT_TRUE(IconShown(owner.get()));
        const NOTIFYICONDATAA& nid = icon.m_nid;
        EXPECT_EQ(c.expectedTip, nid.szTip);
        EXPECT_EQ(c.bPicture, nid.hIcon != nullptr);
        EXPECT_NE(hBefore, nid.hIcon);
        // The bar handles its icon's mouse messages only when they come back as WM_TRAYNOTIFY.
        EXPECT_EQ(WM_TRAYNOTIFY, nid.uCallbackMessage);
        EXPECT_TRUE(nid.uFlags & NIF_MESSAGE);
        hBefore = nid.hIcon;
    }
    icon.Remove();
    EXPECT_FALSE(IconShown(owner.get()));
}

} // namespace
