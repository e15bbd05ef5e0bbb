// Command tails and role words: which starts choose a card and a side.
#include "app/InstanceRole.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandTailTest, DropsTheProgramNameAndTheBlanksAfterIt)
{
    const struct {
        const char* commandLine;
        const char* tail;
    } cases[] = {
        {"sonobar.exe", ""},
        {"sonobar.exe v0", "v0"},
        {"sonobar.exe    v0", "v0"},
        {"sonobar.exe\t\tr1", "r1"},
        {"sonobar.exe v0 ", "v0 "},
        {"C:\\sonobar.exe v1 extra", "v1 extra"},
        {"\"C:\\Program Files\\Sonobar\\sonobar.exe\" r2", "r2"},
        {"\"C:\\Program Files\\Sonobar\\sonobar.exe\"v2", "v2"},
        {"\"C:\\Program Files\\Sonobar\\sonobar.exe\"\t \x01v0", "v0"},
        {"\"C:\\Program Files\\Sonobar\\sonobar.exe", ""},
        {"\"\" v0", "v0"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tail, CommandTail(c.commandLine)) << "command line: " << c.commandLine;
}

TEST(RoleWordTest, OnlyTheSixExactWordsAreRoles)
{
    const struct {
        const char* tail;
        bool bRole;
        BOOL bInput;
        int nCardIndex;
    } cases[] = {
        {"v0", true, FALSE, 0}, {"v1", true, FALSE, 1}, {"v2", true, FALSE, 2}, {"r0", true, TRUE, 0},
        {"r1", true, TRUE, 1},  {"r2", true, TRUE, 2},  {"V0", false, 0, 0},    {"R1", false, 0, 0},
        {"v0 ", false, 0, 0},   {" v0", false, 0, 0},   {"v3", false, 0, 0},    {"r", false, 0, 0},
        {"v", false, 0, 0},     {"x0", false, 0, 0},    {"v00", false, 0, 0},   {"", false, 0, 0},
        {"v-1", false, 0, 0},
    };
    for (const auto& c : cases) {
        const auto role = ParseRoleWord(c.tail);
        ASSERT_EQ(c.bRole, role.has_value()) << "tail: '" << c.tail << "'";
        if (role) {
            EXPECT_EQ(c.bInput, role->bInput) << c.tail;
            EXPECT_EQ(c.nCardIndex, role->nCardIndex) << c.tail;
        }
    }
}

TEST(RoleWordTest, MadeRoleWordsParseBackToTheirSideAndCard)
{
    for (BOOL bInput : {FALSE, TRUE}) {
        for (int nCard = 0; nCard <= 2; ++nCard) {
            const auto role = ParseRoleWord(MakeRoleWord(bInput, nCard));
            ASSERT_TRUE(role.has_value());
            EXPECT_EQ(bInput, role->bInput);
            EXPECT_EQ(nCard, role->nCardIndex);
        }
    }
}

} // namespace
