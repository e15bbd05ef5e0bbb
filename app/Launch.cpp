#include "app/Launch.h"

#include "app/InstanceRole.h"

#include <algorithm>

namespace {

// The bars a device change restarts: one per card that the menu can offer.
constexpr UINT kMaxRestartedBars = 3;

} // namespace

std::wstring ThisProgramPath()
{
    std::wstring wstrPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD cch = ::GetModuleFileNameW(nullptr, wstrPath.data(), static_cast<DWORD>(wstrPath.size()));
        if (cch == 0)
            return {};
        // A full buffer means the path may have been cut: try again with more room.
        if (cch < wstrPath.size()) {
            wstrPath.resize(cch);
            return wstrPath;
        }
        wstrPath.resize(wstrPath.size() * 2);
    }
}

std::wstring LaunchCommandLine(const std::wstring& wstrProgramPath, const std::string& strRoleWord)
{
    std::wstring wstrLine = L"\"" + wstrProgramPath + L"\" ";
    wstrLine.append(strRoleWord.begin(), strRoleWord.end());
    return wstrLine;
}

std::vector<std::string> RoleWordsAfterDeviceChange(UINT nDeviceCount)
{
    std::vector<std::string> vecWords;
    for (UINT nCard = 0; nCard < std::clamp(nDeviceCount, 1u, kMaxRestartedBars); ++nCard)
        vecWords.push_back(MakeRoleWord(FALSE, static_cast<int>(nCard)));
    return vecWords;
}

CScopedKernelHandle LaunchCopy(const std::string& strRoleWord)
{
    const std::wstring wstrProgram = ThisProgramPath();
    if (wstrProgram.empty())
        return {};
    // CreateProcessW may write into the command line, so it gets a copy of its own. Naming the
    // program file as well keeps the platform from searching for it.
    std::wstring wstrCommandLine = LaunchCommandLine(wstrProgram, strRoleWord);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(wstrProgram.c_str(), wstrCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &pi))
        return {};
    const CScopedKernelHandle hThread(pi.hThread);
    return CScopedKernelHandle(pi.hProcess);
}
