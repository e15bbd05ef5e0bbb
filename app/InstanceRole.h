// What a copy of the program takes from its command line: the command tail, and the role word
// that another copy puts there to say which card and which side the new bar controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The command line without the program name (a quoted name ends at its closing quote, an
// unquoted one at the first blank or control character) and without the blanks and control
// characters that follow the name. Everything after that, trailing blanks included, is kept.
std::string CommandTail(std::string_view commandLine);

struct SInstanceRole {
    BOOL bInput;    // 0 the output (playback) side, 1 the input (recording) side
    int nCardIndex; // mixer device number, 0 to 2
};

// The role of one of the six role words "v0", "v1", "v2", "r0", "r1", "r2" (exact, case
// sensitive); nothing for any other text.
std::optional<SInstanceRole> ParseRoleWord(std::string_view tail);

// The role word that starts a copy for that side and card: "v" or "r" and the card index.
std::string MakeRoleWord(BOOL bInput, int nCardIndex);
