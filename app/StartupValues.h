// The values that start-up finds out once per copy and the bar's initialisation reads: the
// command tail and the role it gives, whether this copy is the first, and this copy's bar.
#pragma once

#include "app/InstanceRole.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

extern std::string g_strCmdLine; // the command tail, empty when there is none
extern int g_bRoleGiven;         // 1 when g_strCmdLine is one of the six role words
extern int g_bFirstInstance;     // 1 when no bar window existed at start-up
extern HWND g_hBarWnd;           // this copy's bar, set by the bar's initialisation

// Takes the command tail from the whole command line and parses it, once: sets g_strCmdLine and
// g_bRoleGiven and keeps the role for GivenRole.
void TakeCommandLine(std::string_view commandLine);

// The role of the command tail, or nothing when the tail is not a role word.
std::optional<SInstanceRole> GivenRole();
