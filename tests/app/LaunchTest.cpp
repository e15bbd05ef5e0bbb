// What a further copy is started with: its command line gives back exactly the role word as the
// tail, whatever the program's path; and which bars a change of the sound hardware brings back.
#include "app/InstanceRole.h"
#include "app/Launch.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchTest, CommandLineQuotesThePathAndItsTailIsTheRoleWord)
{
    const struct {
        const wchar_t* pszPath;
        const char* pszRoleWord;
        const wchar_t* pszCommandLine;
    } cases[] = {
        {L"C:\\sonobar.exe", "v0", L"\"C:\\sonobar.exe\" v0"},
        {L"C:\\Program Files\\Sonobar\\sonobar.exe", "r1", L"\"C:\\Program Files\\Sonobar\\sonobar.exe\" r1"},
        {L"D:\\tools\\volume bar v2.exe", "v2", L"\"D:\\tools\\volume bar v2.exe\" v2"},
    };
    for (const auto& c : cases) {
        const std::wstring wstrLine = LaunchCommandLine(c.pszPath, c.pszRoleWord);
        EXPECT_EQ(c.pszCommandLine, wstrLine);
        EXPECT_EQ(c.pszRoleWord, CommandTail(std::string(wstrLine.begin(), wstrLine.end())));
    }
}

TEST(LaunchTest, DeviceChangeBringsBackOneOutputBarPerCardUpToThree)
{
    const struct {
        UINT nDevices;
        std::vector<std::string> vecWords;
    } cases[] = {
        {0, {"v0"}}, // one bar says there is no driver, and comes back with the next card
        {1, {"v0"}},
        {2, {"v0", "v1"}},
        {3, {"v0", "v1", "v2"}},
        {4, {"v0", "v1", "v2"}}, // card 2 too, though there are more than three
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.vecWords, RoleWordsAfterDeviceChange(c.nDevices)) << c.nDevices << " devices";
}

} // namespace
