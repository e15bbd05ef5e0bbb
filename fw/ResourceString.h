// Texts of the program's string table, loaded where they are used.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The string with that id from the program's own module; empty when there is none.
std::string LoadResourceString(UINT nID);

// A text of the program's code page (the ANSI one) in Unicode, for the wide functions.
std::wstring Widen(std::string_view text);
// A Unicode text in the program's code page; a character that it lacks becomes "?".
std::string Narrow(std::wstring_view text);
