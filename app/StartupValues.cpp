#include "app/StartupValues.h"

std::string g_strCmdLine;
int g_bRoleGiven = 0;
int g_bFirstInstance = 0;
HWND g_hBarWnd = nullptr;

namespace {

std::optional<SInstanceRole> g_role;

} // namespace

void TakeCommandLine(std::string_view commandLine)
{
    g_strCmdLine = CommandTail(commandLine);
    g_role = ParseRoleWord(g_strCmdLine);
    g_bRoleGiven = g_role ? 1 : 0;
}

std::optional<SInstanceRole> GivenRole()
{
    return g_role;
}
