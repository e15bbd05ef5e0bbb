// The record the tray icon hands to the shell.
#include "bar/TrayIcon.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TrayIconTest, PreparedRecordNamesTheOwnerTheMessageAndAShortTip)
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
        const NOTIFYICONDATAA& nid = icon.Record();
        EXPECT_EQ(88u, nid.cbSize);
        EXPECT_EQ(hWnd, nid.hWnd);
        EXPECT_EQ(static_cast<UINT>(IDI_BAR), nid.uID);
        EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), nid.uFlags);
        EXPECT_EQ(0x8384u, nid.uCallbackMessage);
        EXPECT_NE(nullptr, nid.hIcon);
        EXPECT_EQ(c.expected, nid.szTip);
    }
}

TEST(TrayIconTest, LongTipIsCutTo63CharactersAndModifyLoadsTheNewPicture)
{
    const std::string strLong(100, 'x');
    CTrayIcon icon;
    icon.Prepare(::GetDesktopWindow(), IDI_BAR, IDI_BAR, strLong.c_str());
    EXPECT_EQ(std::string(63, 'x'), icon.Record().szTip);

    const HICON hBefore = icon.Record().hIcon;
    icon.Modify(IDI_MUTED, "Sonobar");
    EXPECT_NE(nullptr, icon.Record().hIcon);
    EXPECT_NE(hBefore, icon.Record().hIcon);
    EXPECT_STREQ("Sonobar", icon.Record().szTip);

    // An icon the program does not have leaves the record without a picture.
    icon.Modify(9999, "Sonobar");
    EXPECT_EQ(nullptr, icon.Record().hIcon);
}

} // namespace
