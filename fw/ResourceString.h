// Texts of the program's string table, loaded where they are used.
#pragma once

#include <windows.h>

#include <string>

// The string with that id from the program's own module; empty when there is none.
std::string LoadResourceString(UINT nID);
