// The input path of the end-to-end tests: what xdotool does on the X side reaches the Windows
// side, and a screenshot shows what Windows drew.
#include "XInput.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(XInputTest, PointerMovesAndScreenshotsAreWritten)
{
    for (const POINT pt : {POINT{40, 30}, POINT{300, 200}}) {
        ASSERT_TRUE(XMove(pt));
        POINT ptSeen{};
        ::GetCursorPos(&ptSeen);
        EXPECT_EQ(ptSeen.x, pt.x);
        EXPECT_EQ(ptSeen.y, pt.y);
    }

    char szDir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szDir);
    const std::string strPath = std::string(szDir) + "sonobar-xinput.png";
    ::DeleteFileA(strPath.c_str());
    ASSERT_TRUE(XScreenshot(RECT{0, 0, 32, 16}, strPath));
    std::ifstream png(strPath, std::ios::binary);
    char signature[4] = {};
    png.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}
