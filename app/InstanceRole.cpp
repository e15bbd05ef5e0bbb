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
    if (tail.size() != 2 || tail[1] < '0' || tail[1] > '2')
        return std::nullopt;
    const int nCardIndex = tail[1] - '0';
    if (tail[0] == 'v')
        return SInstanceRole{FALSE, nCardIndex};
    if (tail[0] == 'r')
        return SInstanceRole{TRUE, nCardIndex};
    return std::nullopt;
}

std::string MakeRoleWord(BOOL bInput, int nCardIndex)
{
    std::string strWord(1, bInput ? 'r' : 'v');
    strWord += std::to_string(nCardIndex);
    return strWord;
}
