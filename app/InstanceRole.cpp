#include "app/InstanceRole.h"

namespace {

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string CommandTail(std::string_view commandLine)
{
    size_t pos = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const size_t closing = commandLine.find('"', 1);
        pos = closing == std::string_view::npos ? commandLine.size() : closing + 1;
    }
    else {
        while (pos < commandLine.size() && !IsBlankOrControl(commandLine[pos]))
            ++pos;
    }
    while (pos < commandLine.size() && IsBlankOrControl(commandLine[pos]))
        ++pos;
    return std::string(commandLine.substr(pos));
}

std::optional<SInstanceRole> ParseRoleWord(std::string_view tail)
{
    if (tail.size() != 2 || (tail[0] != 'v' && tail[0] != 'r') || tail[1] < '0' || tail[1] > '2')
        return std::nullopt;
    return SInstanceRole{tail[0] == 'r' ? TRUE : FALSE, tail[1] - '0'};
}

std::string MakeRoleWord(BOOL bInput, int nCardIndex)
{
    return (bInput ? "r" : "v") + std::to_string(nCardIndex);
}
